// The real-time screen and its naming dialog, offscreen: control names and texts, the readouts and status
// during a run on a fake port, Save Result As, the leave guard, the chart buttons and the display-only frames.
#include "realtime/frmRealTime.h"
#include "realtime/frmRealRelated.h"

#include "platform/ChartModel.h"
#include "realtime/RealTimeSession.h"
#include "store/Connection.h"
#include "tests/realtime/ControlBytes.h"
#include "tests/realtime/RealTimeFixture.h"
#include "tests/support/QStringPrinting.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

template <class T> T *child(QWidget &w, const QString &name)
{
    T *c = w.findChild<T *>(name);
    EXPECT_NE(c, nullptr) << name.toStdString();
    return c;
}

class ScreenTest : public ::testing::Test {
protected:
    RealTimeFixture fx;
    std::unique_ptr<frmRealTime> screen;

    void SetUp() override
    {
        fx.addSequence(QStringLiteral("Demo"), {{600, 212, 300, 10}, {300, 150, 100, 5}});
        fx.state.CurrentSequence = QStringLiteral("Demo");
        fx.state.SequenceSent = true;
        fx.onNewPort = [](FakeSerialPort &port) {
            port.responder = [&port](const QByteArray &bytes) {
                if (bytes == QByteArray(1, 5))
                    port.feed(QByteArray("1,1,77,0,0,0,1") + SUB);
            };
        };
        screen = std::make_unique<frmRealTime>(fx.context);
        screen->show();
    }

    // Save Result As answered by a stand-in for the dialog that stores a test.
    void nameTest(const QString &name, int id)
    {
        screen->askTestName = [this, name, id](QString *testName) {
            EXPECT_FALSE(screen->isVisible()) << "the screen is hidden while the dialog is up";
            fx.storeTestRow(id, name);
            fx.state.RelatedOk = true;
            fx.state.NewTestId = id;
            *testName = name;
            return true;
        };
        child<QPushButton>(*screen, QStringLiteral("cmdSaveAs"))->click();
        EXPECT_TRUE(screen->isVisible());
    }

    QString text(const QString &label) { return child<QLabel>(*screen, label)->text(); }
};

} // namespace

TEST_F(ScreenTest, ControlsCarryTheirNamesCaptionsAndAccessibleNames)
{
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Real Time Test"));
    struct Button {
        const char *name;
        const char *caption;
    };
    const Button buttons[] = {{"cmdSaveAs", "Save Result &As"},
                              {"cmdShowAll", "S&how All Data"},
                              {"cmdShow3Min", "Sh&ow Last 3 Minutes"},
                              {"cmdPrintChart", "Print Chart"},
                              {"cmdStart", "&Start"},
                              {"cmdStop", "S&top"},
                              {"cmdReturn", "&Return"},
                              {"Option4", "1 data per sec."},
                              {"Option5", "1 data per 10 sec"},
                              {"Option6", "1 data per 60 sec"},
                              {"Option7", "1  data per 5 min"},
                              {"optAverageYes", "Yes"},
                              {"optAverageNo", "No"}};
    for (const Button &b : buttons)
        EXPECT_EQ(child<QAbstractButton>(*screen, QString::fromLatin1(b.name))->text(), QString::fromLatin1(b.caption));
    EXPECT_EQ(child<QPushButton>(*screen, QStringLiteral("cmdShow3Min"))->toolTip(),
              QStringLiteral("Click here to show the data of last 3 min"));

    const QStringList captions = {"Test Name",   "StepNo", "Curr.Step Time", "Temperature", "Speed",
                                  "Shearstress", "Gel",    "Dial Reading",   "Viscosity"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(text(QStringLiteral("Label2(%1)").arg(i)), captions[i]);
    const QList<QPair<int, QString>> units = {{2, "sec"}, {3, "°F"}, {4, "Rpm"}, {5, "dyn/cm2"}, {6, "Fann® 35(deg.)"},
                                              {8, "cP"}};
    for (const auto &[row, unit] : units)
        EXPECT_EQ(text(QStringLiteral("Label4(%1)").arg(row)), unit);
    EXPECT_EQ(text(QStringLiteral("lblSequenceName")), QStringLiteral("Demo"));
    EXPECT_EQ(text(QStringLiteral("Status")), QStringLiteral("Status"));
    EXPECT_EQ(text(QStringLiteral("ElapsedTime")), QStringLiteral("Elapsed Time:"));

    auto *grid = child<QTableWidget>(*screen, QStringLiteral("MSFlexGrid1"));
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Temp\n(F°)"));
    EXPECT_EQ(grid->item(1, 2)->text(), QStringLiteral("150.0"));
    EXPECT_EQ(grid->item(1, 5)->text(), QStringLiteral("5"));

    for (QWidget *w : screen->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w) || qobject_cast<QTableWidget *>(w)
            || w->objectName() == QLatin1String("Pesgo1")) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
        // A readout is read as the value it shows; its caption says what the value is.
        if (w->objectName().startsWith(QLatin1String("Label3"))) {
            EXPECT_TRUE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
            EXPECT_FALSE(w->accessibleDescription().isEmpty()) << w->objectName().toStdString();
        }
    }
}

