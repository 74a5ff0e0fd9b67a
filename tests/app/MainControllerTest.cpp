// The main window wired to its subsystems: retrieving a stored test names it through the real
// related-information dialog, stores its points and shows it; cancelling stores nothing; returning after a
// unit change redraws the open test's grid in the new units.
#include "app/MainController.h"
#include "app/frmMain.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/PortMap.h"
#include "results/MainChartController.h"
#include "store/Database.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/Openpyxl.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualClock.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <array>
#include <gtest/gtest.h>

namespace {

class MainControllerTest : public ::testing::Test {
protected:
    MainControllerTest()
    {
        EXPECT_TRUE(db.open(dir.file(Database::defaultFileName())));
        ports.setOverride(1, QStringLiteral("/dev/k7"));
        ctx.state = &state;
        ctx.prompts = &prompts;
        ctx.clock = &clock;
        ctx.database = &db;
        ctx.ports = &ports;
        ctx.workDir = dir.path();
        ctx.makePort = [this] {
            auto port = std::make_unique<FakeSerialPort>(&clock);
            FakeSerialPort *p = port.get();
            port->responder = [this, p](const QByteArray &bytes) {
                if (bytes == QByteArray(1, 8))
                    p->feed("\x02", clock.now() + 0.1);
                if (bytes == QByteArray(1, 1))
                    p->feed("1,30,120,150,0,30000,1,1,60,121,152,0,30000,1,\x02", clock.now() + 0.1);
            };
            return std::unique_ptr<SerialPort>(std::move(port));
        };
        window = std::make_unique<frmMain>(ctx);
        controller = new MainController(ctx, *window);
    }

    // Answers the related-information dialog once it is up: a name and OK, or Cancel.
    void answerRelatedDialog(const QString &name, bool ok)
    {
        QTimer::singleShot(0, [name, ok] {
            QWidget *dialog = QApplication::activeModalWidget();
            ASSERT_TRUE(dialog);
            ASSERT_EQ(dialog->objectName(), "frmRelated");
            dialog->findChild<QLineEdit *>("txtTestName")->setText(name);
            dialog->findChild<QPushButton *>(ok ? "cmdok" : "cmdCancel")->click();
        });
    }

    // A stored test: its RelatedInfo row (sample time stored as the dialogs store it) and points of
    // (step, time, speed rpm, stress dyn/cm2), all with the rotor-bob code rbfactor.
    void addTest(int id, const QString &name, double rbfactor, std::initializer_list<std::array<double, 4>> points)
    {
        QSqlQuery q(db.connection());
        q.prepare("INSERT INTO RelatedInfo VALUES (?, ?, 'WBM', '2024-05-06T07:08:09', 'Lab', NULL)");
        q.addBindValue(id);
        q.addBindValue(name);
        ASSERT_TRUE(q.exec());
        for (const auto &p : points) {
            q.prepare("INSERT INTO TestResult VALUES (?, ?, ?, 120, ?, ?, 0, ?)");
            for (double v : {double(id), p[0], p[1], p[2], p[3], rbfactor})
                q.addBindValue(v);
            ASSERT_TRUE(q.exec());
        }
    }

    // Runs the open command and answers its dialog: the name typed and OK; "" to cancel; with `remove`,
    // that test is deleted from the list first (and the dialog then cancelled).
    void openThroughDialog(const QString &name, const QString &remove = QString())
    {
        QTimer::singleShot(0, [name, remove] {
            QWidget *dialog = QApplication::activeModalWidget();
            ASSERT_TRUE(dialog);
            ASSERT_EQ(dialog->objectName(), "OpenTest");
            if (!remove.isEmpty()) {
                auto *list = dialog->findChild<QListWidget *>("List1");
                const auto found = list->findItems(remove, Qt::MatchExactly);
                ASSERT_EQ(found.size(), 1);
                list->setCurrentItem(found.first());
                dialog->findChild<QPushButton *>("cmdDelete")->click();
            }
            if (name.isEmpty()) {
                dialog->findChild<QPushButton *>("cmdCancel")->click();
            } else {
                dialog->findChild<QLineEdit *>("txtSeqName")->setText(name);
                dialog->findChild<QPushButton *>("cmdOk")->click();
            }
        });
        window->cmdOpen_Click();
    }

