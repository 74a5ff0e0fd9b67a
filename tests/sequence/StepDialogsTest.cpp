#include "sequence/frmAddEditStep.h"
#include "sequence/frmCopyPaste.h"
#include "sequence/frmDel.h"
#include "sequence/frmInsertStep.h"
#include "tests/sequence/SetupScreenFixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

template <class T> T *in(QWidget &w, const char *name)
{
    T *c = w.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void type(QWidget &w, const char *field, const QString &text)
{
    in<QLineEdit>(w, field)->setText(text);
}

void clickOk(QWidget &w)
{
    in<QPushButton>(w, "cmdOk")->click();
}

QString labelFor(QWidget &dialog, const char *field)
{
    QWidget *target = in<QWidget>(dialog, field);
    for (QLabel *l : dialog.findChildren<QLabel *>())
        if (l->buddy() == target)
            return l->text();
    return {};
}

} // namespace

// ---- the dialogs on their own

TEST(StepDialogs, EditDialogShowsTheRowAndItsLabels)
{
    ScriptedPrompts prompts;
    frmAddEditStep dialog(true, 1.0f, 1.0, prompts);
    dialog.setFieldTexts({"3", "600", "37.8", "100.00", "170.23", "10"});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Input Step Parameters"));
    const std::pair<const char *, const char *> labels[] = {{"txtStepNo", "Step No.:"},
                                                            {"txtTime", "Step time (S):"},
                                                            {"txtTemp", "Temp (°C)"},
                                                            {"txtSpeed", "Speed (Rpm):"},
                                                            {"txtShearrate", "Shear rate (1/S):"},
                                                            {"txtRecordRate", "Record rate (Sec/Data):"}};
    for (const auto &[field, text] : labels)
        EXPECT_EQ(labelFor(dialog, field), QString::fromUtf8(text)) << field;
    EXPECT_EQ(in<QLabel>(dialog, "lblTemp")->text(), QStringLiteral("Temp (°C)"));
    EXPECT_EQ(in<QLineEdit>(dialog, "txtTime")->toolTip(), QStringLiteral("Enter a number >0 and <6300"));
    EXPECT_EQ(in<QLineEdit>(dialog, "txtSpeed")->toolTip(), QStringLiteral("Enter a number >=0 and <=600.00"));
    EXPECT_EQ(in<QLineEdit>(dialog, "txtRecordRate")->toolTip(), QStringLiteral("Integer, >=1"));
    EXPECT_EQ(in<QPushButton>(dialog, "cmdCancel")->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(dialog.findChild<QGroupBox *>()->title(), QStringLiteral("Test parameters:"));
    EXPECT_TRUE(in<QLineEdit>(dialog, "txtStepNo")->isReadOnly());
    EXPECT_EQ(in<QLineEdit>(dialog, "txtTemp")->text(), QStringLiteral("37.8"));
    EXPECT_EQ(in<QLineEdit>(dialog, "txtRecordRate")->text(), QStringLiteral("10"));

    clickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.values().has_value());
    EXPECT_EQ(dialog.values()->temperature, 100);
}

TEST(StepDialogs, InsertDialogStartsEmptyWithAfterSelected)
{
    ScriptedPrompts prompts;
    frmInsertStep dialog(false, 1.0f, 1.0, prompts);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Insert Step"));
    EXPECT_EQ(labelFor(dialog, "txtStepNo"), QStringLiteral("Step No:"));
    EXPECT_EQ(labelFor(dialog, "txtTemp"), QStringLiteral("Temp (°F)"));
    EXPECT_EQ(labelFor(dialog, "cmbBeforeAfter"), QStringLiteral("Insert"));
    EXPECT_EQ(in<QLineEdit>(dialog, "txtStepNo")->text(), QStringLiteral("1"));
    EXPECT_TRUE(in<QLineEdit>(dialog, "txtTime")->text().isEmpty());
    auto *where = in<QComboBox>(dialog, "cmbBeforeAfter");
    ASSERT_EQ(where->count(), 2);
    EXPECT_EQ(where->itemText(0), QStringLiteral("after"));
    EXPECT_EQ(where->itemText(1), QStringLiteral("before"));
    EXPECT_TRUE(dialog.insertAfter());
    where->setCurrentIndex(1);
    EXPECT_FALSE(dialog.insertAfter());
}

