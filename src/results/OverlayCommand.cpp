#include "results/OverlayCommand.h"

#include "common/ProgramState.h"
#include "platform/Prompts.h"
#include "results/ChartTypes.h"
#include "results/ResultChartBuilder.h"

OverlayCommand::OverlayCommand(ProgramState &state, Prompts &prompts, ResultChartBuilder &builder, Hooks hooks)
    : state_(state), prompts_(prompts), builder_(builder), hooks_(std::move(hooks))
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

    const ResultTable rows = hooks_.overlapRows ? hooks_.overlapRows() : ResultTable();
    const ResultChartBuilder::Overlay overlay = builder_.addOverlay(rows);
    if (overlay.overCapacity)
        prompts_.message(ChartTypes::overCapacityMessage(builder_.chartType()), QString(), MsgButtons::Ok);
    ChartModel &model = builder_.model();
    model.setSeriesLabel(0, state_.CurrentTestName);
    model.setSeriesLabel(overlay.series, state_.OverlapTestName);
    return Outcome::Drawn;
}
