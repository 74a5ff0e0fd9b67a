// The program's sequence download and stand-alone start/stop, through QtSerialPort and a real
// pseudo-terminal, into the simulated instrument. The program's waits run on a virtual clock; only the
// bytes travel for real.
#include "link/SequenceDownload.h"
#include "link/StandAloneTest.h"
#include "store/Database.h"
#include "tests/integration/SimulatedLine.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualClock.h"

#include <QSqlQuery>
#include <QTest>
#include <QVariant>
#include <gtest/gtest.h>

namespace {

constexpr int kPatienceMs = 5000;

class LinkToSimulator : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(line.ok) << line.error.toStdString();
        QObject::connect(&host, &PtyHost::received, [this](const QByteArray &b) { received += b; });
        QString error;
        ASSERT_TRUE(db.open(dir.file(Database::defaultFileName()), &error)) << error.toStdString();
        ctx.database = &db;
        ctx.workDir = dir.path();
    }

    void addSequence(const QString &name, const QList<QList<double>> &steps)
    {
        QSqlQuery q(db.connection());
        ASSERT_TRUE(q.prepare(
            QStringLiteral("INSERT INTO SequenceName (SequenceId, SequenceName, Rbfactor) VALUES (1, ?, 1)")));
        q.addBindValue(name);
        ASSERT_TRUE(q.exec());
        for (const auto &s : steps) {
            ASSERT_TRUE(
                q.prepare(QStringLiteral("INSERT INTO SequenceSetup (SequenceId, StepNo, Time, Temperature, Speed, "
                                         "RecordRate) VALUES (1, ?, ?, ?, ?, 10)")));
            for (double v : s)
                q.addBindValue(v);
            ASSERT_TRUE(q.exec());
        }
    }

    SimulatorOptions options() const
    {
        SimulatorOptions o;
        o.heaterTimeConstant = 0.0;
        return o;
    }

    TempDir dir;
    VirtualClock clock;
    SimulatedLine line{options(), clock};
    PtyHost &host = line.host;
    ProgramState &state = line.state;
    ScriptedPrompts &prompts = line.prompts;
    AppContext &ctx = line.ctx;
    QByteArray received;
    Database db;
    SilentProgress progress;
};

} // namespace

TEST_F(LinkToSimulator, downloadReachesTheInstrumentWithExactlyTheStepsSent)
{
    addSequence(QStringLiteral("Ramp"), {{1, 60, 120, 300}, {2, 7, 80, 0.5}, {3, 600, 212, 600}});
    ASSERT_TRUE(SequenceDownload::send(ctx, QStringLiteral("Ramp"), 3, progress));
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_TRUE(state.SequenceSent);

    ASSERT_TRUE(QTest::qWaitFor([&] { return host.simulator().downloadsReceived() == 1; }, kPatienceMs))
        << "received: " << received.toStdString();
    const QList<SimStep> expected{{1, 60, 120, 30000, 3}, {2, 7, 80, 50, 3}, {3, 600, 212, 60000, 3}};
    EXPECT_EQ(host.simulator().steps(), expected);
    EXPECT_EQ(host.simulator().downloadsRejected(), 0);
    EXPECT_EQ(received,
              QByteArray("\x03"
                         "01,00060,120,30000,311"
                         "02,00007,080,00050,311"
                         "03,00600,212,60000,311"
                         "99"));
}

TEST_F(LinkToSimulator, standAloneStartAndStopBytesArrive)
{
    addSequence(QStringLiteral("Hold"), {{1, 600, 120, 300}});
    ASSERT_TRUE(SequenceDownload::send(ctx, QStringLiteral("Hold"), 1, progress));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.simulator().downloadsReceived() == 1; }, kPatienceMs));
    received.clear();

    ASSERT_TRUE(StandAloneTest::start(ctx));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.simulator().running() == InstrumentSimulator::RunKind::Sequence; },
                                kPatienceMs));
    EXPECT_EQ(received, QByteArray(1, char(5)));

    ASSERT_TRUE(StandAloneTest::stop(ctx));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return host.simulator().running() == InstrumentSimulator::RunKind::None; }, kPatienceMs));
    EXPECT_EQ(received, QByteArray("\x05\x06"));
    EXPECT_TRUE(prompts.records.isEmpty());
}
