#pragma once
// Where inserted and pasted steps go and which ranges may be deleted, so that step numbers stay
// contiguous from 1 and a sequence never holds more than 98 steps. The selected step is the table row
// (0 when no step is selected).
class StepNumbering {
public:
    static constexpr int MaxSteps = 98;

    static bool canInsert(int stepCount) { return stepCount < MaxSteps; }
    static bool pasteFits(int stepCount, int copied) { return stepCount + copied <= MaxSteps; }

    // Number the inserted step gets; every step numbered from there on moves up by one.
    static int insertPosition(int selectedRow, bool after)
    {
        if (selectedRow <= 0)
            return 1;
        return after ? selectedRow + 1 : selectedRow;
    }

    // Number the first pasted step gets, next to step `pasteTo`.
    static int pastePosition(int pasteTo, bool after) { return after ? pasteTo + 1 : pasteTo; }

    static int rangeLength(int first, int last) { return last - first + 1; }

    static bool copyRangeValid(int from, int to, int stepCount) { return from >= 1 && to >= from && to <= stepCount; }
    static bool deleteRangeValid(int from, int to, int stepCount) { return from >= 1 && to >= from && to <= stepCount; }
};
