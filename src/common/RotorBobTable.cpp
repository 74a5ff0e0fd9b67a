#include "common/RotorBobTable.h"

#include "common/ProgramState.h"

#include <array>

namespace {

struct Row {
    const char *text;
    float stressFactor;
    float rateFactor;
};

constexpr std::array<Row, RotorBobTable::Count> kRows{{
    {"R1-B1", 1.0f, 1.0f},
    {"R2-B1", 1.0f, 3.185f},
    {"R3-B1", 1.0f, 0.2215f},
    {"R1-B2", 1.973f, 0.2215f},
    {"R1-B5", 1.0f, 0.4995f},
    {"R1-B4", 8.012f, 0.1574f},
}};

} // namespace

QStringList RotorBobTable::texts()
{
    QStringList out;
    for (const Row &r : kRows)
        out << QString::fromLatin1(r.text);
    return out;
}

RotorBobEntry RotorBobTable::atPosition(int position)
{
    if (position < 0 || position >= Count)
        position = 0;
    const Row &r = kRows[static_cast<size_t>(position)];
    return {QString::fromLatin1(r.text), position + 1, r.stressFactor, r.rateFactor};
}

void RotorBobTable::select(int position, ProgramState &state)
{
    const RotorBobEntry e = atPosition(position);
    state.RotorBob = e.code;
    state.StressFactor = e.stressFactor;
    state.RateFactor = e.rateFactor;
    state.InstrumentRotorBob = e.code;
}

int RotorBobTable::instrumentCode(const ProgramState &state)
{
    return isTableCode(state.InstrumentRotorBob) ? state.InstrumentRotorBob : atPosition(0).code;
}
