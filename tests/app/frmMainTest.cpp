#include "app/frmMain.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualClock.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct MainFixture {
    TempDir dir;
    ProgramState state;
    ScriptedPrompts prompts;
    VirtualClock clock;
    AppContext ctx;
    std::unique_ptr<frmMain> window;

    explicit MainFixture(double screenFactor = 1.0)
    {
        state.ScreenFactor = screenFactor;
        ctx.state = &state;
        ctx.prompts = &prompts;
        ctx.clock = &clock;
        ctx.workDir = dir.path();
        window = std::make_unique<frmMain>(ctx);
    }
    template <class T> T *find(const char *name) const { return window->findChild<T *>(QString::fromLatin1(name)); }
};

void expectExitQuestion(const ScriptedPrompts &prompts)
{
    const PromptRecord *m = prompts.lastMessage();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->text, "Are you sure you want to exit?");
    EXPECT_EQ(m->title, "Exit Check");
    EXPECT_EQ(m->buttons, MsgButtons::YesNo);
    EXPECT_EQ(m->icon, MsgIcon::Exclamation);
}

} // namespace

TEST(frmMainControls, ButtonsCarryTheirCaptionsToolTipsAndAccessibleNames)
{
    MainFixture f;
    EXPECT_EQ(f.window->windowTitle(), "K7100DAQ  version 2.0.0.12");
    struct Case {
        const char *name;
        const char *caption;
        const char *toolTip;
    };
    const Case cases[] = {
        {"cmdOpen", "&Open Saved Test", "Click here to open a saved test"},
        {"cmdRetrieve", "&Get K7100 Data", "Click here to retrieve the last test result from the K7100"},
        {"cmdStartTest", "Start Test ",
         "Click here to start an K7100 stand-alone test - Results will be saved internally on the K7100"},
        {"cmdStopTest", "Stop T&est ", "Click here to stop the current test"},
        {"cmdRealTime", "Real &Time Test", "Click here to run a real-time test"},
        {"cmdSetup", "&Setup", ""},
        {"cmdCalicheck", "Calibration Check", ""},
        {"cmdExport", "Detail Excel", "Click here to export data on the current test in spreadsheet format"},
        {"cmdBrief", "Brief Excel", "Click here to generate a brief MS Excel file"},
        {"cmdReport", "Re&port", ""},
        {"cmdOverlap", "Overlap Charts",
         "Click here to display another set of test results over the current test results"},
        {"cmdRheology", "&Rheology", "Click here to show the rheology models of the current test"},
        {"cmdPrintChart", "Print Chart", "Click here to print the chart shown at left"},
        {"RelatedInfo", "Related &Information", ""},
        {"cmdExit", "&Exit", ""},
    };
    for (const auto &c : cases) {
        auto *b = f.find<QPushButton>(c.name);
        ASSERT_NE(b, nullptr) << c.name;
        EXPECT_EQ(b->text(), c.caption) << c.name;
        EXPECT_EQ(b->toolTip(), c.toolTip) << c.name;
        EXPECT_FALSE(b->accessibleName().isEmpty()) << c.name;
        EXPECT_EQ(b->isEnabled(), QString(c.name) != "RelatedInfo") << c.name;
    }
    f.window->setRelatedInfoEnabled(true);
    EXPECT_TRUE(f.find<QPushButton>("RelatedInfo")->isEnabled());

    // The model curves are off, and unusable until a test is drawn in a chart type that takes them.
    auto *curves = f.find<QCheckBox>("chkModelCurves");
    ASSERT_NE(curves, nullptr);
    EXPECT_EQ(curves->text(), "Show &Model Curves");
    EXPECT_EQ(curves->accessibleName(), "Show Model Curves");
    EXPECT_FALSE(curves->isChecked());
    EXPECT_FALSE(curves->isEnabled());
}

TEST(frmMainControls, MenusToolbarAndStatusBar)
{
    MainFixture f;
    struct Case {
        const char *name;
        const char *caption;
    };
    const Case entries[] = {
        {"MenuFileOpen", "&Open Saved Test"},
        {"MenuFileRetrieve", "&Retrieve From K7100"},
        {"menureport", "Report"},
        {"MenuFilePdf", "Save P&DF Report..."},
        {"MenuFileRheology", "R&heology"},
        {"MenuFilePrint", "&Print"},
        {"MenuSetup", "&Setup"},
        {"menureset", "Reset Screen"},
        {"MenuFileExit", "E&xit"},
        {"DirectLog", "&DirectLog"},
        {"MenuHelpAbout", "&About"},
    };
    for (const auto &c : entries) {
        auto *a = f.find<QAction>(c.name);
        ASSERT_NE(a, nullptr) << c.name;
        EXPECT_EQ(a->text(), c.caption) << c.name;
    }
    // The File menu holds its entries in order.
    auto *file = f.find<QMenu>("MenuFile");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title(), "&File");
    QStringList names;
    for (QAction *a : file->actions())
        if (!a->isSeparator())
            names << a->objectName();
    EXPECT_EQ(names,
              QStringList({"MenuFileOpen", "MenuFileRetrieve", "menureport", "MenuFilePdf", "MenuFileRheology",
                           "MenuFilePrint", "MenuSetup", "menureset", "MenuFileExit"}));
    EXPECT_EQ(f.find<QMenu>("MenuHelp")->title(), "&About");

    auto *toolbar = f.find<QToolBar>("Toolbar1");
    ASSERT_NE(toolbar, nullptr);
    QStringList keys;
    for (QAction *a : toolbar->actions())
        keys << a->data().toString();
    EXPECT_EQ(keys, QStringList({"Open", "Retrieve", "Print", "Report"}));

    ASSERT_NE(f.window->statusPanel("Status"), nullptr);
    EXPECT_EQ(f.window->statusPanel("Status")->text(), "Status");
    ASSERT_NE(f.window->statusPanel("Time"), nullptr);
}

