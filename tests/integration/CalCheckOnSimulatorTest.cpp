// A calibration check through QtSerialPort and a pseudo-terminal against the simulated instrument holding a
// Newtonian fluid of 100 cP, at fifty times the real pace on both sides of the line: the check's steps reach
// the instrument, and when its end byte comes every row of the table shows no error.
#include "calcheck/CalibrationSession.h"
#include "tests/integration/RealTimeScaledClock.h"
#include "tests/integration/SimulatedLine.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr double kRate = 50.0; // simulated seconds per real second: the 150-second check in about 3 s

SimulatorOptions newtonian100()
{
    SimulatorOptions o;
    o.rate = kRate;
    o.heaterTimeConstant = 0.0;
    o.fluid.kind = FluidModel::Kind::Newtonian;
    o.fluid.viscosityCp = 100.0;
    return o;
}

} // namespace

TEST(CalCheckOnSimulator, HundredCentipoiseFluidEndsWithNoErrorInAnyRow)
{
    RealTimeScaledClock clock(kRate);
    SimulatedLine line(newtonian100(), clock);
    ASSERT_TRUE(line.ok) << line.error.toStdString();
    ScriptedPrompts &prompts = line.prompts;

    CalibrationSession session(line.ctx);
    session.load();
    session.start(QStringLiteral("100"));
    ASSERT_TRUE(session.isRunning()) << prompts.messageTexts().join(" | ").toStdString();

    // This loop is the window's timer, at the simulated pace.
    session.timer()->stop();
    QElapsedTimer limit;
    limit.start();
    while (session.isRunning() && limit.elapsed() < 20000) {
        clock.wait(1.0, true);
        session.tick();
    }

    EXPECT_FALSE(session.isRunning());
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("Auto Calibration Check is Finished.")});
    EXPECT_EQ(session.statusText(), QStringLiteral("Auto Calibration Check is Finished. "));
    const QList<SimStep> expectedSteps{
        {1, 30, 55, 176, 1}, {2, 30, 55, 352, 1}, {3, 30, 55, 587, 1}, {4, 30, 55, 5874, 1}, {5, 30, 55, 46995, 1}};
    EXPECT_EQ(line.host.simulator().steps(), expectedSteps);
    EXPECT_EQ(line.host.simulator().downloadsRejected(), 0);
    for (const CalibrationRow &row : session.table().rows()) {
        EXPECT_TRUE(row.run) << row.target;
        EXPECT_EQ(row.measured, row.target) << row.target;
        EXPECT_EQ(row.error, QStringLiteral("0.0")) << row.target;
        EXPECT_EQ(row.percentError, QStringLiteral("0.0")) << row.target;
    }
}
