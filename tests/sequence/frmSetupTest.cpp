#include "sequence/StepTable.h"
#include "tests/sequence/SetupScreenFixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>

class SetupScreenTest : public SetupScreenFixture {
protected:
    QString cell(int row, int column) { return grid()->item(row - 1, column)->text(); }
    QStringList listTexts()
    {
        QStringList out;
        auto *list = child<QListWidget>("List1");
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    void chooseRotorBob(const char *text)
    {
        auto *box = child<QComboBox>("cmbRbselect");
        const int i = box->findText(QString::fromLatin1(text));
        ASSERT_GE(i, 0);
        box->setCurrentIndex(i);
        emit box->activated(i);
    }
};

TEST_F(SetupScreenTest, ControlsCarryTheirCaptionsToolTipsAndNames)
{
    open();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("K7100DAQ Setup"));
    struct Button {
        const char *name, *caption, *toolTip;
    };
    const Button buttons[] = {
        {"cmdNew", "&New", "Click here to create a new test sequence"},
        {"cmdSaveAs", "Save &As", "Click here to save the selected test sequence with a new name"},
        {"cmdDelete", "&Delete", "Click here to delete the selected test sequence"},
        {"cmdEditStep", "Ed&it current step", "Click here to edit the seleted test step"},
        {"cmdInsertStep", "&Insert new step", "Click here to insert a new test step into the current test sequence"},
        {"cmdDeleteStep", "De&lete step", "Click here to delete the selected test step from the current test sequence"},
        {"cmdCopyPaste", "Copy && P&aste", "Click here to copy & paste test steps"},
        {"cmdPrint", "&Print steps", "Click here to print sequence steps"},
        {"cmdSend", "Send to &K7100", "Click here to send the selected test sequence to K7100"},
        {"cmdReturn", "&Return", "Click here to return to main menu"},
        {"Option1", "EI", "Click here to select English Units"},
        {"Option2", "SI", "Click here to select Metric Units"},
        {"radBfc", "Best Fit Power", ""},
        {"radBfl", "Best Fit Linear", ""},
        {"radSpline", "Spline", ""},
        {"radLinear", "Linear", ""},
    };
    for (const Button &b : buttons) {
        SCOPED_TRACE(b.name);
        auto *w = child<QAbstractButton>(b.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(b.toolTip));
        EXPECT_FALSE(w->accessibleName().isEmpty());
        EXPECT_FALSE(w->accessibleName().contains(QLatin1Char('&')) && !w->text().contains(QStringLiteral("&&")));
    }
    EXPECT_EQ(child<QAbstractButton>("cmdCopyPaste")->accessibleName(), QStringLiteral("Copy & Paste"));
    EXPECT_EQ(grid()->toolTip(), QStringLiteral("Select the desired test step by clicking on it"));
    EXPECT_EQ(child<QComboBox>("cmbRbselect")->toolTip(),
              QStringLiteral("Use this drop-down menu to specify correct rotor and bob information"));
    EXPECT_TRUE(child<QComboBox>("cmbComm")->toolTip().startsWith(
        QStringLiteral("Use this drop-down menu to select a software communications port")));

    // Inputs and lists are named after the label beside them.
    const std::pair<const char *, const char *> labelled[] = {{"List1", "Saved test sequences"},
                                                              {"cmbRbselect", "Rotor Bob Selection"},
                                                              {"cmbComm", "Comm Port No."},
                                                              {"txtSF", "Adjust Screen size *"}};
    for (const auto &[name, accessible] : labelled)
        EXPECT_EQ(child<QWidget>(name)->accessibleName(), QString::fromUtf8(accessible)) << name;
    for (QLabel *l : screen->findChildren<QLabel *>()) {
        if (l->buddy()) {
            EXPECT_EQ(l->buddy()->accessibleName(), l->text().remove(QLatin1Char(':')).trimmed());
        }
    }
    EXPECT_FALSE(grid()->accessibleName().isEmpty());

    QStringList groups;
    for (QGroupBox *g : screen->findChildren<QGroupBox *>())
        groups << g->title();
    groups.sort();
    EXPECT_EQ(groups, (QStringList{"Charting Type", "Unit Selection"}));
    EXPECT_NE(screen->findChild<QWidget *>(QStringLiteral("StatusBar1")), nullptr);
    EXPECT_NE(screen->findChild<QLabel *>(QStringLiteral("Time")), nullptr);
}

