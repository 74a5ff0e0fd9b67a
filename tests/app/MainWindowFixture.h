#pragma once
// The main window wired to its subsystems over a scratch database that holds Fann-style tests, with
// scripted prompts, and a way to open a stored test through the real Open dialog.
#include "app/MainController.h"
#include "app/frmMain.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/PortMap.h"
#include "store/Database.h"
#include "tests/support/FannTests.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualClock.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class MainWindowFixture : public ::testing::Test {
protected:
    MainWindowFixture()
    {
        EXPECT_TRUE(db.open(dir.file(Database::defaultFileName())));
        FannTests::add(db.connection(), 1, QStringLiteral("Mud A"), FannTests::waterBasedMud());
        ctx.state = &state;
        ctx.prompts = &prompts;
        ctx.clock = &clock;
        ctx.database = &db;
        ctx.ports = &ports;
        ctx.workDir = dir.path();
        window = std::make_unique<frmMain>(ctx);
        controller = new MainController(ctx, *window);
    }

    // Runs `answer` on the modal dialog the next command shows (named `objectName`).
    static void whileModal(const QString &objectName, const std::function<void(QWidget *)> &answer)
    {
        QTimer::singleShot(0, [objectName, answer] {
            QWidget *dialog = QApplication::activeModalWidget();
            ASSERT_TRUE(dialog);
            ASSERT_EQ(dialog->objectName(), objectName);
            answer(dialog);
        });
    }

    // Opens a stored test by typing its name in the Open dialog.
    void openTest(const QString &name)
    {
        whileModal(QStringLiteral("OpenTest"), [name](QWidget *dialog) {
            dialog->findChild<QLineEdit *>(QStringLiteral("txtSeqName"))->setText(name);
            dialog->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
        });
        window->cmdOpen_Click();
        ASSERT_EQ(state.CurrentTestName, name);
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
