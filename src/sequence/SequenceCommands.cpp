#include "sequence/SequenceCommands.h"

#include "common/NumberText.h"
#include "common/ProgramInfo.h"
#include "platform/Prompts.h"
#include "sequence/StepNumbering.h"

namespace {
const QString kDeleteTitle = QStringLiteral("Delete Confirmation.");
} // namespace

bool SequenceCommands::guarded(const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const SequenceStoreError &e) {
        prompts_.message(QStringLiteral("The sequence database could not be read or changed: ")
                             + QString::fromStdString(e.what()),
                         ProgramInfo::name(), MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
}

std::optional<QString> SequenceCommands::askNewName()
{
    const auto name =
        prompts_.input(QStringLiteral("Please enter the new sequence name"), QStringLiteral("New Sequence Name"));
    if (!name || name->isEmpty())
        return std::nullopt;
    return name;
}

bool SequenceCommands::refuseDuplicate(const QString &name)
{
    bool taken = false;
    if (!guarded([&] { taken = library_.nameTaken(name); }))
        return true;
    if (taken)
        prompts_.message(QStringLiteral("Duplicate test name, please enter unique test name."),
                         QStringLiteral("New Sequence Naming Error"));
    return taken;
}

std::optional<int> SequenceCommands::newSequence(int rotorBob)
{
    const auto name = askNewName();
    if (!name || refuseDuplicate(*name))
        return std::nullopt;
    int id = 0;
    if (!guarded([&] { id = library_.create(*name, rotorBob); }))
        return std::nullopt;
    return id;
}

std::optional<int> SequenceCommands::saveAs(int sourceId, int rotorBob)
{
    const auto name = askNewName();
    if (!name)
        return std::nullopt;
    const auto answer =
        prompts_.input(QStringLiteral("Please enter the new temperature target (°F). Leave entry blank if no change."),
                       QStringLiteral("New Temperature Target"));
    if (!answer)
        return std::nullopt; // cancelling the second question cancels the copy as well
    std::optional<double> temperature;
    if (!answer->trimmed().isEmpty()) {
        const double t = NumberText::Val(*answer);
        if (t <= 20 || t >= 210) {
            prompts_.message(QStringLiteral("Specified new temperature target is invalid. Copy action canceled."),
                             ProgramInfo::name());
            return std::nullopt;
        }
        temperature = t;
    }
    if (refuseDuplicate(*name))
        return std::nullopt;
    int id = 0;
    if (!guarded([&] { id = library_.copy(sourceId, *name, rotorBob, temperature); }))
        return std::nullopt;
    return id;
}

bool SequenceCommands::confirmDelete(const QString &name)
{
    return prompts_.message(QStringLiteral("Do you really want to delete the test named '") + name
                                + QStringLiteral("' ?"),
                            kDeleteTitle, MsgButtons::OkCancel)
        == MsgAnswer::Ok;
}

bool SequenceCommands::deleteSequence(int sequenceId)
{
    return guarded([&] { library_.remove(sequenceId); });
}

bool SequenceCommands::mayInsert(int stepCount)
{
    if (StepNumbering::canInsert(stepCount))
        return true;
    prompts_.message(QStringLiteral("Maximum number of steps is 98."), QStringLiteral("Error: Too many test steps."));
    return false;
}

bool SequenceCommands::insertStep(int sequenceId, int selectedRow, bool after, const StepValues &values)
{
    const int position = StepNumbering::insertPosition(selectedRow, after);
    return guarded([&] { library_.insertStep(sequenceId, position, values); });
}

bool SequenceCommands::editStep(int sequenceId, int stepNo, const StepValues &values)
{
    return guarded([&] { library_.updateStep(sequenceId, stepNo, values); });
}

bool SequenceCommands::pasteSteps(int sequenceId, int stepCount, const CopyPasteChoice &c)
{
    if (!StepNumbering::copyRangeValid(c.from, c.to, stepCount) || c.pasteTo < 1 || c.pasteTo > stepCount)
        return false;
    if (!StepNumbering::pasteFits(stepCount, StepNumbering::rangeLength(c.from, c.to))) {
        prompts_.message(QStringLiteral("Setup steps can not be larger than 98 steps!"),
                         QStringLiteral("Step No input invalid"));
        return false;
    }
    const int position = StepNumbering::pastePosition(c.pasteTo, c.after);
    return guarded([&] { library_.pasteSteps(sequenceId, c.from, c.to, position, c.temperature); });
}

bool SequenceCommands::deleteSteps(int sequenceId, int stepCount, int from, int to)
{
    const QString range = NumberText::Text(from) + QStringLiteral(" to step ") + NumberText::Text(to);
    if (!StepNumbering::deleteRangeValid(from, to, stepCount)) {
        prompts_.message(QStringLiteral("You cannot delete step from step ") + range, ProgramInfo::name());
        return false;
    }
    if (prompts_.message(QStringLiteral("Are you sure you want delete step from 'step ") + range + QStringLiteral("'"),
                         kDeleteTitle, MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return false;
    return guarded([&] { library_.deleteSteps(sequenceId, from, to); });
}