TEST(StepDialogs, ARefusedFieldKeepsTheDialogOpenWithTheFocusOnIt)
{
    ScriptedPrompts prompts;
    frmInsertStep dialog(false, 1.0f, 1.0, prompts);
    dialog.show();
    type(dialog, "txtTime", "600");
    type(dialog, "txtTemp", "210"); // the insert limit is 200 in EI
    type(dialog, "txtSpeed", "100");
    type(dialog, "txtShearrate", "170.23");
    type(dialog, "txtRecordRate", "10");
    clickOk(dialog);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.values().has_value());
    ASSERT_NE(prompts.lastMessage(), nullptr);
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Invalid temperature input."));
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Temperature input out of range"));
    EXPECT_EQ(dialog.focusWidget(), in<QLineEdit>(dialog, "txtTemp"));
    type(dialog, "txtTemp", "200");
    clickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(StepDialogs, LeavingSpeedOrShearRateUpdatesTheOther)
{
    ScriptedPrompts prompts;
    frmAddEditStep dialog(false, 3.185f, 1.0, prompts);
    dialog.show();
    type(dialog, "txtSpeed", "100");
    emit in<QLineEdit>(dialog, "txtSpeed")->editingFinished();
    EXPECT_EQ(in<QLineEdit>(dialog, "txtShearrate")->text(), QStringLiteral("542.18"));
    type(dialog, "txtShearrate", "318.5");
    emit in<QLineEdit>(dialog, "txtShearrate")->editingFinished();
    EXPECT_EQ(in<QLineEdit>(dialog, "txtSpeed")->text(), QStringLiteral("58.74"));
    EXPECT_TRUE(prompts.records.isEmpty());

    type(dialog, "txtShearrate", "5000"); // 922.25 rpm
    emit in<QLineEdit>(dialog, "txtShearrate")->editingFinished();
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Invalid shear rate input."));
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Shear rate input out of range. Please try again."));
    EXPECT_EQ(dialog.focusWidget(), in<QLineEdit>(dialog, "txtShearrate"));
}

TEST(StepDialogs, CopyPasteDialogListsTheStepsAndChecksItsEntries)
{
    ScriptedPrompts prompts;
    frmCopyPaste dialog(5, 1.0, prompts);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Copy & Paste"));
    for (const char *box : {"cmbCopyfrom", "cmbCopyto", "cmbPasteto"}) {
        auto *b = in<QComboBox>(dialog, box);
        ASSERT_EQ(b->count(), 5) << box;
        EXPECT_EQ(b->itemText(0), QStringLiteral("1"));
        EXPECT_EQ(b->currentIndex(), 0);
    }
    EXPECT_EQ(in<QComboBox>(dialog, "cmbBeforeAfter")->currentText(), QStringLiteral("after"));
    EXPECT_EQ(labelFor(dialog, "txtNewTemperature"), QStringLiteral("New target temperature (°F):"));
    EXPECT_EQ(labelFor(dialog, "cmbCopyfrom"), QStringLiteral("From step"));
    EXPECT_EQ(labelFor(dialog, "cmbPasteto"), QStringLiteral("step No."));

    in<QComboBox>(dialog, "cmbCopyfrom")->setCurrentIndex(3);
    in<QComboBox>(dialog, "cmbCopyto")->setCurrentIndex(1);
    type(dialog, "txtNewTemperature", "150");
    clickOk(dialog);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompts.lastMessage()->text,
              QStringLiteral("Copy range should be from a lower to a higher numbered step"));

    in<QComboBox>(dialog, "cmbCopyto")->setCurrentIndex(4);
    type(dialog, "txtNewTemperature", "0");
    clickOk(dialog);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Please input the temperature"));
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Temperature input invalid"));

    type(dialog, "txtNewTemperature", "150");
    in<QComboBox>(dialog, "cmbBeforeAfter")->setCurrentIndex(1);
    in<QComboBox>(dialog, "cmbPasteto")->setCurrentIndex(2);
    clickOk(dialog);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    const CopyPasteChoice c = *dialog.choice();
    EXPECT_EQ(c.from, 4);
    EXPECT_EQ(c.to, 5);
    EXPECT_EQ(c.pasteTo, 3);
    EXPECT_FALSE(c.after);
    EXPECT_EQ(c.temperature, 150);
}

