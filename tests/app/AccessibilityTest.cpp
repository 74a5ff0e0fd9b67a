// Every screen driven the way assistive technology and the keyboard drive it, through Qt's accessibility
// interface and key presses only.
#include "app/MainController.h"
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "calcheck/frmCaliCheck.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "common/RotorBobTable.h"
#include "directlog/frmDirectLog.h"
#include "platform/ChartModel.h"
#include "platform/PortMap.h"
#include "realtime/frmRealRelated.h"
#include "realtime/frmRealTime.h"
#include "results/MainChartController.h"
#include "sequence/frmAddEditStep.h"
#include "sequence/frmCopyPaste.h"
#include "sequence/frmDel.h"
#include "sequence/frmInsertStep.h"
#include "sequence/frmSetup.h"
#include "store/Database.h"
#include "store/OpenTest.h"
#include "store/frmOverlapTestName.h"
#include "store/frmRelated.h"
#include "store/frmSearch.h"
#include "tests/calcheck/CalCheckFixture.h"
#include "tests/link/LinkFixture.h"
#include "tests/support/AccessibleTree.h"
#include "tests/support/TempDir.h"

#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Accessibility : public ::testing::Test {
protected:
    Accessibility()
    {
        EXPECT_TRUE(db.open(dir.file(Database::defaultFileName())));
        ctx.state = &state;
        ctx.prompts = &prompts;
        ctx.clock = &clock;
        ctx.database = &db;
        ctx.ports = &ports;
        ctx.workDir = dir.path();
        ctx.makePort = [this] { return std::make_unique<PortProxy>(port); };
        RotorBobTable::select(0, state);
    }

    TempDir dir;
    Database db;
    ProgramState state;
    ScriptedPrompts prompts;
    VirtualClock clock;
    PortMap ports;
    FakeSerialPort port{&clock};
    AppContext ctx;
};

// Shows a window and makes it the active one, as a user's click or Alt+Tab would.
void activate(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    EXPECT_TRUE(QTest::qWaitForWindowActive(w));
}

// Text typed into a field through the accessibility interface.
void typeInto(QAccessibleInterface *field, const QString &text)
{
    ASSERT_TRUE(field);
    QAccessibleEditableTextInterface *edit = field->editableTextInterface();
    ASSERT_TRUE(edit);
    QAccessibleTextInterface *current = field->textInterface();
    edit->replaceText(0, current ? current->characterCount() : 0, text);
}

QString press = QAccessibleActionInterface::pressAction();
QString toggle = QAccessibleActionInterface::toggleAction();

} // namespace

// The real-time and direct-logging screens are windows to assistive technology, named by their titles.
TEST_F(Accessibility, ScreensAreAnnouncedAsWindowsNamedByTheirTitles)
{
    frmRealTime realTime(ctx);
    frmDirectLog logging(ctx);
    frmMain main(ctx);
    const std::pair<QWidget *, const char *> screens[] = {
        {&realTime, "Real Time Test"}, {&logging, "Direct Data Logging"}, {&main, "K7100DAQ  version 2.0.0.12"}};
    for (const auto &[screen, title] : screens) {
        SCOPED_TRACE(title);
        screen->show();
        QAccessibleInterface *window = AccessibleTree::root(screen);
        ASSERT_TRUE(window);
        EXPECT_EQ(window->role(), QAccessible::Window);
        EXPECT_EQ(AccessibleTree::name(window), QString::fromUtf8(title));
        // Its controls are found in it like any window's.
        EXPECT_TRUE(AccessibleTree::find(screen, QAccessible::PushButton, QString()));
    }
}

