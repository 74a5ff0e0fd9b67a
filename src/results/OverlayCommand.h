#pragma once
// The "Overlap Charts" command: asks for a stored test and draws it over the open one as one more series
// of the chart type shown, labelled with its name. Widget-free: the selection dialog and the reading of
// the overlaid test's rows come in as two functions, the messages go through Prompts.
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h needs size_t

#include <functional>

struct ProgramState;
class Prompts;
class ResultChartBuilder;

class OverlayCommand {
public:
    struct Hooks {
        // Shows the overlap selection dialog modally; it leaves the chosen name in
        // ProgramState::OverlapTestName. False when the user cancelled.
        std::function<bool()> chooseTest;
        // The overlaid test's result rows (dosqloverlap over OverlapTestName).
        std::function<ResultTable()> overlapRows;
    };

    enum class Outcome {
        NoOpenTest, // told the user to open a test first
        Cancelled,  // the dialog was cancelled: nothing changed
        Refused,    // the open test itself, or no name: nothing changed
        Drawn,      // one more series
    };

    OverlayCommand(ProgramState &state, Prompts &prompts, ResultChartBuilder &builder, Hooks hooks);

    Outcome run();

private:
    ProgramState &state_;
    Prompts &prompts_;
    ResultChartBuilder &builder_;
    Hooks hooks_;
};