TEST_F(ScreenTest, RunShowsReadoutsStatusAndElapsedTime)
{
    nameTest(QStringLiteral("Run A"), 4);
    child<QPushButton>(*screen, QStringLiteral("cmdStart"))->click();
    ASSERT_TRUE(screen->session().isRunning());
    EXPECT_EQ(text(QStringLiteral("Status")), QStringLiteral("Test in progress ..."));
    EXPECT_EQ(text(QStringLiteral("Label3(0)")), QStringLiteral("Run A"));

    fx.port->feed(QByteArray("1,30,77,250,12,30000,1") + SUB);
    fx.clock.advance(1);
    EXPECT_TRUE(screen->session().timer()->isActive());
    screen->session().tick();
    const QStringList expected = {"Run A", "1", "30", "77", "300", "250", "2.35", "48.92", "48.95"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(text(QStringLiteral("Label3(%1)").arg(i)), expected[i]) << i;
    EXPECT_EQ(text(QStringLiteral("ElapsedTime")), QStringLiteral("Elapsed Time: 00:00:02"));
    EXPECT_EQ(fx.count(QStringLiteral("SELECT COUNT(*) FROM TestResult WHERE TestId = 4")), 1);
    EXPECT_EQ(screen->chartModel().writtenCount(0), 2);

    fx.port->feed(QByteArray(5000, '9'));
    screen->session().tick();
    EXPECT_TRUE(child<QLabel>(*screen, QStringLiteral("Discarded"))->isVisible());
    EXPECT_TRUE(text(QStringLiteral("Discarded")).contains(QStringLiteral("904")));

    child<QPushButton>(*screen, QStringLiteral("cmdStop"))->click();
    EXPECT_EQ(text(QStringLiteral("Status")), QStringLiteral("Test stop"));
}

TEST_F(ScreenTest, ReadingsWaitingForTheDatabaseAreCountedInTheStatusBar)
{
    nameTest(QStringLiteral("Run A"), 4);
    child<QPushButton>(*screen, QStringLiteral("cmdStart"))->click();
    ASSERT_TRUE(screen->session().isRunning());
    auto *waiting = child<QLabel>(*screen, QStringLiteral("Waiting"));
    EXPECT_FALSE(waiting->isVisible());
    EXPECT_EQ(waiting->accessibleDescription(), QStringLiteral("Readings waiting for the database"));

    Connection other; // another program holds the database
    ASSERT_TRUE(other.open(fx.database.path(), 0));
    ASSERT_TRUE(QSqlQuery(other.db()).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    fx.port->feed(QByteArray("1,30,77,250,12,30000,1") + SUB + QByteArray("1,40,77,250,12,30000,1") + SUB);
    fx.clock.advance(1);
    screen->session().tick();
    EXPECT_TRUE(waiting->isVisible());
    EXPECT_EQ(waiting->text(), QStringLiteral("2 readings waiting for the database"));
    ASSERT_TRUE(QSqlQuery(other.db()).exec(QStringLiteral("ROLLBACK")));
    fx.clock.advance(1);
    screen->session().tick();
    EXPECT_FALSE(waiting->isVisible());
    EXPECT_EQ(fx.count(QStringLiteral("SELECT COUNT(*) FROM TestResult WHERE TestId = 4")), 2);
    child<QPushButton>(*screen, QStringLiteral("cmdStop"))->click();
}

TEST_F(ScreenTest, ReturnAndCloseAreRefusedWhileRunning)
{
    QSignalSpy returned(screen.get(), &frmRealTime::returned);
    nameTest(QStringLiteral("Run A"), 4);
    child<QPushButton>(*screen, QStringLiteral("cmdStart"))->click();
    ASSERT_TRUE(screen->session().isRunning());

    child<QPushButton>(*screen, QStringLiteral("cmdReturn"))->click();
    EXPECT_FALSE(screen->close());
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(returned.count(), 0);
    EXPECT_EQ(fx.prompts.messageTexts(),
              QStringList({"Please close the running test.", "Please close the running test."}));

    child<QPushButton>(*screen, QStringLiteral("cmdStop"))->click();
    child<QPushButton>(*screen, QStringLiteral("cmdReturn"))->click();
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(returned.count(), 1);
}

TEST_F(ScreenTest, SaveResultAsCancelledAfterAConfirmationDisarmsStart)
{
    nameTest(QStringLiteral("Run A"), 4);
    EXPECT_TRUE(screen->session().isNamed());
    screen->askTestName = [this](QString *) {
        fx.state.RelatedOk = false;
        return false;
    };
    child<QPushButton>(*screen, QStringLiteral("cmdSaveAs"))->click();
    EXPECT_FALSE(screen->session().isNamed());
    child<QPushButton>(*screen, QStringLiteral("cmdStart"))->click();
    EXPECT_EQ(fx.prompts.messageTexts(), QStringList{"Name this test by clicking the 'Save Result As' button."});
}

TEST_F(ScreenTest, SaveRateAndAveragingControlsOnlyChangeWhatTheyShow)
{
    EXPECT_EQ(screen->saveInterval(), 10);
    EXPECT_TRUE(child<QRadioButton>(*screen, QStringLiteral("Option5"))->isChecked());
    const QList<QPair<QString, int>> rates = {{"Option4", 1}, {"Option6", 60}, {"Option7", 300}, {"Option5", 10}};
    for (const auto &[name, seconds] : rates) {
        child<QRadioButton>(*screen, name)->click();
        EXPECT_EQ(screen->saveInterval(), seconds) << name.toStdString();
        EXPECT_TRUE(child<QRadioButton>(*screen, QStringLiteral("optAverageNo"))->isChecked())
            << "the two frames are separate groups";
    }
    auto *average = child<QLineEdit>(*screen, QStringLiteral("txtAverage"));
    EXPECT_FALSE(average->isVisible());
    child<QRadioButton>(*screen, QStringLiteral("optAverageYes"))->click();
    EXPECT_TRUE(average->isVisible());
    EXPECT_TRUE(child<QLabel>(*screen, QStringLiteral("lblAverage"))->isVisible());
    EXPECT_TRUE(child<QRadioButton>(*screen, QStringLiteral("Option5"))->isChecked());
    child<QRadioButton>(*screen, QStringLiteral("optAverageNo"))->click();
    EXPECT_FALSE(average->isVisible());
}

TEST_F(ScreenTest, ChartButtonsShowAllTheLastThreeMinutesAndPrint)
{
    nameTest(QStringLiteral("Run A"), 4);
    child<QPushButton>(*screen, QStringLiteral("cmdStart"))->click();
    for (int s = 2; s <= 400; ++s) {
        fx.port->feed(QByteArray::number(1) + ',' + QByteArray::number(s) + ",77,250,12,30000,1" + SUB);
        fx.clock.advance(1);
        screen->session().tick();
    }
    ChartModel &model = screen->chartModel();
    const double newest = screen->session().liveChart().newestTime();
    child<QPushButton>(*screen, QStringLiteral("cmdShow3Min"))->click();
    EXPECT_EQ(model.xRange(), (AxisRange{newest - 180000.0, newest}));
    child<QPushButton>(*screen, QStringLiteral("cmdShowAll"))->click();
    EXPECT_TRUE(model.xRange().isAutomatic());

    fx.prompts.printPdfPath = fx.dir.file(QStringLiteral("chart.pdf"));
    child<QPushButton>(*screen, QStringLiteral("cmdPrintChart"))->click();
    EXPECT_GT(QFileInfo(fx.prompts.printPdfPath).size(), 1000);
}

TEST_F(ScreenTest, OpenAppliesTheGuardAndShowsTheMainWindowAgainOnReturn)
{
    QWidget mainWindow;
    mainWindow.show();
    fx.state.SequenceSent = false;
    EXPECT_EQ(frmRealTime::open(fx.context, &mainWindow), nullptr);
    ASSERT_NE(fx.prompts.lastMessage(), nullptr);
    EXPECT_EQ(fx.prompts.lastMessage()->title, QStringLiteral("Operation Error"));
    EXPECT_TRUE(mainWindow.isVisible());

    fx.state.SequenceSent = true;
    QPointer<frmRealTime> opened = frmRealTime::open(fx.context, &mainWindow);
    ASSERT_FALSE(opened.isNull());
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_TRUE(opened->isVisible());
    child<QPushButton>(*opened, QStringLiteral("cmdReturn"))->click();
    EXPECT_TRUE(mainWindow.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(opened.isNull()) << "the screen is gone with its port";
}

TEST(NamingDialog, FieldsFactorChoiceOkAndCloseBox)
{
    RealTimeFixture fx;
    fx.state.RelatedOk = true; // left over from an earlier confirmation
    frmRealRelated dialog(fx.context);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Real Time Test Testname"));
    auto *stress = child<QLineEdit>(dialog, QStringLiteral("txtStressFactor"));
    EXPECT_FALSE(stress->isVisible());
    EXPECT_TRUE(child<QRadioButton>(dialog, QStringLiteral("Option1"))->isChecked());
    EXPECT_FALSE(child<QLineEdit>(dialog, QStringLiteral("txtSampleTime"))->text().isEmpty());

    // Closing through the frame is Cancel.
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(fx.state.RelatedOk);

    frmRealRelated second(fx.context);
    second.show();
    child<QRadioButton>(second, QStringLiteral("Option2"))->click();
    EXPECT_TRUE(fx.state.CustomRB);
    EXPECT_TRUE(child<QLineEdit>(second, QStringLiteral("txtRateFactor"))->isVisible());
    child<QLineEdit>(second, QStringLiteral("txtTestName"))->setText(QStringLiteral("Custom"));
    child<QLineEdit>(second, QStringLiteral("txtStressFactor"))->setText(QStringLiteral("1.5"));
    child<QLineEdit>(second, QStringLiteral("txtRateFactor"))->setText(QStringLiteral("0"));
    child<QPushButton>(second, QStringLiteral("cmdOk"))->click();
    EXPECT_TRUE(second.isVisible()) << "a zero factor is refused";
    EXPECT_EQ(fx.prompts.messageTexts(), QStringList{"Input error! Please check your input."});
    child<QLineEdit>(second, QStringLiteral("txtRateFactor"))->setText(QStringLiteral("1.2345"));
    child<QPlainTextEdit>(second, QStringLiteral("txtDesc"))->setPlainText(QStringLiteral("two\nlines"));
    child<QPushButton>(second, QStringLiteral("cmdOk"))->click();
    EXPECT_EQ(second.result(), QDialog::Accepted);
    EXPECT_EQ(second.testName(), QStringLiteral("Custom"));
    EXPECT_EQ(second.testId(), 1);
    EXPECT_EQ(child<QLineEdit>(second, QStringLiteral("txtMudId"))->text(), QStringLiteral("N/A"));
    EXPECT_DOUBLE_EQ(fx.state.CustomRateFactor, 1.2345);
    EXPECT_EQ(fx.count(QStringLiteral("SELECT COUNT(*) FROM RelatedInfo WHERE \"Desc\" = 'two\nlines'")), 1);
}