// No button, option, box, list, grid or text field of any screen or dialog is nameless to a screen reader
// (the direct-logging boxes one types the speed and rate into included).
TEST_F(Accessibility, EveryInputOfEveryScreenAndDialogHasAName)
{
    frmMain main(ctx);
    MainController controller(ctx, main);
    frmSetup setup(ctx);
    setup.showFromMain();
    frmRealTime realTime(ctx);
    frmDirectLog logging(ctx);
    frmCaliCheck calibration(ctx);
    frmRealRelated naming(ctx);
    OpenTest open(ctx);
    frmSearch search(ctx);
    frmRelated related(ctx);
    frmOverlapTestName overlap(ctx);
    frmAddEditStep edit(false, 1.0f, 1.0, prompts);
    frmInsertStep insert(false, 1.0f, 1.0, prompts);
    frmCopyPaste copy(3, 1.0, prompts);
    frmDel remove(3, 1.0);
    frmAbout about(1.0);
    QWidget *windows[] = {&main,    &setup,   &realTime, &logging, &calibration, &naming, &open, &search,
                          &related, &overlap, &edit,     &insert,  &copy,        &remove, &about};
    for (QWidget *w : windows) {
        SCOPED_TRACE(w->objectName().toStdString());
        w->show();
        EXPECT_EQ(AccessibleTree::unnamedInputs(w), QStringList());
        w->hide();
    }
    // The custom factors' fields appear with "Yes"; they are named too.
    naming.show();
    AccessibleTree::act(AccessibleTree::find(&naming, QAccessible::RadioButton, QStringLiteral("Yes")), toggle);
    EXPECT_EQ(AccessibleTree::unnamedInputs(&naming), QStringList());
}

// An option button chosen through the accessibility interface's "toggle" does what a click does.
TEST_F(Accessibility, OptionButtonsActWhenToggledByAssistiveTechnology)
{
    // The naming dialog's custom rotor-bob "Yes": the factor fields appear and the test is named custom.
    {
        frmRealRelated naming(ctx);
        naming.show();
        AccessibleTree::act(AccessibleTree::find(&naming, QAccessible::RadioButton, QStringLiteral("Yes")), toggle);
        typeInto(AccessibleTree::find(&naming, QAccessible::EditableText, QStringLiteral("Test Name")),
                 QStringLiteral("Custom run"));
        typeInto(AccessibleTree::find(&naming, QAccessible::EditableText, QStringLiteral("Shear Stress Factor")),
                 QStringLiteral("2"));
        typeInto(AccessibleTree::find(&naming, QAccessible::EditableText, QStringLiteral("Shear Rate Factor")),
                 QStringLiteral("0.5"));
        ASSERT_TRUE(
            AccessibleTree::act(AccessibleTree::find(&naming, QAccessible::PushButton, QStringLiteral("OK")), press));
        EXPECT_EQ(naming.result(), QDialog::Accepted);
        EXPECT_TRUE(state.CustomRB);
        EXPECT_EQ(state.CustomStressFactor, 2.0);
        EXPECT_EQ(state.CustomRateFactor, 0.5);
    }
    // The real-time screen's save rate and averaging.
    {
        frmRealTime realTime(ctx);
        realTime.show();
        AccessibleTree::act(
            AccessibleTree::find(&realTime, QAccessible::RadioButton, QStringLiteral("1 data per 60 sec")), toggle);
        EXPECT_EQ(realTime.saveInterval(), 60);
        EXPECT_FALSE(AccessibleTree::find(&realTime, QAccessible::EditableText, QStringLiteral("Average")));
        AccessibleTree::act(AccessibleTree::find(&realTime, QAccessible::RadioButton, QStringLiteral("Yes")), toggle);
        EXPECT_TRUE(AccessibleTree::find(&realTime, QAccessible::EditableText, QStringLiteral("Average")));
    }
    // The main window's scale options.
    {
        frmMain main(ctx);
        MainController controller(ctx, main);
        main.show();
        AccessibleTree::act(AccessibleTree::find(&main, QAccessible::RadioButton, QStringLiteral("X Scale: Log")),
                            toggle);
        AccessibleTree::act(AccessibleTree::find(&main, QAccessible::RadioButton, QStringLiteral("Y Scale: Log")),
                            toggle);
        EXPECT_EQ(controller.chart().model().xScale(), AxisScale::Log);
        EXPECT_EQ(controller.chart().model().yScale(), AxisScale::Log);
    }
}

