#pragma once
// The rheology values a drilling-fluid engineer reads off a Fann 35 test, derived from the open test's
// result rows: the last reading of each step, PV/YP pairs from high and low speed readings, and the
// 10-second, 10-minute and 30-minute gels. Rebuilt on each grid load; the detailed export writes it out.
//
// The tables keep the indexing readers rely on: per-step tables are indexed by step number (entry 0 stays
// empty), pair slots and gel groups count from 1. Pair and gel tables hold at least 20 slots and grow when a
// test has more. Dial readings do not depend on the unit system; PV and YP are kept in dial units.
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h uses size_t without including it

#include <vector>

struct DerivedValues {
    static constexpr int MinimumSlots = 20;

    // Reference speeds: a reading within 10 rpm of 600 makes the pairs 600/300, else 300/100.
    bool Has600 = false;
    double HighSpeed = 300;
    double LowSpeed = 100;

    int LastStep = 0;   // step number of the last row
    int LastIndex = -1; // index of the last row, -1 for an empty test

    // Per-step tables, index = step number; a step without rows keeps zeros.
    std::vector<double> LastSpeed, LastDial, LastTime, LastGel;
    std::vector<int> LastRow;

    // PV/YP pairs in slots 1..pairCount (the rest stay 0).
    int pairCount = 0;
    std::vector<int> PairHighStep, PairLowStep;
    std::vector<double> PairHighDial, PairLowDial, PV, YP;

    // Gels in groups 1..gelGroups; each 10-second gel opens a group. Slot 0 takes 10- and 30-minute gels
    // read before any 10-second gel (no reader shows it). Values are dial degrees rounded as the pattern
    // "#0.#####" shows them; a row entry is the result-row index of the 3 rpm reading.
    int gelGroups = 0;
    std::vector<double> Gel10s, Gel10m, Gel30m;
    std::vector<int> Gel10sRow, Gel10mRow, Gel30mRow;

    DerivedValues();

    // Everything above from a test's result rows (LoadResultGrid's derivation): reference speeds, the
    // per-step table, then Get_PVYP and Get_gel. unitSystem tells how the gel column turns back into dial
    // degrees. A test with fewer than two rows gets no per-step table, pairs or gels.
    static DerivedValues fromResults(const ResultTable &rows, int unitSystem);

    // Pair search over the per-step table (falling pairs, then rising pairs three steps ahead at most).
    void Get_PVYP();
    // Gel search over the per-step table: a standing rotor after the high speed and before 3 rpm.
    void Get_gel(int unitSystem);

private:
    void resetPairs();
    void resetGels();
    void buildStepTable(const ResultTable &rows);
    void ensurePairSlot(int k);
    void ensureGelSlot(int c);
};
