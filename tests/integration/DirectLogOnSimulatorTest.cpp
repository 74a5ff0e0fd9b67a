// Direct logging through QtSerialPort and a pseudo-terminal against the simulated instrument, at twenty
// times the real pace: the screen's run-speed command sets the instrument to 300 rpm, Run starts it, and
// every line of the data file reads back as the reading the instrument sent, in order.
#include "common/NumberText.h"
#include "common/RotorBobTable.h"
#include "directlog/DirectLogSession.h"
#include "platform/ChartModel.h"
#include "tests/integration/RealTimeScaledClock.h"
#include "tests/integration/SimulatedLine.h"
#include "tests/support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr double kRate = 20.0;

struct Reading {
    qint64 seconds;
    qint64 stress;
    double rpm;
    bool operator==(const Reading &) const = default;
};

// The instrument's messages as it sent them: seconds into the step, stress and speed.
QList<Reading> sentReadings(const QByteArray &stream)
{
    QList<Reading> out;
    for (const QByteArray &m : stream.split(char(26))) {
        const QList<QByteArray> f = m.split(',');
        if (f.size() >= 7)
            out.append({f[1].toLongLong(), f[3].toLongLong(), f[5].toLongLong() / 100.0});
    }
    return out;
}

} // namespace

TEST(DirectLogOnSimulator, RunAt300RpmWritesTheInstrumentsReadings)
{
    TempDir dir;
    SimulatorOptions options;
    options.rate = kRate;
    options.heaterTimeConstant = 0.0;
    options.fluid.kind = FluidModel::Kind::Newtonian;
    options.fluid.viscosityCp = 100.0;
    options.noise = 2.0; // readings that differ from one another
    RealTimeScaledClock clock(kRate);
    SimulatedLine line(options, clock);
    ASSERT_TRUE(line.ok) << line.error.toStdString();
    PtyHost &host = line.host;
    ScriptedPrompts &prompts = line.prompts;
    line.ctx.workDir = dir.path();
    RotorBobTable::select(0, line.state); // R1-B1 chosen on the setup screen
    QByteArray sent;
    QObject::connect(&host, &PtyHost::sent, [&sent](const QByteArray &b) { sent += b; });

    ChartModel chart;
    DirectLogSession session(line.ctx, chart);
    session.load();
    session.startRecording();
    session.run(QStringLiteral("sim.txt"));
    ASSERT_TRUE(session.isRunning()) << prompts.messageTexts().join(" | ").toStdString();
    ASSERT_TRUE(host.simulator().constantSpeedProgram().has_value());
    EXPECT_EQ(host.simulator().constantSpeedProgram()->speedHundredths, 30000);
    EXPECT_EQ(host.simulator().running(), InstrumentSimulator::RunKind::ConstantSpeed);

    session.timer()->stop(); // this loop is the timer, at the simulated pace
    for (int tick = 0; tick < 20; ++tick) {
        clock.wait(1.0, true);
        session.tick();
    }
    session.stop();
    QElapsedTimer settle;
    settle.start();
    while (host.simulator().running() != InstrumentSimulator::RunKind::None && settle.elapsed() < 2000)
        clock.wait(0.1, true);
    EXPECT_EQ(host.simulator().running(), InstrumentSimulator::RunKind::None);
    EXPECT_TRUE(prompts.records.isEmpty()) << prompts.messageTexts().join(" | ").toStdString();

    QFile file(dir.file(QStringLiteral("sim.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.takeLast(), QString()); // every line ends with CR LF
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.takeFirst(), QStringLiteral("Accu_Time(Sec),Clock_Time,S_Stress(dyn/cm2),Speed(Rpm),Visc(cP)"));

    const QRegularExpression form(
        QStringLiteral(R"(^ (\d+) ,(\d\d:\d\d:\d\d), (\d+) , (\d+(?:\.\d+)?) , (\d*\.?\d+) $)"));
    QList<Reading> written;
    for (const QString &fileLine : lines) {
        const QRegularExpressionMatch m = form.match(fileLine);
        ASSERT_TRUE(m.hasMatch()) << fileLine.toStdString();
        const Reading r{m.captured(1).toLongLong(), m.captured(3).toLongLong(), m.captured(4).toDouble()};
        written << r;
        const double viscosity = (r.stress + 0.000001) / ((r.rpm * 100 + 0.001) * 1.7023) * 10000.0;
        EXPECT_NEAR(NumberText::Val(m.captured(5)), viscosity, viscosity * 1e-6) << fileLine.toStdString();
    }
    // Everything the program read was recorded (rate 1), and it is what the instrument sent, in order.
    const QList<Reading> fromInstrument = sentReadings(sent);
    ASSERT_GE(written.size(), 15);
    ASSERT_LE(written.size(), fromInstrument.size());
    EXPECT_EQ(written, fromInstrument.mid(0, written.size()));
    EXPECT_EQ(written.first().seconds, 1);
    for (const Reading &r : written) {
        EXPECT_EQ(r.rpm, 300.0);
        EXPECT_NEAR(double(r.stress), 100.0 * 300 * 1.7023 / 100.0, 10.0);
    }
    EXPECT_EQ(chart.writtenCount(0), written.size());
}
