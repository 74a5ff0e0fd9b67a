#pragma once
// The "Overlap Charts" command: asks for a stored test and draws it over the open one as one more series
// of the chart type shown, labelled with its name. Widget-free: the selection dialog and the reading of
// the overlaid test's rows come in as two functions, the messages go through Prompts.
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h needs size_t

#include <functional>

struct ProgramState;
class LongWork;
class Prompts;
class ResultChartBuilder;
class WorkProgress;

class OverlayCommand {
public:
    struct Hooks {
        // Shows the overlap selection dialog modally; it leaves the chosen name in
        // ProgramState::OverlapTestName. False when the user cancelled.
        std::function<bool()> chooseTest;
        // The overlaid test's result rows (dosqloverlap over the OverlapTestName of the state given, a copy
        // of the program's). Runs as long work, on a worker thread in the program: it must read through a
        // database connection of its own. An exception (the test could not be read) is reported to the
        // user and nothing is overlaid.
        std::function<ResultTable(ProgramState &state, WorkProgress &progress)> overlapRows;
    };

    enum class Outcome {
        NoOpenTest, // told the user to open a test first
        Cancelled,  // the dialog was cancelled: nothing changed
        Refused,    // the open test itself, no name, or a test that could not be read: nothing changed
        Drawn,      // one more series
    };

    // work: runs the reading and sorting of the overlaid test; none runs it at once.
    OverlayCommand(ProgramState &state, Prompts &prompts, ResultChartBuilder &builder, Hooks hooks,
                   LongWork *work = nullptr);

    Outcome run();

private:
    ProgramState &state_;
    Prompts &prompts_;
    ResultChartBuilder &builder_;
    Hooks hooks_;
    LongWork *work_ = nullptr;
};