TEST(frmMainControls, ChartTypeListScaleOptionsGridAndChartArea)
{
    MainFixture f;
    auto *list = f.find<QComboBox>("cmbChartType");
    ASSERT_EQ(list, f.window->chartTypeList());
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    EXPECT_EQ(
        items,
        QStringList({"Shr. Stress Vs. Shr. Rate", "Viscocity Vs. Shear Rate", "Shr. Stress Vs. Speed",
                     "Viscocity Vs. Speed", "Viscocity Vs. Temperature", "Shr. Stress Vs. Temperature",
                     "Shr. Stress Vs. Time", "Viscocity Vs. Time", "Temperature Vs. Time", "Fann_Deg Vs. Speed"}));
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(list->toolTip(), "Use this drop-down menu to select different chart types");

    struct Option {
        const char *name;
        const char *caption;
        bool checked;
        const char *toolTip;
    };
    const Option options[] = {
        {"Option1", "Normal", true, "Click here to select normal chart scale"},
        {"Option2", "Log", false, "Click here to select log chart scale"},
        {"Option3", "Normal", true, "Click here to select normal chart scale"},
        {"Option4", "Log", false, "Click here to select log chart scale"},
    };
    for (const auto &o : options) {
        auto *r = f.find<QRadioButton>(o.name);
        ASSERT_NE(r, nullptr) << o.name;
        EXPECT_EQ(r->text(), o.caption);
        EXPECT_EQ(r->isChecked(), o.checked) << o.name;
        EXPECT_EQ(r->toolTip(), o.toolTip);
    }
    EXPECT_EQ(f.find<QRadioButton>("Option1")->parentWidget()->property("title").toString(), "X Scale:");
    EXPECT_EQ(f.find<QRadioButton>("Option3")->parentWidget()->property("title").toString(), "Y Scale:");
    // The two scales are chosen independently.
    f.find<QRadioButton>("Option2")->click();
    EXPECT_TRUE(f.find<QRadioButton>("Option3")->isChecked());
    EXPECT_FALSE(f.find<QRadioButton>("Option1")->isChecked());

    auto *grid = f.find<QTableView>("MSFlexGrid1");
    ASSERT_EQ(grid, f.window->resultsGrid());
    EXPECT_EQ(grid->toolTip(), "This table lists the test results.");
    ASSERT_NE(f.window->chartArea(), nullptr);
    EXPECT_NE(f.window->chartArea()->layout(), nullptr);
}

TEST(frmMainClock, TimePanelShowsTheClockEverySecond)
{
    MainFixture f;
    f.clock.setStartDateTime(QDateTime(QDate(2026, 1, 15), QTime(8, 43, 20))); // the clock reads 1000 s later
    f.window->updateClock();
    EXPECT_EQ(f.window->statusPanel("Time")->text(), "09:00:00");
    auto *timer = f.find<QTimer>("tmrClock");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isActive());
    f.clock.advance(3725);
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    EXPECT_EQ(f.window->statusPanel("Time")->text(), "10:02:05");
}

TEST(frmMainExit, NoKeepsTheProgramYesEndsItWithEveryOtherWindow)
{
    using Handler = void (frmMain::*)();
    for (Handler handler : {&frmMain::cmdExit_Click, &frmMain::MenuFileExit_Click}) {
        MainFixture f;
        QWidget other; // another screen that is open, e.g. direct logging
        other.show();
        f.window->show();
        QSignalSpy ended(f.window.get(), &frmMain::programEnded);

        f.prompts.messageAnswers = {MsgAnswer::No};
        (f.window.get()->*handler)();
        expectExitQuestion(f.prompts);
        EXPECT_TRUE(f.window->isVisible());
        EXPECT_TRUE(other.isVisible());
        EXPECT_FALSE(f.window->isEnding());
        EXPECT_EQ(ended.count(), 0);

        f.prompts.clear();
        f.prompts.messageAnswers = {MsgAnswer::Yes};
        (f.window.get()->*handler)();
        expectExitQuestion(f.prompts);
        EXPECT_EQ(f.prompts.records.size(), 1); // the other window asks nothing
        EXPECT_FALSE(f.window->isVisible());
        EXPECT_FALSE(other.isVisible());
        EXPECT_EQ(ended.count(), 1);
    }
}