    // What each report says it is about: the test name of its header and the step time of its first
    // data row; "" for a report that wrote nothing. Also the shear rate of the first row (detail, brief).
    struct Reported {
        QString name;
        double firstTime = -1;
        double firstShearRate = -1;
        bool operator==(const Reported &) const = default;
    };
    Reported textReport()
    {
        const QString path = dir.file(QStringLiteral("report.csv"));
        QFile::remove(path);
        prompts.fileAnswers = {path};
        window->menureport_Click();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const QStringList lines = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
        Reported r;
        r.name = lines.value(2).section(QLatin1Char(','), 1);
        if (lines.size() > 11 && !lines[11].isEmpty())
            r.firstTime = lines[11].section(QLatin1Char(','), 1, 1).toDouble();
        return r;
    }
    Reported workbook(bool brief)
    {
        const QString path = dir.file(brief ? QStringLiteral("brief.xlsx") : QStringLiteral("detail.xlsx"));
        QFile::remove(path);
        prompts.fileAnswers = {path};
        window->findChild<QPushButton *>(brief ? "cmdBrief" : "cmdExport")->click();
        if (!QFile::exists(path))
            return {};
        QString error;
        const int row = brief ? 12 : 11;
        const QStringList out = Openpyxl::run(QStringLiteral("import sys, openpyxl\n"
                                                             "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                                                             "r = int(sys.argv[2])\n"
                                                             "print(ws['B3'].value)\n"
                                                             "print(ws.cell(row=r, column=2).value)\n"
                                                             "print(ws.cell(row=r, column=5).value)\n"),
                                              {path, QString::number(row)}, &error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        Reported r;
        r.name = out.value(0);
        r.firstTime = out.value(1) == QLatin1String("None") ? -1 : out.value(1).toDouble();
        r.firstShearRate = out.value(2) == QLatin1String("None") ? -1 : out.value(2).toDouble();
        return r;
    }

    int storedPoints()
    {
        QSqlQuery q(db.connection());
        q.exec("SELECT count(*) FROM TestResult");
        q.next();
        return q.value(0).toInt();
    }

    TempDir dir;
    Database db;
    ProgramState state;
    ScriptedPrompts prompts;
    VirtualClock clock;
    PortMap ports;
    AppContext ctx;
    std::unique_ptr<frmMain> window;
    MainController *controller = nullptr;
};

} // namespace

TEST_F(MainControllerTest, RetrieveNamesStoresAndShowsTheTest)
{
    answerRelatedDialog(QStringLiteral("Mud \"A\" 'retrieved'"), true);
    window->cmdRetrieve_Click();
    EXPECT_EQ(storedPoints(), 2);
    EXPECT_EQ(state.CurrentTestName, QStringLiteral("Mud \"A\" 'retrieved'"));
    EXPECT_FALSE(state.NewTestMode);
    EXPECT_EQ(controller->grid().rowCount(), 2);
    EXPECT_EQ(controller->openTestId(), state.NewTestId);
    EXPECT_TRUE(window->findChild<QPushButton *>("RelatedInfo")->isEnabled());
    EXPECT_TRUE(prompts.messageTexts().isEmpty()) << prompts.messageTexts().join("|").toStdString();
}

TEST_F(MainControllerTest, CancelInTheNamingDialogStoresNothing)
{
    answerRelatedDialog(QStringLiteral("Never stored"), false);
    window->MenuFileRetrieve_Click();
    EXPECT_EQ(storedPoints(), 0);
    EXPECT_TRUE(state.CurrentTestName.isEmpty());
    EXPECT_FALSE(window->findChild<QPushButton *>("RelatedInfo")->isEnabled());
    QSqlQuery q(db.connection());
    q.exec("SELECT count(*) FROM RelatedInfo");
    q.next();
    EXPECT_EQ(q.value(0).toInt(), 0);
}

TEST_F(MainControllerTest, ActivationAfterAUnitChangeRedrawsTheOpenTestOnly)
{
    answerRelatedDialog(QStringLiteral("T1"), true);
    window->cmdRetrieve_Click();
    const QString eiHeader = controller->grid().headerData(2, Qt::Horizontal).toString();
    const QString eiStress = controller->grid().data(controller->grid().index(0, 5)).toString();

    state.UnitSystem = UnitsSI;
    window->Form_Activate(); // UnitsChanged not set: nothing is redrawn
    EXPECT_EQ(controller->grid().data(controller->grid().index(0, 5)).toString(), eiStress);

    state.UnitsChanged = true;
    window->Form_Activate();
    EXPECT_FALSE(state.UnitsChanged);
    EXPECT_NE(controller->grid().headerData(2, Qt::Horizontal).toString(), eiHeader);
    EXPECT_NE(controller->grid().data(controller->grid().index(0, 5)).toString(), eiStress);
    EXPECT_EQ(controller->grid().rowCount(), 2);
}

TEST_F(MainControllerTest, ExitWithTheLoggingScreenOpenEndsTheProgramAndClosesIt)
{
    window->show();
    window->DirectLog_Click();
    QPointer<QWidget> logging = controller->directLogScreen();
    ASSERT_TRUE(logging && logging->isVisible());
    QSignalSpy ended(window.get(), &frmMain::programEnded);

    prompts.messageAnswers = {MsgAnswer::Yes};
    window->cmdExit_Click();
    ASSERT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("Are you sure you want to exit?")});
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(!logging || !logging->isVisible()) << "the logging screen went with the program";
}