// Where the program sets the scale options itself (resetting to "Normal" when a chart is drawn anew) the
// options do not run their commands again: each choice of the user runs its command exactly once.
TEST_F(Accessibility, ScaleOptionsRunOncePerChoiceAndNotWhenTheProgramSetsThem)
{
    frmMain main(ctx);
    MainController controller(ctx, main);
    main.show();
    QSignalSpy x(&main, &frmMain::xScaleChosen);
    QSignalSpy y(&main, &frmMain::yScaleChosen);
    AccessibleTree::act(AccessibleTree::find(&main, QAccessible::RadioButton, QStringLiteral("X Scale: Log")), toggle);
    EXPECT_EQ(x.count(), 1);
    EXPECT_EQ(y.count(), 0);
    main.yLogOption()->click(); // the pointer
    EXPECT_EQ(y.count(), 1);

    controller.chart().setScalesNormal();
    EXPECT_TRUE(main.xNormalOption()->isChecked());
    EXPECT_TRUE(main.yNormalOption()->isChecked());
    EXPECT_EQ(controller.chart().model().xScale(), AxisScale::Linear);
    EXPECT_EQ(x.count(), 1);
    EXPECT_EQ(y.count(), 1);
}

// A label that shows a value is read as the value shown, whatever it shows now; what the value is comes as
// its description. (A label named otherwise would be read by that name and its changes never told.)
TEST_F(Accessibility, ValueLabelsAreReadAsTheValueTheyShowNow)
{
    frmCaliCheck calibration(ctx);
    calibration.show();
    typeInto(
        AccessibleTree::find(&calibration, QAccessible::EditableText, QStringLiteral("Calibration Fluid Viscosity")),
        QStringLiteral("100"));
    ASSERT_TRUE(AccessibleTree::act(
        AccessibleTree::find(&calibration, QAccessible::PushButton, QStringLiteral("Start")), press));
    QAccessibleInterface *status =
        AccessibleTree::find(&calibration, QAccessible::StaticText, QString(), QStringLiteral("Current Status"));
    ASSERT_TRUE(status);
    EXPECT_EQ(AccessibleTree::name(status), QStringLiteral("Auto Calibration Check In Progress... "));
    QAccessibleInterface *error =
        AccessibleTree::find(&calibration, QAccessible::StaticText, QString(), QStringLiteral("Error (dyn/cm2) row 4"));
    ASSERT_TRUE(error);
    EXPECT_EQ(AccessibleTree::name(error), QStringLiteral("N/A"));
    port.feed(calcheck::reading(4, 28, 98));
    calibration.session().tick();
    EXPECT_EQ(AccessibleTree::name(error), QStringLiteral("-2.0"));
    EXPECT_EQ(AccessibleTree::name(AccessibleTree::find(&calibration, QAccessible::StaticText, QString(),
                                                        QStringLiteral("Shear Stress  (dyn/cm2) row 4"))),
              QStringLiteral("100"));

    frmMain main(ctx);
    main.show();
    QAccessibleInterface *time =
        AccessibleTree::find(&main, QAccessible::StaticText, QString(), QStringLiteral("Time"));
    ASSERT_TRUE(time);
    const auto shown = [this] { return clock.currentDateTime().toString(QStringLiteral("hh:mm:ss")); };
    EXPECT_EQ(AccessibleTree::name(time), shown());
    clock.advance(65);
    main.updateClock();
    EXPECT_EQ(AccessibleTree::name(time), shown());

    frmRealTime realTime(ctx);
    realTime.show();
    for (const char *panel : {"Status", "Elapsed Time"}) {
        QAccessibleInterface *e =
            AccessibleTree::find(&realTime, QAccessible::StaticText, QString(), QString::fromLatin1(panel));
        ASSERT_TRUE(e) << panel;
        EXPECT_EQ(AccessibleTree::name(e), qobject_cast<QLabel *>(e->object())->text()) << panel;
    }
    for (int i = 0; i < RealTimeReadouts::Count; ++i) {
        auto *value = realTime.findChild<QLabel *>(QStringLiteral("Label3(%1)").arg(i));
        auto *caption = realTime.findChild<QLabel *>(QStringLiteral("Label2(%1)").arg(i));
        ASSERT_TRUE(value && caption);
        value->setText(QStringLiteral("12.5"));
        QAccessibleInterface *e = QAccessible::queryAccessibleInterface(value);
        EXPECT_EQ(AccessibleTree::name(e), QStringLiteral("12.5")) << i;
        EXPECT_EQ(AccessibleTree::description(e), caption->text()) << i;
    }

    state.NewTestMode = true;
    frmRelated related(ctx);
    related.show();
    EXPECT_EQ(AccessibleTree::name(
                  AccessibleTree::find(&related, QAccessible::StaticText, QString(), QStringLiteral("Status"))),
              QStringLiteral("New test"));
}