TEST(frmMainExit, CloseBoxAsksAndNoKeepsTheWindow)
{
    MainFixture f;
    f.window->show();
    QSignalSpy ended(f.window.get(), &frmMain::programEnded);

    f.prompts.messageAnswers = {MsgAnswer::No};
    QCloseEvent byUser;
    QSpontaneKeyEvent::setSpontaneous(&byUser);
    QCoreApplication::instance()->notify(f.window.get(), &byUser); // sendEvent would clear the flag
    expectExitQuestion(f.prompts);
    EXPECT_FALSE(byUser.isAccepted());
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_EQ(ended.count(), 0);

    f.prompts.messageAnswers = {MsgAnswer::Yes};
    QCloseEvent again;
    QSpontaneKeyEvent::setSpontaneous(&again);
    QCoreApplication::instance()->notify(f.window.get(), &again);
    EXPECT_TRUE(again.isAccepted());
    EXPECT_EQ(ended.count(), 1);
}

TEST(frmMainExit, CloseByAnyOtherReasonEndsAtOnceWithoutAsking)
{
    MainFixture f;
    f.window->show();
    QSignalSpy ended(f.window.get(), &frmMain::programEnded);
    EXPECT_TRUE(f.window->close());
    EXPECT_TRUE(f.prompts.records.isEmpty());
    EXPECT_FALSE(f.window->isVisible());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(f.window->Form_QueryUnload(frmMain::CloseReason::Other));
}

TEST(frmMainActivation, UnitChangeReloadsOnceAndNoChangeDoesNothing)
{
    struct Case {
        bool unitsChanged;
        const char *openTest;
        int reloads;
        bool newTestModeAfter;
    };
    const Case cases[] = {
        {false, "Mud 1", 0, true},
        {true, "", 1, true},
        {true, "Mud 1", 1, false},
    };
    for (const auto &c : cases) {
        MainFixture f;
        int reloads = 0;
        QObject::connect(f.window.get(), &frmMain::unitsChangedOnActivation, [&] { ++reloads; });
        f.state.UnitsChanged = c.unitsChanged;
        f.state.CurrentTestName = c.openTest;
        f.state.NewTestMode = true;
        f.window->Form_Activate();
        f.window->Form_Activate(); // a second activation finds nothing left to do
        EXPECT_EQ(reloads, c.reloads) << c.unitsChanged << c.openTest;
        EXPECT_FALSE(f.state.UnitsChanged);
        EXPECT_EQ(f.state.NewTestMode, c.newTestModeAfter);
    }
}

TEST(frmMainResize, MainWindowScalesWithTheScreenFactorTwiceIncludingComboPositions)
{
    MainFixture f(1.25);
    f.window->show();
    f.window->resize(1500, 1000);
    const QSize inner = f.window->centralWidget()->size();
    ASSERT_GT(inner.width(), 1200);
    // Designed at 1200 x 760: cmdOpen at (915, 152) 275 x 34, the chart type list at (915, 32).
    const double w = inner.width() / 1200.0 * 1.5625;
    const double h = inner.height() / 760.0 * 1.5625;
    const QRect open = f.find<QPushButton>("cmdOpen")->geometry();
    EXPECT_NEAR(open.x(), 915 * w, 1);
    EXPECT_NEAR(open.y(), 152 * h, 1);
    EXPECT_NEAR(open.width(), 275 * w, 1);
    EXPECT_NEAR(open.height(), 34 * h, 1);
    auto *list = f.find<QComboBox>("cmbChartType");
    EXPECT_NEAR(list->x(), 915 * w, 1);
    EXPECT_NEAR(list->y(), 32 * h, 1);
}

TEST(frmMainResetScreen, FactorBackToOneFileLineThreeRewrittenLayoutUnscaled)
{
    MainFixture f(1.25);
    writeFile(f.dir.file("initial.txt"), " 3 \r\n 2 \r\n 1.25 \r\n");
    QWidget *form = f.window->centralWidget();
    form->show();
    form->resize(2400, 1520);
    f.window->menureset_Click();
    EXPECT_DOUBLE_EQ(f.state.ScreenFactor, 1.0);
    EXPECT_EQ(readFile(f.dir.file("initial.txt")), QByteArray(" 3 \r\n 2 \r\n 1 \r\n"));
    EXPECT_EQ(f.find<QPushButton>("cmdOpen")->geometry(), QRect(1830, 304, 550, 68));
    EXPECT_TRUE(f.prompts.records.isEmpty());
}

TEST(frmMainResetScreen, UnwritableSettingsFileIsReported)
{
    MainFixture f(1.25);
    f.ctx.workDir = f.dir.file("no such folder");
    f.window->menureset_Click();
    EXPECT_DOUBLE_EQ(f.state.ScreenFactor, 1.0);
    ASSERT_NE(f.prompts.lastMessage(), nullptr);
    EXPECT_EQ(f.prompts.lastMessage()->title, "Reset Screen");
}
