#include "store/RelatedInfoEntry.h"

#include "common/ProgramState.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "store/SampleTime.h"

RelatedInfoEntry::RelatedInfoEntry(ProgramState &state, Prompts &prompts, Clock &clock, TestLibrary &library,
                                   const QLocale &locale)
    : state_(state), prompts_(prompts), clock_(clock), library_(library), locale_(locale)
{}

RelatedInfoEntry::Loaded RelatedInfoEntry::load()
{
    Loaded loaded;
    editedTestId_ = 0;
    if (state_.NewTestMode)
        return loaded;
    const std::optional<RelatedInfoRecord> open = library_.find(state_.CurrentTestName);
    if (!open)
        return loaded;
    editedTestId_ = open->testId;
    loaded.fields = {open->testName, open->mudId, open->sampleTimeText, open->companyName, open->desc};
    loaded.nameLocked = true;
    return loaded;
}

bool RelatedInfoEntry::refuse(const QString &text, const QString &title)
{
    prompts_.message(text, title, MsgButtons::Ok);
    return false;
}

bool RelatedInfoEntry::accept(RelatedInfoFields &fields)
{
    state_.RelatedOk = true;
    const QString name = fields.testName.trimmed();
    if (name.isEmpty())
        return refuse(QStringLiteral("Must input a test name."), QStringLiteral("Blank Input Error."));

    if (state_.NewTestMode && library_.isNameTaken(name))
        return refuse(QStringLiteral("Duplicated test name. Please enter a new test name."),
                      QStringLiteral("Test Name Error."));

    QDateTime sampleTime;
    if (fields.sampleTime.trimmed().isEmpty()) {
        const QDateTime now = clock_.currentDateTime();
        sampleTime = QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()));
    } else if (const auto typed = SampleTime::parse(fields.sampleTime, locale_)) {
        sampleTime = *typed;
    } else {
        return refuse(QStringLiteral("The sample time \"%1\" is not a date. Please enter it as yyyy-mm-dd hh:mm, "
                                     "in your usual date format, or leave it blank for the current date and time.")
                          .arg(fields.sampleTime.trimmed()),
                      QStringLiteral("Sample Time Error."));
    }

    RelatedInfoRecord record;
    record.testName = name;
    record.mudId = fields.mudId;
    record.sampleTime = sampleTime;
    record.companyName = fields.companyName;
    record.desc = fields.desc;

    if (state_.NewTestMode) {
        if (record.mudId.trimmed().isEmpty())
            record.mudId = QStringLiteral("N/A");
        const std::optional<int> id = library_.addTest(record);
        if (!id)
            return refuse(QStringLiteral("The test could not be stored: ") + library_.lastError(),
                          QStringLiteral("Database Error"));
        state_.CurrentTestName = name;
        state_.NewTestId = *id;
        state_.NewTestMode = false;
    } else if (editedTestId_ != 0) {
        // The name of a stored test is not changed here.
        if (const auto stored = library_.findById(editedTestId_))
            record.testName = stored->testName;
        if (!library_.updateTest(editedTestId_, record) && !library_.lastError().isEmpty())
            return refuse(QStringLiteral("The related information could not be stored: ") + library_.lastError(),
                          QStringLiteral("Database Error"));
    }
    // else: the open test's row is missing; nothing is stored and the dialog closes as usual.

    fields.testName = record.testName;
    fields.mudId = record.mudId;
    fields.sampleTime = SampleTime::toDisplay(sampleTime);
    state_.CurrentMudId = fields.mudId;
    state_.CurrentSampleTime = fields.sampleTime;
    state_.CurrentCompany = fields.companyName;
    return true;
}

void RelatedInfoEntry::cancel()
{
    state_.RelatedOk = false;
}
