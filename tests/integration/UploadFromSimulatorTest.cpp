// Retrieving a stand-alone test from the simulated instrument over a real pseudo-terminal: the records the
// program decodes are exactly the readings the simulator kept, and the custom rotor-bob reply is understood.
// The waits run in real time (two quiet times per request), so the run is about a second; the clock lets
// the events run while the program waits, since the simulated instrument is served by this thread.
#include "link/SequenceDownload.h"
#include "link/StandAloneTest.h"
#include "link/StoredTestUpload.h"
#include "store/Database.h"
#include "tests/integration/RealTimeScaledClock.h"
#include "tests/integration/SimulatedLine.h"
#include "tests/support/TempDir.h"

#include <QSqlQuery>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

SimulatorOptions fastNewtonian(std::optional<double> customFactor)
{
    SimulatorOptions o;
    o.rate = 200; // a 90-second sequence in under half a second
    o.heaterTimeConstant = 0;
    o.fluid.kind = FluidModel::Kind::Newtonian;
    o.fluid.viscosityCp = 50;
    o.storeInterval = 30;
    o.customRateFactor = customFactor;
    return o;
}

// Runs a stand-alone sequence on the simulator, then retrieves it. `check` sees the outcome.
void runUpload(const SimulatorOptions &options,
               const std::function<void(const std::optional<StoredTestUploadResult> &, const QList<SimReading> &,
                                        ScriptedPrompts &)> &check)
{
    TempDir dir;
    RealTimeScaledClock clock(1.0);
    SimulatedLine line(options, clock);
    ASSERT_TRUE(line.ok) << line.error.toStdString();
    PtyHost &host = line.host;
    ScriptedPrompts &prompts = line.prompts;
    AppContext &ctx = line.ctx;
    Database db;
    QString error;
    ASSERT_TRUE(db.open(dir.file(Database::defaultFileName()), &error)) << error.toStdString();
    ctx.database = &db;

    QSqlQuery q(db.connection());
    ASSERT_TRUE(q.exec("INSERT INTO SequenceName VALUES (1, 'Short', 1)"));
    ASSERT_TRUE(q.exec("INSERT INTO SequenceSetup VALUES (1, 1, 60, 120, 300, 10)"));
    ASSERT_TRUE(q.exec("INSERT INTO SequenceSetup VALUES (1, 2, 30, 120, 0, 10)"));
    SilentProgress progress;
    ASSERT_TRUE(SequenceDownload::send(ctx, "Short", 1, progress));
    ASSERT_TRUE(StandAloneTest::start(ctx));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host.simulator().storedReadings().isEmpty(); }, 5000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return host.simulator().running() == InstrumentSimulator::RunKind::None; }, 5000));
    const QList<SimReading> kept = host.simulator().storedReadings();
    ASSERT_FALSE(kept.isEmpty());

    check(StoredTestUpload::run(ctx), kept, prompts);
}

void runUpload(std::optional<double> customFactor)
{
    runUpload(
        fastNewtonian(customFactor), [&](const auto &upload, const QList<SimReading> &kept, ScriptedPrompts &prompts) {
            ASSERT_TRUE(upload) << (prompts.lastMessage() ? prompts.lastMessage()->text.toStdString() : std::string());
            ASSERT_EQ(upload->records.size(), size_t(kept.size()));
            for (int i = 0; i < kept.size(); ++i) {
                const StoredTestRecord &r = upload->records[size_t(i)];
                EXPECT_EQ(r.step, kept[i].step);
                EXPECT_EQ(r.seconds, kept[i].seconds);
                EXPECT_EQ(r.temperatureF, kept[i].temperatureF);
                EXPECT_EQ(r.stress, kept[i].shearStress);
                EXPECT_DOUBLE_EQ(r.speedRpm, kept[i].speedHundredths / 100.0);
                EXPECT_EQ(r.rotorBob, kept[i].rotorBob);
            }
            EXPECT_EQ(upload->customRB, customFactor.has_value());
            if (customFactor) {
                EXPECT_DOUBLE_EQ(upload->customRateFactor, *customFactor);
            }
            EXPECT_TRUE(prompts.records.isEmpty());
        });
}

} // namespace

TEST(UploadFromSimulator, StandardRotorBob_RecordsMatchTheInstrumentsMemory)
{
    runUpload(std::nullopt);
}

TEST(UploadFromSimulator, CustomRotorBob_FactorComesWithTheReplyToByte8)
{
    runUpload(1.234);
}

TEST(UploadFromSimulator, ReplyThatNeverEndsOrWithItsLastRecordCutShort_IsRefusedAndNothingIsKept)
{
    for (const char *mode : {"endless-upload", "cut-upload"}) {
        SCOPED_TRACE(mode);
        SimulatorOptions options = fastNewtonian(std::nullopt);
        ASSERT_TRUE(options.failures.add(QString::fromLatin1(mode)).isEmpty());
        runUpload(options, [](const auto &upload, const QList<SimReading> &, ScriptedPrompts &prompts) {
            EXPECT_FALSE(upload);
            ASSERT_EQ(prompts.messageTexts().size(), 1);
            EXPECT_EQ(prompts.messageTexts()[0],
                      QStringLiteral("Communication error from K7100, please download data again."));
            EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Communication Error"));
        });
    }
}