TEST_F(SetupScreenTest, TimePanelIsAClockThatTicksWhileTheScreenIsShown)
{
    clock.setStartDateTime(QDateTime(QDate(2026, 1, 15), QTime(8, 43, 20))); // the clock reads 1000 s later
    open();
    auto *time = child<QLabel>("Time");
    EXPECT_EQ(time->text(), "09:00:00");
    auto *timer = child<QTimer>("tmrClock");
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isActive());
    clock.advance(3725);
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    EXPECT_EQ(time->text(), "10:02:05");

    child<QPushButton>("cmdReturn")->click();
    EXPECT_FALSE(timer->isActive()) << "no ticking behind the main window";
}

TEST_F(SetupScreenTest, MenusHoldTheirEntriesInOrder)
{
    open();
    QStringList layout;
    for (QAction *top : screen->menuBar()->actions()) {
        QStringList entries;
        for (QAction *a : top->menu()->actions())
            entries << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + QLatin1Char('=') + a->text());
        layout << top->text() + QStringLiteral(": ") + entries.join(QStringLiteral(", "));
    }
    EXPECT_EQ(layout,
              (QStringList{
                  "&File: MenuFilenew=&New Sequence, MenuFilesaveas=Save Sequence &As, "
                  "MenuFileDelete=&Delete Sequence, -, MenuReturn=&Return",
                  "&Unit: MenuUnitEI=&EI Unit, MenuUnitSI=&SI Unit",
                  "&Sequence: MenuAddStep=&Add Step, MenuDeleteStep=&Delete Step, -, MenuSend=&Send ",
                  "&About: MenuHelpAbout=&About",
              }));
}

TEST_F(SetupScreenTest, LoadSelectsTheFirstSequenceWithItsStoredRotorBob)
{
    library().create(QStringLiteral("Fast"), 2, {{1, 600, 100, 100, 10}});
    library().create(QStringLiteral("Slow"), 1, {{1, 60, 150, 3, 1}, {2, 60, 150, 6, 1}});
    open();
    EXPECT_EQ(listTexts(), (QStringList{"Fast", "Slow"}));
    EXPECT_EQ(child<QListWidget>("List1")->currentRow(), 0);
    EXPECT_EQ(child<QComboBox>("cmbRbselect")->currentText(), QStringLiteral("R2-B1"));
    EXPECT_EQ(state.RotorBob, 2);
    EXPECT_EQ(state.RateFactor, 3.185f);
    EXPECT_EQ(state.CurrentSequence, QStringLiteral("Fast"));
    ASSERT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(cell(1, 4), QStringLiteral("542.18"));
    EXPECT_EQ(grid()->property("FormatString").toString(), StepTable::headerFormat(false));
    EXPECT_EQ(grid()->horizontalHeaderItem(2)->text(), QStringLiteral("Temp\n(F°)"));

    child<QListWidget>("List1")->setCurrentRow(1);
    EXPECT_EQ(state.CurrentSequence, QStringLiteral("Slow"));
    EXPECT_EQ(state.RotorBob, 1);
    ASSERT_EQ(grid()->rowCount(), 2);
    EXPECT_EQ(cell(2, 3), QStringLiteral("6.00"));
    EXPECT_EQ(screen->curSeqId(), 2);
}

TEST_F(SetupScreenTest, EmptyLibraryShowsAnEmptyTableAndTheFirstSequenceGetsIdOne)
{
    open();
    EXPECT_EQ(grid()->rowCount(), 0);
    EXPECT_FALSE(child<QPushButton>("cmdDelete")->isEnabled());
    EXPECT_FALSE(menu("MenuFileDelete")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("cmdCopyPaste")->isEnabled());
    child<QPushButton>("cmdDelete")->click();
    child<QPushButton>("cmdEditStep")->click();
    EXPECT_TRUE(prompts.records.isEmpty());

    prompts.inputAnswers.push_back(QStringLiteral("First"));
    child<QPushButton>("cmdNew")->click();
    EXPECT_EQ(listTexts(), (QStringList{"First"}));
    EXPECT_EQ(screen->curSeqId(), 1);
    EXPECT_TRUE(child<QPushButton>("cmdDelete")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("cmdCopyPaste")->isEnabled());
}

