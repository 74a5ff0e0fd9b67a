// The program as it starts: the state start-up gives, the database with its example sequence, the main
// window and its wiring. Direct logging refuses to run until the setup screen has chosen a rotor-bob.
#include "app/MainController.h"
#include "app/StartUp.h"
#include "app/frmMain.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/PortMap.h"
#include "sequence/ExampleSequence.h"
#include "sequence/frmSetup.h"
#include "store/Database.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualClock.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(ProgramStart, DirectLoggingIsRefusedUntilTheSetupScreenChoseARotorBob)
{
    TempDir dir;
    Database db;
    QString error;
    ASSERT_TRUE(StartUp::openDatabase(db, dir.path(), &error)) << error.toStdString();
    ProgramState state;
    StartUp::initialiseState(state, dir.path(), QString());
    ASSERT_TRUE(db.wasCreated());
    ExampleSequence::create(db.connection());

    ScriptedPrompts prompts;
    VirtualClock clock;
    PortMap ports;
    AppContext ctx;
    ctx.state = &state;
    ctx.prompts = &prompts;
    ctx.clock = &clock;
    ctx.database = &db;
    ctx.ports = &ports;
    ctx.workDir = dir.path();
    ctx.makePort = [&clock] { return std::make_unique<FakeSerialPort>(&clock); };
    frmMain window(ctx);
    MainController controller(ctx, window);

    window.DirectLog_Click();
    QWidget *logging = controller.directLogScreen();
    ASSERT_TRUE(logging);
    logging->findChild<QLineEdit *>("txtFileName")->setText(QStringLiteral("run.txt"));
    auto *run = logging->findChild<QPushButton *>("cmdRun");
    prompts.clear();
    run->click();
    ASSERT_NE(prompts.lastMessage(), nullptr);
    EXPECT_EQ(prompts.messageTexts(),
              QStringList{QStringLiteral("You must go to the Setup screen before to run a real time test.")});
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Operation Error"));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("run.txt"))));

    // The setup screen selects the example sequence and its rotor-bob as it opens; Run then goes ahead (the
    // fake line stays silent, so it ends with the instrument's time-out instead).
    window.cmdSetup_Click();
    ASSERT_TRUE(controller.setupScreen());
    controller.setupScreen()->returnToMain(false);
    prompts.clear();
    run->click();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("No response from K7100, please check connection.")});
}
