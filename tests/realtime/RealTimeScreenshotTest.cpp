// The real-time screen during a run of the simulated instrument (engine only, on a virtual clock): after
// twenty-five simulated minutes the readouts, grid, status and chart hold the run. With
// K7100_SCREENSHOT_DIR set, the screen is also saved there as realtime-run.png for a person to look at.
#include "realtime/frmRealTime.h"

#include "link/DownloadProgress.h"
#include "link/SequenceDownload.h"
#include "platform/ChartModel.h"
#include "realtime/RealTimeNaming.h"
#include "realtime/RealTimeSession.h"
#include "sim/InstrumentSimulator.h"
#include "store/TestLibrary.h"
#include "tests/realtime/RealTimeFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class NoProgress : public DownloadProgress {
public:
    void setStatus(const QString &) override {}
    void showProgress(int) override {}
    void setProgress(int) override {}
    void hideProgress() override {}
};

} // namespace

TEST(RealTimeScreen, DuringASimulatedRun)
{
    RealTimeFixture fx;
    SimulatorOptions options;
    options.fluid.kind = FluidModel::Kind::Bingham;
    options.fluid.viscosityCp = 35;
    options.fluid.yieldStress = 60;
    options.fluid.tempCoefficient = 0.01;
    options.fluid.gel10s = 40;
    options.fluid.gel10m = 90;
    options.heaterTimeConstant = 90;
    options.noise = 4;
    InstrumentSimulator instrument(options);
    const auto instrumentTime = [&fx] { return qint64((fx.clock.now() - 1000.0) * 1000.0); };
    fx.onNewPort = [&](FakeSerialPort &port) {
        port.responder = [&](const QByteArray &bytes) {
            instrument.advanceTo(instrumentTime());
            instrument.receive(bytes);
        };
    };
    fx.clock.onAdvance([&](double) {
        instrument.advanceTo(instrumentTime());
        if (fx.port && instrument.hasPendingOutput())
            fx.port->feed(instrument.takeOutput());
    });

    fx.addSequence(QStringLiteral("Hot rolling"),
                   {{300, 120, 600, 10}, {300, 150, 300, 10}, {600, 190, 100, 30}, {600, 190, 3, 60}});
    fx.state.CurrentSequence = QStringLiteral("Hot rolling");
    NoProgress progress;
    ASSERT_TRUE(SequenceDownload::send(fx.context, fx.state.CurrentSequence, 1, progress));

    frmRealTime screen(fx.context);
    screen.askTestName = [&fx](QString *name) {
        TestLibrary library(fx.db());
        RealTimeNaming naming(fx.state, fx.prompts, fx.clock, library);
        naming.load();
        RealTimeNamingFields fields{QStringLiteral("Mud 42 hot roll"),
                                    QStringLiteral("WBM-42"),
                                    QString(),
                                    QStringLiteral("Lab"),
                                    QString(),
                                    QString(),
                                    QString()};
        const bool ok = naming.accept(fields);
        *name = naming.testName();
        return ok;
    };
    screen.show();
    screen.cmdSaveAs_Click();
    screen.cmdStart_Click();
    ASSERT_TRUE(screen.session().isRunning()) << fx.prompts.messageTexts().join(" | ").toStdString();
    for (int s = 0; s < 25 * 60 && screen.session().isRunning(); ++s) {
        fx.clock.advance(1.0);
        screen.session().tick();
    }
    ASSERT_TRUE(screen.session().isRunning());
    EXPECT_TRUE(fx.prompts.records.isEmpty()) << fx.prompts.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(screen.findChild<QLabel *>(QStringLiteral("Label3(0)"))->text(), QStringLiteral("Mud 42 hot roll"));
    EXPECT_EQ(screen.findChild<QLabel *>(QStringLiteral("Label3(1)"))->text(), QStringLiteral("4"));
    // The three readings that answered the handshake come on top of the 25 minutes.
    EXPECT_EQ(screen.session().elapsedCount(), 3 + 25 * 60);
    EXPECT_EQ(screen.findChild<QLabel *>(QStringLiteral("ElapsedTime"))->text(),
              QStringLiteral("Elapsed Time: 00:25:03"));
    EXPECT_EQ(screen.findChild<QTableWidget *>(QStringLiteral("MSFlexGrid1"))->rowCount(), 4);
    // The store has shifted once and the window has moved on by 5 minutes.
    EXPECT_EQ(screen.session().liveChart().pointIndex(), 1 + 1503 - 200);
    EXPECT_EQ(screen.session().liveChart().xAxisMax() - screen.session().liveChart().startTime(), 25 * 60 * 1000.0);
    EXPECT_EQ(fx.count(QStringLiteral("SELECT COUNT(*) FROM TestResult")), 30 + 30 + 20 + 5);

    const QString dir = qEnvironmentVariable("K7100_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        // Let the chart lay out its axes and legend (the scene does it on later turns of the event loop).
        QTest::qWait(300);
        const QPixmap shot = screen.grab();
        EXPECT_TRUE(shot.save(QDir(dir).filePath(QStringLiteral("realtime-run.png"))));
    }
    screen.session().stop();
}