TEST_F(MainControllerTest, ReportButtonAndToolbarReportDoNothingWhileTheMenuWritesTheTextReport)
{
    answerRelatedDialog(QStringLiteral("T1"), true);
    window->cmdRetrieve_Click();
    prompts.clear();

    window->findChild<QPushButton *>("cmdReport")->click();
    window->Toolbar1_ButtonClick(QStringLiteral("Report"));
    EXPECT_TRUE(prompts.records.isEmpty());

    prompts.fileAnswers = {dir.file("t1.csv")};
    window->menureport_Click();
    EXPECT_TRUE(QFile::exists(dir.file("t1.csv")));
}

TEST_F(MainControllerTest, FileMenuCarriesTheDatabaseCommandsAfterOpenAndRetrieve)
{
    QMenu *file = window->menuBar()->findChild<QMenu *>("MenuFile");
    ASSERT_NE(file, nullptr);
    QStringList names;
    QStringList captions;
    for (QAction *a : file->actions()) {
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        if (!a->isSeparator())
            captions << a->text();
    }
    EXPECT_EQ(names,
              QStringList({"MenuFileOpen", "MenuFileRetrieve", "-", "MenuFileImport", "MenuFileCheck", "MenuFileBackup",
                           "-", "menureport", "MenuFilePdf", "MenuFileRheology", "MenuFilePrint", "-", "MenuSetup",
                           "menureset", "-", "MenuFileExit"}));
    EXPECT_TRUE(captions.contains("&Import Recovered Test..."));
    EXPECT_TRUE(captions.contains("&Check Database"));
    EXPECT_TRUE(captions.contains("&Back Up Database..."));

    // Each runs its command: Check Database tells the result, Back Up asks for a file first.
    auto entry = [file](const char *name) {
        for (QAction *a : file->actions())
            if (a->objectName() == QLatin1String(name))
                return a;
        return static_cast<QAction *>(nullptr);
    };
    entry("MenuFileCheck")->trigger();
    ASSERT_NE(prompts.lastMessage(), nullptr);
    EXPECT_EQ(prompts.lastMessage()->title, "Check Database");
    EXPECT_TRUE(prompts.lastMessage()->text.contains("is in good order"));
    prompts.clear();
    entry("MenuFileBackup")->trigger();
    ASSERT_EQ(prompts.records.size(), 1) << "the file dialog, cancelled: nothing else happens";
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::SaveFile);
    prompts.clear();
    entry("MenuFileImport")->trigger();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::OpenFile);
}

