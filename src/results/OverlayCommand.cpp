#include "results/OverlayCommand.h"

#include "common/ProgramState.h"
#include "platform/LongWork.h"
#include "platform/Prompts.h"
#include "results/ChartTypes.h"
#include "results/ResultChartBuilder.h"

#include <exception>

OverlayCommand::OverlayCommand(ProgramState &state, Prompts &prompts, ResultChartBuilder &builder, Hooks hooks,
                               LongWork *work)
    : state_(state), prompts_(prompts), builder_(builder), hooks_(std::move(hooks)), work_(work)
{}

OverlayCommand::Outcome OverlayCommand::run()
{
    if (state_.CurrentTestName.isEmpty()) {
        prompts_.message(QStringLiteral("No opened test to overlap onto.  You must open a test first."),
                         QStringLiteral("Operation Error"), MsgButtons::Ok);
        return Outcome::NoOpenTest;
    }
    // A cancelled dialog leaves the name alone; clearing it first keeps a cancel from drawing the test
    // overlaid last time once more.
    state_.OverlapTestName.clear();
    if (!hooks_.chooseTest || !hooks_.chooseTest())
        return Outcome::Cancelled;
    if (state_.OverlapTestName.isEmpty() || state_.OverlapTestName == state_.CurrentTestName)
        return Outcome::Refused;
    if (!builder_.isDrawn())
        return Outcome::Refused;

    // Reading and sorting a long test takes a while: done as long work, with copies of what it needs.
    QList<QPointF> points;
    const int type = builder_.chartType();
    const int capacity = builder_.pointCount();
    ProgramState snapshot = state_;
    try {
        LongWork::orImmediate(work_).run(QStringLiteral("Overlaying test \"%1\"...").arg(state_.OverlapTestName),
                                         LongWork::Stop::NotOffered, [&](WorkProgress &progress) {
                                             const ResultTable rows = hooks_.overlapRows
                                                 ? hooks_.overlapRows(snapshot, progress)
                                                 : ResultTable();
                                             points = ResultChartBuilder::overlayPoints(type, rows, capacity);
                                         });
    } catch (const std::exception &e) {
        prompts_.message(QStringLiteral("The test \"%1\" could not be read, so it is not overlaid.\n%2")
                             .arg(state_.OverlapTestName, QString::fromLocal8Bit(e.what())),
                         QStringLiteral("Database Error"), MsgButtons::Ok, MsgIcon::Critical);
        return Outcome::Refused;
    }
    const ResultChartBuilder::Overlay overlay = builder_.addOverlayPoints(std::move(points));
    if (overlay.overCapacity)
        prompts_.message(ChartTypes::overCapacityMessage(builder_.chartType()), QString(), MsgButtons::Ok);
    ChartModel &model = builder_.model();
    model.setSeriesLabel(0, state_.CurrentTestName);
    model.setSeriesLabel(overlay.series, state_.OverlapTestName);
    return Outcome::Drawn;
}