TEST(StepDialogs, DeleteDialogListsTheSteps)
{
    frmDel dialog(4, 1.0);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Delete Step"));
    EXPECT_EQ(in<QComboBox>(dialog, "cmbDELfrom")->count(), 4);
    EXPECT_EQ(in<QComboBox>(dialog, "cmbDELto")->count(), 4);
    EXPECT_EQ(labelFor(dialog, "cmbDELfrom"), QStringLiteral("From step"));
    EXPECT_EQ(labelFor(dialog, "cmbDELto"), QStringLiteral("To"));
    in<QComboBox>(dialog, "cmbDELto")->setCurrentIndex(2);
    EXPECT_EQ(dialog.delFrom(), 1);
    EXPECT_EQ(dialog.delTo(), 3);
}

// ---- the step commands of the setup screen with scripted dialogs

class StepCommandsOnScreen : public SetupScreenFixture {
protected:
    int makeSequence(int steps)
    {
        const int id = sequenceWithSteps(QStringLiteral("S"), steps);
        open();
        return id;
    }
    // Every dialog the screen opens goes through `script`; it returns whether the dialog was accepted.
    void script(std::function<void(QDialog &)> s)
    {
        screen->runDialog = [this, s](QDialog &d) {
            ++dialogsShown;
            s(d);
            return d.result() == QDialog::Accepted;
        };
    }
    int dialogsShown = 0;
};

TEST_F(StepCommandsOnScreen, EditInCelsiusStoresFahrenheitWithOneDecimal)
{
    state.UnitSystem = UnitsSI;
    const int id = makeSequence(3);
    screen->selectRow(2);
    script([](QDialog &d) {
        EXPECT_EQ(in<QLineEdit>(d, "txtStepNo")->text(), QStringLiteral("2"));
        EXPECT_EQ(in<QLineEdit>(d, "txtTime")->text(), QStringLiteral("20"));
        type(d, "txtTemp", "37.8");
        type(d, "txtRecordRate", "5");
        clickOk(d);
    });
    child<QPushButton>("cmdEditStep")->click();
    EXPECT_EQ(dialogsShown, 1);
    const QList<SequenceStep> steps = library().steps(id);
    EXPECT_EQ(steps[1].temperature, 100);
    EXPECT_EQ(steps[1].recordRate, 5);
    EXPECT_EQ(steps[0].temperature, 101);
    EXPECT_EQ(screen->tableRows()[1][5], QStringLiteral("5"));
    EXPECT_EQ(screen->selectedRow(), 2);
}

TEST_F(StepCommandsOnScreen, EditAcceptsWhatInsertRefusesInEnglishUnits)
{
    const int id = makeSequence(2);
    script([](QDialog &d) {
        type(d, "txtTime", "60");
        type(d, "txtTemp", "210");
        type(d, "txtSpeed", "100");
        type(d, "txtRecordRate", "10");
        clickOk(d);
    });
    child<QPushButton>("cmdInsertStep")->click();
    EXPECT_EQ(library().stepCount(id), 2);
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Invalid temperature input."));

    prompts.clear();
    child<QPushButton>("cmdEditStep")->click();
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(library().steps(id)[0].temperature, 210);
}