// "The open test" is one thing: whatever was opened, cancelled, retrieved or deleted before, the grid,
// the related information and all three reports are of the test shown, its header over its own readings.
TEST_F(MainControllerTest, EveryReportIsOfTheTestShownThroughOpenCancelRetrieveAndDelete)
{
    addTest(3, QStringLiteral("A"), 1, {{1, 11, 300, 100}, {1, 12, 300, 101}});
    addTest(4, QStringLiteral("C"), 1, {{1, 21, 300, 100}});
    const Reported openedA{QStringLiteral("A"), 11};
    const Reported retrievedB{QStringLiteral("B"), 30}; // the fake instrument's first record is at 30 s
    const Reported none{};

    struct Case {
        const char *sequence;
        std::function<void()> steps;
        QString shown; // CurrentTestName afterwards
        int gridRows;
        Reported expected;
        double briefTime; // the brief workbook's row is the step's last reading
    };
    const Case cases[] = {
        {"open A, retrieve B, cancel an open",
         [&] {
             openThroughDialog(QStringLiteral("A"));
             answerRelatedDialog(QStringLiteral("B"), true);
             window->cmdRetrieve_Click();
             openThroughDialog(QString());
         },
         QStringLiteral("B"), 2, retrievedB, 60},
        {"then open A", [&] { openThroughDialog(QStringLiteral("A")); }, QStringLiteral("A"), 2, openedA, 12},
        {"open A, delete another test in the dialog and cancel",
         [&] { openThroughDialog(QString(), QStringLiteral("C")); }, QStringLiteral("A"), 2, openedA, 12},
        {"delete the open test A in the dialog and cancel: nothing is open any more",
         [&] { openThroughDialog(QString(), QStringLiteral("A")); }, QString(), 0, none, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sequence);
        c.steps();
        EXPECT_EQ(state.CurrentTestName, c.shown);
        EXPECT_EQ(controller->grid().rowCount(), c.gridRows);
        EXPECT_EQ(window->findChild<QPushButton *>("RelatedInfo")->isEnabled(), c.gridRows > 0);
        const Reported text = textReport();
        EXPECT_EQ(text.name, c.expected.name);
        EXPECT_EQ(text.firstTime, c.expected.firstTime);
        for (const bool brief : {false, true}) {
            SCOPED_TRACE(brief ? "brief workbook" : "detailed workbook");
            const Reported book = workbook(brief);
            EXPECT_EQ(book.name, c.expected.name);
            EXPECT_EQ(book.firstTime, brief ? c.briefTime : c.expected.firstTime);
        }
    }
}

