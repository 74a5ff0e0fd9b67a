// Which readings are stored, the row they become, the readout texts and the elapsed-time text.
#include "realtime/ElapsedTime.h"
#include "realtime/RealTimeReading.h"
#include "realtime/RealTimeReadouts.h"
#include "realtime/RecordRates.h"
#include "realtime/RecordedPoint.h"
#include "tests/support/QStringPrinting.h"

#include <gtest/gtest.h>

namespace {

using Fields = std::array<qint64, RealTimeReading::FieldCount>;

RealTimeReading reading(Fields f)
{
    RealTimeReading r;
    r.fields = f;
    return r;
}

RunFactors standard(double rateFactor = 1.0)
{
    return {rateFactor, false, 0.0, 0.0};
}
RunFactors custom(double stress, double rate)
{
    return {1.0, true, stress, rate};
}

} // namespace

TEST(RecordRates, RecordingDecision)
{
    RecordRates rates;
    rates.set(1, 10);
    rates.set(2, 1);
    rates.set(150, 5); // step numbers beyond 100 keep their rate
    rates.set(3, 0);   // a rate below 1 stores nothing (and never divides by zero)

    struct Case {
        const char *name;
        Fields f;
        bool stored;
    };
    const Case cases[] = {
        {"rate 10 at 30 s", {1, 30, 77, 250, 12, 30000, 1}, true},
        {"rate 10 at 31 s", {1, 31, 77, 250, 12, 30000, 1}, false},
        {"rate 10 at 10 s", {1, 10, 77, 250, 12, 30000, 6}, true},
        {"rotor-bob code 0", {1, 30, 77, 250, 12, 30000, 0}, false},
        {"rotor-bob code 7", {1, 30, 77, 250, 12, 30000, 7}, false},
        {"rate 1 stores every second", {2, 31, 77, 250, 12, 30000, 1}, true},
        {"step 150 at 15 s", {150, 15, 77, 250, 12, 30000, 1}, true},
        {"step 150 at 16 s", {150, 16, 77, 250, 12, 30000, 1}, false},
        {"step with rate 0", {3, 30, 77, 250, 12, 30000, 1}, false},
        {"step not in the sequence", {4, 30, 77, 250, 12, 30000, 1}, false},
        {"invalid reading (stress 60001)", {1, 30, 77, 60001, 12, 30000, 1}, false},
        {"invalid reading (seconds 0)", {1, 0, 77, 250, 12, 30000, 1}, false},
        {"field beyond 32 bits", {1, 30, 77, 250, 12, 4294967296LL, 1}, false},
        {"seconds beyond 32 bits on the rate", {2, 4294967296LL, 77, 250, 12, 30000, 1}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rates.shouldRecord(reading(c.f)), c.stored) << c.name;

    EXPECT_EQ(rates.rateFor(1), 10);
    EXPECT_EQ(rates.rateFor(3), 0);
    EXPECT_EQ(rates.rateFor(99), 0);
    EXPECT_EQ(rates.rateFor(1LL << 40), 0);
}

TEST(RecordedPoint, StandardAndCustomRows)
{
    struct Case {
        const char *name;
        Fields f;
        RunFactors factors;
        double speed, stress, gel, rb;
    };
    const Case cases[] = {
        {"standard", {1, 30, 77, 250, 12, 30000, 1}, standard(), 300, 250, 12, 1},
        {"standard keeps the code", {2, 40, 80, 100, 7, 15050, 4}, standard(3.185), 150.5, 100, 7, 4},
        {"standing rotor", {1, 30, 77, 0, 0, 0, 1}, standard(), 0.000001, 0, 0, 1},
        {"custom 1.2345 is stored as 1234", {1, 30, 77, 250, 12, 30000, 1}, custom(1.5, 1.2345), 300, 375, 18, 1234},
        {"custom factor read down, never up", {1, 30, 77, 250, 12, 30000, 1}, custom(2.0, 0.9999), 300, 500, 24, 999},
    };
    for (const Case &c : cases) {
        const RecordedPoint p = RecordedPoint::from(reading(c.f), 42, c.factors);
        EXPECT_EQ(p.testId, 42) << c.name;
        EXPECT_EQ(p.stepNo, c.f[0]) << c.name;
        EXPECT_DOUBLE_EQ(p.time, double(c.f[1])) << c.name;
        EXPECT_DOUBLE_EQ(p.temperature, double(c.f[2])) << c.name;
        EXPECT_DOUBLE_EQ(p.speed, c.speed) << c.name;
        EXPECT_DOUBLE_EQ(p.shearStress, c.stress) << c.name;
        EXPECT_DOUBLE_EQ(p.gel, c.gel) << c.name;
        EXPECT_DOUBLE_EQ(p.rbFactor, c.rb) << c.name;
    }
}

TEST(RealTimeReadouts, StandardAndCustomTexts)
{
    struct Case {
        const char *name;
        Fields f;
        RunFactors factors;
        std::array<const char *, 8> texts; // readouts 1..8
        double chartStress, chartViscosity;
    };
    const Case cases[] = {
        {"standard R1-B1",
         {1, 30, 77, 250, 12, 30000, 1},
         standard(),
         {"1", "30", "77", "300", "250", "2.35", "48.92", "48.95"},
         250,
         48.95},
        {"standard R2-B1 divides the viscosity by its rate factor",
         {1, 30, 77, 250, 12, 30000, 2},
         standard(double(3.185f)),
         {"1", "30", "77", "300", "250", "2.35", "48.92", "15.37"},
         250,
         15.37},
        {"standing rotor",
         {2, 5, 100, 9, 0, 0, 1},
         standard(),
         {"2", "5", "100", "0.000001", "9", "0.0", "1.76", "0.0"},
         9,
         0},
        {"custom factors",
         {1, 30, 77, 250, 12, 30000, 1},
         custom(1.5, 1.2345),
         {"1", "30", "77", "300", "375", "3.52", "48.92", "101.26"},
         250.000001 * 1.5,
         101.26},
        {"custom standing rotor",
         {1, 30, 77, 250, 12, 0, 1},
         custom(1.5, 1.2345),
         {"1", "30", "77", "0.000001", "375", "3.52", "48.92", "0.0"},
         250.000001 * 1.5,
         0},
        {"large viscosity keeps its integer digits",
         {1, 30, 77, 12345, 0, 150, 1},
         standard(),
         {"1", "30", "77", "1.5", "12345", "0.0", "2415.85", "483460.33"},
         12345,
         483460.33},
    };
    for (const Case &c : cases) {
        const RealTimeReadouts r = RealTimeReadouts::compute(reading(c.f), c.factors);
        for (int i = 1; i <= 8; ++i)
            EXPECT_EQ(r.texts[size_t(i)], QString::fromLatin1(c.texts[size_t(i - 1)])) << c.name << " readout " << i;
        EXPECT_FLOAT_EQ(float(r.chartStress), float(c.chartStress)) << c.name;
        EXPECT_FLOAT_EQ(float(r.chartViscosity), float(c.chartViscosity)) << c.name;
        EXPECT_FLOAT_EQ(float(r.chartTemperature), float(c.f[2])) << c.name;
        EXPECT_FLOAT_EQ(float(r.chartDial), float(double(c.f[3]) / 5.11)) << c.name;
    }
}

TEST(ElapsedTime, CountOfMessagesAsClockText)
{
    struct Case {
        qint64 count;
        const char *text;
    };
    const Case cases[] = {
        {0, "Elapsed Time: 00:00:00"},    {59, "Elapsed Time: 00:00:59"},    {60, "Elapsed Time: 00:01:00"},
        {3725, "Elapsed Time: 01:02:05"}, {86399, "Elapsed Time: 23:59:59"}, {86400 + 61, "Elapsed Time: 00:01:01"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ElapsedTime::text(c.count), QString::fromLatin1(c.text)) << c.count;
}