TEST_F(SetupScreenTest, NewSequenceIsAddedAtTheEndSelectedWithItsDefaultStep)
{
    library().create(QStringLiteral("Existing"), 1);
    state.UnitSystem = UnitsSI;
    open();
    chooseRotorBob("R1-B5");
    prompts.inputAnswers.push_back(QStringLiteral("Brand new"));
    menu("MenuFilenew")->trigger();
    EXPECT_EQ(listTexts(), (QStringList{"Existing", "Brand new"}));
    EXPECT_EQ(child<QListWidget>("List1")->currentRow(), 1);
    EXPECT_EQ(library().byName(QStringLiteral("Brand new"))->rotorBob, 5);
    ASSERT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(screen->tableRows()[0], (QStringList{"1", "600", "37.8", "100.00", "85.03", "10"}));
}

TEST_F(SetupScreenTest, SaveAsOnACelsiusScreenStoresFahrenheit)
{
    library().create(QStringLiteral("Source"), 1, {{1, 600, 100, 100, 10}, {2, 300, 212, 300, 5}});
    state.UnitSystem = UnitsSI;
    open();
    EXPECT_EQ(cell(1, 2), QStringLiteral("37.8"));
    EXPECT_EQ(cell(2, 2), QStringLiteral("100.0"));
    prompts.inputAnswers = {QStringLiteral("Copy"), QString()};
    child<QPushButton>("cmdSaveAs")->click();
    EXPECT_EQ(listTexts(), (QStringList{"Source", "Copy"}));
    const auto copy = library().byName(QStringLiteral("Copy"));
    ASSERT_TRUE(copy.has_value());
    const QList<SequenceStep> steps = library().steps(copy->id);
    ASSERT_EQ(steps.size(), 2);
    EXPECT_NEAR(steps[0].temperature, 100, 1e-9);
    EXPECT_NEAR(steps[1].temperature, 212, 1e-9);
    EXPECT_EQ(cell(1, 2), QStringLiteral("37.8"));

    // A new target typed on a Celsius screen is still degrees Fahrenheit.
    prompts.inputAnswers = {QStringLiteral("Warm"), QStringLiteral("150")};
    menu("MenuFilesaveas")->trigger();
    EXPECT_EQ(library().steps(library().byName(QStringLiteral("Warm"))->id)[1].temperature, 150);
    EXPECT_EQ(cell(1, 2), QStringLiteral("65.6"));
}