TEST_F(StepCommandsOnScreen, InsertGoesAfterOrBeforeTheSelectedStep)
{
    const int id = makeSequence(3);
    screen->selectRow(2);
    bool before = false;
    script([&](QDialog &d) {
        EXPECT_EQ(in<QLineEdit>(d, "txtStepNo")->text(), QString::number(screen->selectedRow()));
        type(d, "txtTime", before ? "15" : "25");
        type(d, "txtTemp", "150");
        type(d, "txtSpeed", "300");
        type(d, "txtRecordRate", "5");
        in<QComboBox>(d, "cmbBeforeAfter")->setCurrentIndex(before ? 1 : 0);
        clickOk(d);
    });
    menu("MenuAddStep")->trigger();
    EXPECT_EQ(times(id), (QList<double>{10, 20, 25, 30}));
    EXPECT_EQ(screen->selectedRow(), 3); // the new step
    screen->selectRow(2);
    before = true;
    child<QPushButton>("cmdInsertStep")->click();
    EXPECT_EQ(times(id), (QList<double>{10, 15, 20, 25, 30}));
    EXPECT_EQ(stepNumbers(id), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(grid()->rowCount(), 5);
}

TEST_F(StepCommandsOnScreen, NinetyEightStepsRefuseAnInsertBeforeTheDialog)
{
    const int id = makeSequence(98);
    script([](QDialog &) {});
    child<QPushButton>("cmdInsertStep")->click();
    EXPECT_EQ(dialogsShown, 0);
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Maximum number of steps is 98."));
    EXPECT_EQ(library().stepCount(id), 98);
}

TEST_F(StepCommandsOnScreen, StepsCanBeAddedAgainAfterAllWereDeleted)
{
    const int id = makeSequence(2);
    script([](QDialog &d) {
        if (auto *to = d.findChild<QComboBox *>(QStringLiteral("cmbDELto")))
            to->setCurrentIndex(1);
        else {
            type(d, "txtTime", "60");
            type(d, "txtTemp", "120");
            type(d, "txtSpeed", "600");
            type(d, "txtRecordRate", "10");
        }
        clickOk(d);
    });
    child<QPushButton>("cmdDeleteStep")->click();
    EXPECT_EQ(library().stepCount(id), 0);
    EXPECT_EQ(grid()->rowCount(), 0);
    EXPECT_FALSE(child<QPushButton>("cmdCopyPaste")->isEnabled());
    child<QPushButton>("cmdInsertStep")->click();
    EXPECT_EQ(stepNumbers(id), (QList<int>{1}));
    EXPECT_EQ(screen->tableRows()[0][3], QStringLiteral("600.00"));
}

TEST_F(StepCommandsOnScreen, CopyOfSteps2To4PastedAfterStep3)
{
    const int id = makeSequence(5);
    script([](QDialog &d) {
        in<QComboBox>(d, "cmbCopyfrom")->setCurrentIndex(1);
        in<QComboBox>(d, "cmbCopyto")->setCurrentIndex(3);
        in<QComboBox>(d, "cmbPasteto")->setCurrentIndex(2);
        type(d, "txtNewTemperature", "175");
        clickOk(d);
    });
    child<QPushButton>("cmdCopyPaste")->click();
    EXPECT_EQ(times(id), (QList<double>{10, 20, 30, 20, 30, 40, 40, 50}));
    EXPECT_EQ(grid()->rowCount(), 8);
    EXPECT_EQ(screen->tableRows()[4][2], QStringLiteral("175.0"));
}

TEST_F(StepCommandsOnScreen, DeleteStepsAsksAndRenumbers)
{
    const int id = makeSequence(5);
    script([](QDialog &d) {
        in<QComboBox>(d, "cmbDELfrom")->setCurrentIndex(1);
        in<QComboBox>(d, "cmbDELto")->setCurrentIndex(2);
        clickOk(d);
    });
    prompts.messageAnswers = {MsgAnswer::Cancel};
    menu("MenuDeleteStep")->trigger();
    EXPECT_EQ(library().stepCount(id), 5);
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Are you sure you want delete step from 'step 2 to step 3'"));

    child<QPushButton>("cmdDeleteStep")->click();
    EXPECT_EQ(times(id), (QList<double>{10, 40, 50}));
    EXPECT_EQ(grid()->rowCount(), 3);
    EXPECT_EQ(screen->tableRows()[2][0], QStringLiteral("3"));
}

TEST_F(StepCommandsOnScreen, ClosingADialogThroughItsFrameIsCancel)
{
    const int id = makeSequence(5);
    // A completed delete first, so the hand-over values hold a real range.
    script([](QDialog &d) {
        in<QComboBox>(d, "cmbDELto")->setCurrentIndex(1);
        clickOk(d);
    });
    child<QPushButton>("cmdDeleteStep")->click();
    EXPECT_EQ(library().stepCount(id), 3);

    prompts.clear();
    script([](QDialog &d) {
        d.show();
        d.close();
    });
    child<QPushButton>("cmdDeleteStep")->click();
    EXPECT_EQ(library().stepCount(id), 3);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("You cannot delete step from step 0 to step 2"));
    child<QPushButton>("cmdCopyPaste")->click();
    child<QPushButton>("cmdInsertStep")->click();
    child<QPushButton>("cmdEditStep")->click();
    EXPECT_EQ(times(id), (QList<double>{30, 40, 50}));
    EXPECT_EQ(prompts.records.size(), 1);
}