// Naming a custom real-time test (which sets the custom factors) and overlaying another test leave the
// open test as it was read: the brief workbook converts its rows as the grid and the detailed one did.
TEST_F(MainControllerTest, RealTimeNamingAndOverlayDoNotChangeHowTheOpenTestIsReported)
{
    // Stored without a rotor-bob code (0), as early tests were: read with the R1-B1 factors and the kind
    // of rotor-bob the program had when it was opened (standard here): 300 rpm is 510.69 1/s.
    addTest(3, QStringLiteral("A"), 0, {{1, 11, 300, 100}});
    addTest(4, QStringLiteral("Other"), 1, {{1, 21, 300, 100}, {1, 22, 300, 100}});
    openThroughDialog(QStringLiteral("A"));
    const Reported expected{QStringLiteral("A"), 11, 510.69};
    ASSERT_EQ(workbook(false), expected);

    state.SequenceSent = true;
    window->cmdRealTime_Click();
    QWidget *screen = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmRealTime" && w->isVisible())
            screen = w;
    ASSERT_TRUE(screen);
    QTimer::singleShot(0, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_TRUE(dialog);
        ASSERT_EQ(dialog->objectName(), "frmRealRelated");
        dialog->findChild<QLineEdit *>("txtTestName")->setText("Real-time custom");
        dialog->findChild<QAbstractButton *>("Option2")->click();
        dialog->findChild<QLineEdit *>("txtStressFactor")->setText("2");
        dialog->findChild<QLineEdit *>("txtRateFactor")->setText("0.5");
        dialog->findChild<QPushButton *>("cmdOk")->click();
    });
    screen->findChild<QPushButton *>("cmdSaveAs")->click();
    ASSERT_TRUE(state.CustomRB);
    screen->findChild<QPushButton *>("cmdReturn")->click();

    QTimer::singleShot(0, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_TRUE(dialog);
        auto *list = dialog->findChild<QListWidget *>("List1");
        list->setCurrentItem(list->findItems("Other", Qt::MatchExactly).value(0));
        dialog->findChild<QPushButton *>("cmdOk")->click();
    });
    window->cmdOverlap_Click();
    EXPECT_EQ(controller->chart().builder().seriesCount(), 2);

    EXPECT_EQ(state.CurrentTestName, QStringLiteral("A"));
    EXPECT_EQ(workbook(false), expected);
    EXPECT_EQ(workbook(true), expected);
    EXPECT_EQ(textReport(), (Reported{QStringLiteral("A"), 11}));
}

// A stored test without readings is drawn as an empty chart with room for no point, so an overlay on it
// is drawn and told to have too many points instead of doing nothing.
TEST_F(MainControllerTest, OverlayOnAnOpenedTestWithoutReadingsIsDrawnAndTold)
{
    addTest(3, QStringLiteral("Empty"), 1, {});
    addTest(4, QStringLiteral("Full"), 1, {{1, 21, 300, 100}, {1, 22, 300, 100}});
    openThroughDialog(QStringLiteral("Empty"));
    EXPECT_TRUE(controller->chart().builder().isDrawn());
    EXPECT_EQ(controller->chart().builder().pointCount(), 0);
    QTimer::singleShot(0, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_TRUE(dialog);
        auto *list = dialog->findChild<QListWidget *>("List1");
        list->setCurrentItem(list->findItems("Full", Qt::MatchExactly).value(0));
        dialog->findChild<QPushButton *>("cmdOk")->click();
    });
    prompts.clear();
    window->cmdOverlap_Click();
    EXPECT_EQ(controller->chart().builder().seriesCount(), 2);
    EXPECT_EQ(prompts.messageTexts(),
              QStringList{QStringLiteral("Last opened test has more data points than the first one.  Please open "
                                         "the one with the most sample points first, then overlay others.")});
}

// The reports print the sample time as the dialogs show it, not in its stored form.
TEST_F(MainControllerTest, ReportsPrintTheSampleTimeAsTheDialogsShowIt)
{
    addTest(3, QStringLiteral("A"), 1, {{1, 11, 300, 100}});
    openThroughDialog(QStringLiteral("A"));
    const QString path = dir.file(QStringLiteral("report.csv"));
    prompts.fileAnswers = {path};
    window->menureport_Click();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("\r\nSample Time:  ,2024-05-06 07:08:09\r\n"));

    for (const char *button : {"cmdExport", "cmdBrief"}) {
        SCOPED_TRACE(button);
        const QString book = dir.file(QStringLiteral("%1.xlsx").arg(QLatin1String(button)));
        prompts.fileAnswers = {book};
        window->findChild<QPushButton *>(button)->click();
        QString error;
        const QStringList out =
            Openpyxl::run(QStringLiteral("import sys, openpyxl\n"
                                         "print(openpyxl.load_workbook(sys.argv[1]).active['B5'].value)\n"),
                          {book}, &error);
        EXPECT_EQ(out, QStringList{QStringLiteral("2024-05-06 07:08:09")}) << error.toStdString();
    }
}