TEST_F(SetupScreenTest, DeleteButtonAsksAndTheMenuDoesNot)
{
    library().create(QStringLiteral("A"), 1);
    library().create(QStringLiteral("B"), 1);
    library().create(QStringLiteral("C"), 1);
    open();
    child<QListWidget>("List1")->setCurrentRow(1);

    prompts.messageAnswers = {MsgAnswer::Cancel};
    child<QPushButton>("cmdDelete")->click();
    EXPECT_EQ(listTexts(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Do you really want to delete the test named 'B' ?"));

    prompts.messageAnswers = {MsgAnswer::Ok};
    child<QPushButton>("cmdDelete")->click();
    EXPECT_EQ(listTexts(), (QStringList{"A", "C"}));
    EXPECT_EQ(child<QListWidget>("List1")->currentRow(), 0); // the first one is selected afterwards

    child<QListWidget>("List1")->setCurrentRow(1);
    prompts.clear();
    menu("MenuFileDelete")->trigger();
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(listTexts(), (QStringList{"A"}));
    EXPECT_EQ(state.CurrentSequence, QStringLiteral("A"));
}

TEST_F(SetupScreenTest, RotorBobChangesTheShearRateColumnButNotTheStoredCode)
{
    library().create(QStringLiteral("S"), 1);
    open();
    struct Case {
        const char *rotorBob;
        const char *shearRate;
        int code;
        float stress;
    };
    const Case cases[] = {{"R2-B1", "542.18", 2, 1.0f},
                          {"R1-B2", "37.71", 4, 1.973f},
                          {"R3-B1", "37.71", 3, 1.0f},
                          {"R1-B4", "26.79", 6, 8.012f},
                          {"R1-B1", "170.23", 1, 1.0f}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rotorBob);
        chooseRotorBob(c.rotorBob);
        EXPECT_EQ(cell(1, 4), QString::fromLatin1(c.shearRate));
        EXPECT_EQ(state.RotorBob, c.code);
        EXPECT_EQ(state.StressFactor, c.stress);
    }
    chooseRotorBob("R2-B1");
    EXPECT_EQ(library().byName(QStringLiteral("S"))->rotorBob, 1);
}

TEST_F(SetupScreenTest, UnitOptionsReloadTheTableAndMarkTheChange)
{
    library().create(QStringLiteral("S"), 1);
    open();
    EXPECT_TRUE(child<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(state.UnitsChanged);

    child<QRadioButton>("Option2")->click();
    EXPECT_EQ(state.UnitSystem, UnitsSI);
    EXPECT_TRUE(state.UnitsChanged);
    EXPECT_EQ(cell(1, 2), QStringLiteral("37.8"));
    EXPECT_EQ(grid()->horizontalHeaderItem(2)->text(), QStringLiteral("Temp\n(C°)"));
    EXPECT_EQ(grid()->property("FormatString").toString(), StepTable::headerFormat(true));
    EXPECT_EQ(library().steps(screen->curSeqId())[0].temperature, 100); // stored values stay Fahrenheit

    state.UnitsChanged = false;
    menu("MenuUnitEI")->trigger();
    EXPECT_TRUE(child<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("Option2")->isChecked());
    EXPECT_EQ(state.UnitSystem, UnitsEI);
    EXPECT_TRUE(state.UnitsChanged);
    EXPECT_EQ(cell(1, 2), QStringLiteral("100.0"));

    state.UnitsChanged = false;
    menu("MenuUnitEI")->trigger(); // no change, nothing to redraw
    EXPECT_FALSE(state.UnitsChanged);
    menu("MenuUnitSI")->trigger();
    EXPECT_TRUE(child<QRadioButton>("Option2")->isChecked());
    EXPECT_EQ(state.UnitSystem, UnitsSI);
}

TEST_F(SetupScreenTest, PortListShowsTheDeviceEachEntryStandsFor)
{
    QFile f(dir.file(QStringLiteral("ports.txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("7 = /dev/ttyUSB0\n");
    f.close();
    ports.load(dir.path());
    open();
    auto *comm = child<QComboBox>("cmbComm");
    ASSERT_EQ(comm->count(), 20);
    EXPECT_EQ(comm->itemText(0), QStringLiteral("Comm 1"));
    EXPECT_EQ(comm->itemText(19), QStringLiteral("Comm 20"));
    comm->setCurrentIndex(6);
    emit comm->activated(6);
    EXPECT_EQ(state.CommPortNumber, 7);
    EXPECT_TRUE(comm->toolTip().endsWith(QStringLiteral("\nComm 7 is /dev/ttyUSB0")));
    EXPECT_EQ(comm->itemData(6, Qt::ToolTipRole).toString(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(comm->itemData(0, Qt::ToolTipRole).toString(), PortMap::defaultDevice(1));
}

TEST_F(SetupScreenTest, LoadTakesPortUnitsAndFactorFromTheSettingsFile)
{
    writeSettings(" 6 \r\n 2 \r\n .95 \r\n");
    state.DebugMode = true;
    open();
    EXPECT_EQ(child<QComboBox>("cmbComm")->currentIndex(), 6);
    EXPECT_EQ(state.CommPortNumber, 7);
    EXPECT_TRUE(child<QRadioButton>("Option2")->isChecked());
    EXPECT_EQ(state.UnitSystem, UnitsSI);
    EXPECT_EQ(child<QLineEdit>("txtSF")->text(), QStringLiteral("0.95"));
    EXPECT_EQ(state.ScreenFactor, 0.95);
    ASSERT_NE(prompts.lastMessage(), nullptr);
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Comm port added OK"));
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("K7100DAQ"));
}

TEST_F(SetupScreenTest, SettingsFileEndingAfterLineTwoGivesFactorOne)
{
    writeSettings(" 0 \r\n 1 \r\n");
    state.ScreenFactor = 0.95;
    open();
    EXPECT_EQ(state.ScreenFactor, 1.0);
    EXPECT_EQ(child<QLineEdit>("txtSF")->text(), QStringLiteral("1"));
    EXPECT_TRUE(prompts.records.isEmpty()); // no debug message outside debug mode
}

TEST_F(SetupScreenTest, ReturnWritesTheSettingsAndTheMenuReturnDoesNot)
{
    writeSettings(" 0 \r\n 1 \r\n 1 \r\n");
    open();
    QSignalSpy returned(screen.get(), &frmSetup::returned);
    auto *comm = child<QComboBox>("cmbComm");
    comm->setCurrentIndex(6);
    emit comm->activated(6);
    child<QRadioButton>("Option2")->click();
    child<QLineEdit>("txtSF")->setText(QStringLiteral("0.95"));

    menu("MenuReturn")->trigger();
    EXPECT_EQ(readSettings(), QByteArray(" 0 \r\n 1 \r\n 1 \r\n"));
    EXPECT_EQ(returned.count(), 1);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_TRUE(screen->isLoaded());
    EXPECT_EQ(state.ScreenFactor, 1.0);

    screen->showFromMain();
    child<QPushButton>("cmdReturn")->click();
    EXPECT_EQ(readSettings(), QByteArray(" 6 \r\n 2 \r\n .95 \r\n"));
    EXPECT_EQ(state.ScreenFactor, 0.95);
    EXPECT_EQ(state.CommPortNumber, 7);
    EXPECT_EQ(returned.count(), 2);
    EXPECT_FALSE(screen->isVisible());
}

TEST_F(SetupScreenTest, ScreenFactorThatIsNoNumberOrOutsideTheUsableRangeKeepsThePreviousOne)
{
    writeSettings(" 0 \r\n 1 \r\n .95 \r\n");
    open();
    struct Case {
        const char *typed;
        bool told; // a number outside the range is explained; a text that is no number is not
    };
    for (const Case c : {Case{"abc", false}, Case{"", false}, Case{"0", true}, Case{"-2", true}, Case{"1e308", true},
                         Case{"1.25", true}, Case{"0.5", true}}) {
        SCOPED_TRACE(c.typed);
        prompts.clear();
        screen->showFromMain();
        child<QLineEdit>("txtSF")->setText(QString::fromLatin1(c.typed));
        child<QPushButton>("cmdReturn")->click();
        EXPECT_EQ(state.ScreenFactor, 0.95);
        EXPECT_EQ(readSettings(), QByteArray(" 0 \r\n 1 \r\n .95 \r\n"));
        EXPECT_EQ(child<QLineEdit>("txtSF")->text(), QStringLiteral("0.95"));
        ASSERT_EQ(prompts.messageTexts().size(), c.told ? 1 : 0);
        if (c.told) {
            EXPECT_EQ(prompts.messageTexts()[0],
                      QStringLiteral("The screen size factor %1 is outside the range 0.9 to 1 in which every window "
                                     "stays usable (the factor scales each control twice). The factor 0.95 is used "
                                     "instead.")
                          .arg(QString::fromLatin1(c.typed)));
        }
    }
}

TEST_F(SetupScreenTest, PlottingOptionsSetTheMainChartsMethod)
{
    open();
    EXPECT_TRUE(child<QRadioButton>("radLinear")->isChecked());
    QSignalSpy chosen(screen.get(), &frmSetup::plottingMethodChanged);
    const std::pair<const char *, int> options[] = {{"radBfl", 2}, {"radBfc", 3}, {"radSpline", 1}, {"radLinear", 0}};
    for (const auto &[name, method] : options) {
        child<QRadioButton>(name)->click();
        EXPECT_EQ(state.PlottingMethod, method) << name;
        EXPECT_EQ(chosen.last().at(0).toInt(), method) << name;
    }
    EXPECT_EQ(chosen.count(), 4);
}

TEST_F(SetupScreenTest, ClosingThroughTheFrameReturnsAndTheNextOpenLoadsAgain)
{
    library().create(QStringLiteral("S"), 1);
    open();
    QSignalSpy returned(screen.get(), &frmSetup::returned);
    writeSettings(" 3 \r\n 2 \r\n 1 \r\n");
    screen->close();
    EXPECT_EQ(returned.count(), 1);
    EXPECT_FALSE(screen->isLoaded());
    EXPECT_EQ(readSettings(), QByteArray(" 3 \r\n 2 \r\n 1 \r\n")); // closing saves nothing

    screen->showFromMain();
    EXPECT_EQ(child<QComboBox>("cmbComm")->currentIndex(), 3);
    EXPECT_EQ(state.UnitSystem, UnitsSI);
    EXPECT_EQ(grid()->rowCount(), 1);
}

TEST_F(SetupScreenTest, PrintStepsPrintsTheTableAsShown)
{
    library().create(QStringLiteral("Printed"), 1, {{1, 600, 100, 100, 10}, {2, 60, 150, 300, 1}});
    open();
    prompts.printPdfPath = dir.file(QStringLiteral("list.pdf"));
    child<QPushButton>("cmdPrint")->click();
    ASSERT_TRUE(QFile::exists(prompts.printPdfPath));
    EXPECT_GT(QFile(prompts.printPdfPath).size(), 0);
    EXPECT_EQ(prompts.records.last().kind, PromptRecord::Print);
}

TEST_F(SetupScreenTest, SendWritesTheSelectedSequenceAndReportsOnTheStatusBar)
{
    library().create(QStringLiteral("Two"), 1, {{1, 60, 120, 300, 10}, {2, 600, 150, 3, 10}});
    open();
    menu("MenuSend")->trigger();
    EXPECT_EQ(port.written(),
              QByteArray("\x03"
                         "01,00060,120,30000,111"
                         "02,00600,150,00300,111"
                         "99"));
    EXPECT_TRUE(state.SequenceSent);
    EXPECT_EQ(child<QLabel>("Status")->text(), QStringLiteral("Finished sending test steps."));
    EXPECT_FALSE(child<QProgressBar>("ProgressBar1")->isVisible());
    EXPECT_EQ(child<QProgressBar>("ProgressBar1")->value(), 2);
}

TEST_F(SetupScreenTest, AboutUsesTheMainWindowsBoxWhenConnected)
{
    open();
    int shown = 0;
    screen->aboutHandler = [&] { ++shown; };
    menu("MenuHelpAbout")->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(prompts.records.isEmpty());
}

// Opening a test sets RotorBob to that test's code (for a custom rotor-bob the factor x 1000) while the
// setup screen still shows its own choice: Send tells the instrument the rotor-bob the screen shows.
TEST_F(SetupScreenTest, SendTellsTheInstrumentTheRotorBobShownWhateverATestLeftInRotorBob)
{
    library().create(QStringLiteral("Two"), 3, {{1, 60, 120, 300, 10}, {2, 600, 150, 3, 10}});
    struct Case {
        const char *opened;
        int rotorBob;
        bool custom;
    };
    const Case cases[] = {{"a custom test (factor 12.341)", 12341, true}, {"a test stored with R1-B4", 6, false}};
    open();
    ASSERT_EQ(child<QComboBox>("cmbRbselect")->currentText(), QStringLiteral("R3-B1"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.opened);
        screen->returnToMain(false);
        state.RotorBob = c.rotorBob; // what opening the test in the main window leaves
        state.CustomRB = c.custom;
        state.SequenceSent = false;
        screen->showFromMain();
        ASSERT_EQ(child<QComboBox>("cmbRbselect")->currentText(), QStringLiteral("R3-B1"));
        port.writes.clear();
        child<QPushButton>("cmdSend")->click();
        EXPECT_EQ(port.written(),
                  QByteArray("\x03"
                             "01,00060,120,30000,311"
                             "02,00600,150,00300,311"
                             "99"));
        EXPECT_TRUE(state.SequenceSent);
    }
}

// A second line of initial.txt that names no unit system leaves the unit options as the program has them.
TEST_F(SetupScreenTest, SettingsLineTwoThatIsNeitherOneNorTwoLeavesTheUnitOptions)
{
    for (const char *line2 : {" 3 ", " 0 ", "-1", " 1.5 "}) {
        SCOPED_TRACE(line2);
        writeSettings(QByteArray(" 0 \r\n") + line2 + "\r\n 1 \r\n");
        state.UnitSystem = UnitsSI;
        state.UnitsChanged = false;
        open();
        EXPECT_TRUE(child<QRadioButton>("Option2")->isChecked());
        EXPECT_FALSE(child<QRadioButton>("Option1")->isChecked());
        EXPECT_EQ(state.UnitSystem, UnitsSI);
        EXPECT_FALSE(state.UnitsChanged);
    }
}

// A record rate stored with a fraction shows as the whole seconds a real-time run records at.
TEST_F(SetupScreenTest, StoredFractionalRecordRatesShowAsTheWholeSecondsARunUses)
{
    library().create(QStringLiteral("Old"), 1, {{1, 60, 120, 300, 1.9}, {2, 60, 120, 300, 2.5}, {3, 60, 120, 3, 7}});
    open();
    EXPECT_EQ(cell(1, StepTable::RecordRate), QStringLiteral("2"));
    EXPECT_EQ(cell(2, StepTable::RecordRate), QStringLiteral("2"));
    EXPECT_EQ(cell(3, StepTable::RecordRate), QStringLiteral("7"));
}
