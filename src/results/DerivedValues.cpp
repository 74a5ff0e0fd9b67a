#include "results/DerivedValues.h"

#include "common/NumberText.h"
#include "common/ProgramState.h"

#include <cmath>

namespace {

// Step numbers come from the instrument (1..98); a corrupt value must not size the tables absurdly.
constexpr int kMaxStep = 32767;

bool near(double value, double target, double tolerance)
{
    return std::fabs(value - target) < tolerance;
}

template <typename T> void growTo(std::vector<T> &table, int index)
{
    if (static_cast<int>(table.size()) <= index)
        table.resize(static_cast<size_t>(index) + 1);
}

} // namespace

DerivedValues::DerivedValues()
{
    resetPairs();
    resetGels();
}

void DerivedValues::resetPairs()
{
    const size_t slotCount = MinimumSlots + 1;
    pairCount = 0;
    PairHighStep.assign(slotCount, 0);
    PairLowStep.assign(slotCount, 0);
    PairHighDial.assign(slotCount, 0.0);
    PairLowDial.assign(slotCount, 0.0);
    PV.assign(slotCount, 0.0);
    YP.assign(slotCount, 0.0);
}

void DerivedValues::resetGels()
{
    const size_t slotCount = MinimumSlots + 1;
    gelGroups = 0;
    Gel10s.assign(slotCount, 0.0);
    Gel10m.assign(slotCount, 0.0);
    Gel30m.assign(slotCount, 0.0);
    Gel10sRow.assign(slotCount, 0);
    Gel10mRow.assign(slotCount, 0);
    Gel30mRow.assign(slotCount, 0);
}

void DerivedValues::ensurePairSlot(int k)
{
    growTo(PairHighStep, k);
    growTo(PairLowStep, k);
    growTo(PairHighDial, k);
    growTo(PairLowDial, k);
    growTo(PV, k);
    growTo(YP, k);
}

void DerivedValues::ensureGelSlot(int c)
{
    growTo(Gel10s, c);
    growTo(Gel10m, c);
    growTo(Gel30m, c);
    growTo(Gel10sRow, c);
    growTo(Gel10mRow, c);
    growTo(Gel30mRow, c);
}

DerivedValues DerivedValues::fromResults(const ResultTable &rows, int unitSystem)
{
    DerivedValues d;
    if (rows.empty())
        return d;
    for (const ResultRow &row : rows) {
        if (near(row[ResultRow::Speed], 600, 10)) {
            d.Has600 = true;
            break;
        }
    }
    d.HighSpeed = d.Has600 ? 600 : 300;
    d.LowSpeed = d.Has600 ? 300 : 100;
    d.LastStep = static_cast<int>(std::lround(rows.back()[ResultRow::Step]));
    d.LastIndex = static_cast<int>(rows.size()) - 1;
    if (d.LastIndex == 0)
        return d; // a single reading: nothing to pair
    d.buildStepTable(rows);
    d.Get_PVYP();
    d.Get_gel(unitSystem);
    return d;
}

void DerivedValues::buildStepTable(const ResultTable &rows)
{
    const int steps = LastStep < 0 ? 0 : (LastStep > kMaxStep ? kMaxStep : LastStep);
    LastStep = steps;
    const size_t size = static_cast<size_t>(steps) + 1;
    LastSpeed.assign(size, 0.0);
    LastDial.assign(size, 0.0);
    LastTime.assign(size, 0.0);
    LastGel.assign(size, 0.0);
    LastRow.assign(size, 0);

    // One forward pass: rows come in step order, so the cursor never moves back.
    int r = 0;
    for (int s = 1; s <= steps; ++s) {
        while (r <= LastIndex) {
            const ResultRow &row = rows[static_cast<size_t>(r)];
            const long step = std::lround(row[ResultRow::Step]);
            if (step > s)
                break;
            if (step == s) {
                LastSpeed[s] = row[ResultRow::Speed];
                LastDial[s] = row[ResultRow::Fann];
                LastTime[s] = row[ResultRow::Time];
                LastGel[s] = row[ResultRow::Gel];
                LastRow[s] = r;
            }
            ++r;
        }
    }
}

void DerivedValues::Get_PVYP()
{
    resetPairs();
    int k = 1;
    // Looks at the three steps after s for one whose last speed is near `target`.
    auto lookAhead = [&](int s, double target) -> int {
        for (int j = s + 1; j <= s + 3; ++j) {
            if (j > LastStep)
                return 0;
            if (near(LastSpeed[j], target, 10))
                return j;
        }
        return 0;
    };
    for (int s = 1; s <= LastStep - 1; ++s) {
        const bool falling = LastSpeed[s] > LastSpeed[s + 1] && LastSpeed[s + 1] > 0.1;
        int high = 0;
        int low = 0;
        if (falling) {
            if (near(LastSpeed[s], HighSpeed, 10)) {
                high = s;
                low = lookAhead(s, LowSpeed);
            }
        } else if (s > 1 && LastSpeed[s] > 0.1 && LastSpeed[s] < LastSpeed[s + 1]) {
            if (near(LastSpeed[s], LowSpeed, 10)) {
                low = s;
                high = lookAhead(s, HighSpeed);
            }
        }
        // A search that found no partner leaves no half pair behind (a reader would show PV 0 for it).
        if (high == 0 || low == 0)
            continue;
        ensurePairSlot(k);
        PairHighStep[k] = high;
        PairHighDial[k] = LastDial[high];
        PairLowStep[k] = low;
        PairLowDial[k] = LastDial[low];
        ++k;
    }
    pairCount = k - 1;
    for (int i = 1; i <= pairCount; ++i) {
        if (Has600) {
            // PV = theta600 - theta300, YP = theta300 - PV
            PV[i] = PairHighDial[i] - PairLowDial[i];
            YP[i] = PairLowDial[i] - PV[i];
        } else {
            // PV = 1.5 (theta300 - theta100), YP = theta300 - PV
            PV[i] = (PairHighDial[i] - PairLowDial[i]) * 1.5;
            YP[i] = PairHighDial[i] - PV[i];
        }
    }
}

void DerivedValues::Get_gel(int unitSystem)
{
    resetGels();
    const bool si = unitSystem != UnitsEI;
    int c = 1;
    for (int s = 1; s <= LastStep - 1; ++s) {
        if (!(near(LastSpeed[s], 0, 0.1) && near(LastSpeed[s - 1], HighSpeed, 0.5) && near(LastSpeed[s + 1], 3, 0.5)))
            continue;
        const double dial = si ? LastGel[s + 1] / 5.11 : LastGel[s + 1] * 4.788 / 5.11;
        const double g = NumberText::Val(NumberText::Format(dial, QStringLiteral("#0.#####")));
        const int row = LastRow[s + 1];
        const double rest = LastTime[s];
        if (near(rest, 10, 10)) {
            ensureGelSlot(c);
            Gel10s[c] = g;
            Gel10sRow[c] = row;
            ++c;
        } else if (near(rest, 600, 50)) {
            Gel10m[c - 1] = g;
            Gel10mRow[c - 1] = row;
        } else if (near(rest, 1800, 80)) {
            Gel30m[c - 1] = g;
            Gel30mRow[c - 1] = row;
        }
    }
    gelGroups = c - 1;
}