// Tab visits the controls in the order they are laid out, and never gets stuck in a text field.
TEST_F(Accessibility, TabOrderFollowsTheLayout)
{
    frmDirectLog logging(ctx);
    frmRealRelated naming(ctx);
    frmCaliCheck calibration(ctx);
    OpenTest open(ctx);
    frmAddEditStep edit(false, 1.0f, 1.0, prompts);
    struct Case {
        QWidget *window;
        QWidget *first;
        QStringList order;
    };
    const Case cases[] = {
        {&logging,
         logging.findChild<QWidget *>("cmbSpeed"),
         {"cmbSpeed", "cmbRate", "txtFileName", "cmdRun", "Command1", "cmdExit"}},
        {&naming,
         naming.findChild<QWidget *>("txtTestName"),
         {"txtTestName", "txtMudId", "txtSampleTime", "txtCompanyName", "txtDesc", "Option1", "cmdOk", "cmdCancel"}},
        {&calibration, calibration.findChild<QWidget *>("txtVisc"), {"txtVisc", "cmdStart", "cmdReturn", "cmdExport"}},
        {&open,
         open.findChild<QWidget *>("List1"),
         {"List1", "txtSeqName", "cmdOk", "cmdCancel", "cmdDelete", "cmdSearch"}},
        {&edit,
         edit.findChild<QWidget *>("txtStepNo"),
         {"txtStepNo", "txtTime", "txtTemp", "txtSpeed", "txtShearrate", "txtRecordRate", "cmdOk", "cmdCancel"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.window->objectName().toStdString());
        activate(c.window);
        ASSERT_TRUE(c.first);
        c.first->setFocus(Qt::TabFocusReason);
        QStringList order = AccessibleTree::tabOrder(c.window);
        // Pieces of the chart view take the focus too; they are not controls of their own.
        order.removeAll(QString());
        EXPECT_EQ(order, c.order);
        c.window->hide();
    }
}

// Enter presses the focused button and Escape the screen's leaving button, also on the screens that are no
// dialogs; the buttons' access keys work; in a dialog Enter is its default button.
TEST_F(Accessibility, EnterEscapeAndAccessKeysWorkOnScreensAndDialogs)
{
    {
        frmDirectLog logging(ctx);
        activate(&logging);
        QWidget *run = logging.findChild<QWidget *>("cmdRun");
        run->setFocus(Qt::TabFocusReason);
        prompts.clear();
        QTest::keyClick(run, Qt::Key_Return);
        EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("Please first input Data File Name.")});

        prompts.clear();
        QTest::keyClick(&logging, Qt::Key_R, Qt::AltModifier); // "&Run", pressed a moment later
        EXPECT_TRUE(QTest::qWaitFor([&] { return !prompts.records.isEmpty(); }, 1000));
        EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("Please first input Data File Name.")});

        QTest::keyClick(logging.findChild<QWidget *>("txtFileName"), Qt::Key_Escape);
        EXPECT_FALSE(logging.isVisible());
    }
    {
        frmRealTime realTime(ctx);
        QSignalSpy returned(&realTime, &frmRealTime::returned);
        activate(&realTime);
        QTest::keyClick(&realTime, Qt::Key_Escape);
        EXPECT_EQ(returned.count(), 1);
        activate(&realTime);
        QTest::keyClick(&realTime, Qt::Key_R, Qt::AltModifier); // "&Return"
        EXPECT_TRUE(QTest::qWaitFor([&] { return returned.count() == 2; }, 1000));
    }
    {
        frmCaliCheck calibration(ctx);
        activate(&calibration);
        auto *viscosity = calibration.findChild<QLineEdit *>("txtVisc");
        viscosity->setFocus(Qt::TabFocusReason);
        viscosity->setText(QStringLiteral("6000"));
        prompts.clear();
        QTest::keyClick(viscosity, Qt::Key_Return); // Start
        EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("Viscosity measurement out of range.")});
        EXPECT_TRUE(calibration.isVisible());
        QTest::keyClick(viscosity, Qt::Key_Escape); // Return
        EXPECT_FALSE(calibration.isVisible());
        EXPECT_EQ(calibration.result(), QDialog::Rejected);
    }
}
