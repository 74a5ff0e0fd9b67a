// The main window wired to its subsystems: retrieving a stored test names it through the real
// related-information dialog, stores its points and shows it; cancelling stores nothing; returning after a
// unit change redraws the open test's grid in the new units.
#include "app/MainController.h"
#include "app/frmMain.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/PortMap.h"
#include "store/Database.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualClock.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
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
                           "-", "menureport", "MenuFilePrint", "-", "MenuSetup", "menureset", "-", "MenuFileExit"}));
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
