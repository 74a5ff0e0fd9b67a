#include "store/OpenTest.h"
#include "store/frmOverlapTestName.h"
#include "store/frmRelated.h"
#include "store/frmSearch.h"
#include "tests/store/LibraryFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

template <class W> W *child(QWidget &parent, const char *name)
{
    W *w = parent.findChild<W *>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QStringList items(QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void expectButtons(QWidget &dialog, const std::vector<std::pair<const char *, const char *>> &buttons)
{
    for (const auto &[name, caption] : buttons) {
        auto *b = child<QPushButton>(dialog, name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), caption) << name;
        EXPECT_FALSE(b->accessibleName().isEmpty()) << name;
    }
}

} // namespace

// Every dialog on a database file and on a server.
class OpenTestDialog : public EngineTest {};
class SearchDialog : public EngineTest {};
class RelatedDialog : public EngineTest {};
class OverlapDialog : public EngineTest {};
K7_ON_BOTH_ENGINES(OpenTestDialog);
K7_ON_BOTH_ENGINES(SearchDialog);
K7_ON_BOTH_ENGINES(RelatedDialog);
K7_ON_BOTH_ENGINES(OverlapDialog);

TEST_P(OpenTestDialog, ControlsAndNewestFirstList)
{
    LibraryFixture fx(GetParam());
    fx.addTest(1, "old");
    fx.addTest(9, "new");
    OpenTest dialog(fx.context);
    EXPECT_EQ(dialog.windowTitle(), "Open Saved Test");
    expectButtons(dialog,
                  {{"cmdOk", "&OK"}, {"cmdCancel", "&Cancel"}, {"cmdDelete", "&Delete"}, {"cmdSearch", "Search"}});
    auto *list = child<QListWidget>(dialog, "List1");
    EXPECT_EQ(list->accessibleName(), "Please select saved test name");
    EXPECT_EQ(child<QLineEdit>(dialog, "txtSeqName")->accessibleName(), "Or, select the test manually by name");
    EXPECT_EQ(items(list), QStringList({"new", "old"}));
}

TEST_P(OpenTestDialog, OkCancelAndTypedNames)
{
    LibraryFixture fx(GetParam());
    fx.addTest(1, "first");
    fx.state.CurrentTestName = "was open";

    {
        OpenTest dialog(fx.context);
        child<QPushButton>(dialog, "cmdOk")->click();
        ASSERT_NE(fx.prompts.lastMessage(), nullptr);
        EXPECT_EQ(fx.prompts.lastMessage()->text, "No test was selected!");
        EXPECT_EQ(fx.prompts.lastMessage()->title, "No Selection Error.");
        EXPECT_EQ(dialog.result(), 0); // still open
        EXPECT_EQ(fx.state.CurrentTestName, "was open");

        child<QListWidget>(dialog, "List1")->setCurrentRow(0);
        EXPECT_EQ(child<QLineEdit>(dialog, "txtSeqName")->text(), "first");
        child<QPushButton>(dialog, "cmdOk")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(fx.state.CurrentTestName, "first");
    }
    {
        OpenTest dialog(fx.context);
        child<QLineEdit>(dialog, "txtSeqName")->setText("not stored");
        child<QPushButton>(dialog, "cmdOk")->click();
        EXPECT_EQ(fx.state.CurrentTestName, "not stored");
    }
    {
        OpenTest dialog(fx.context);
        child<QPushButton>(dialog, "cmdCancel")->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(fx.state.CurrentTestName, "");
    }
}

TEST_P(OpenTestDialog, AFreshDialogHasNothingChosenEvenWhenTheListTakesTheFocus)
{
    LibraryFixture fx(GetParam());
    fx.addTest(1, "older", 5);
    fx.addTest(2, "newest", 5);
    OpenTest dialog(fx.context);
    dialog.show();
    auto *list = child<QListWidget>(dialog, "List1");
    auto *name = child<QLineEdit>(dialog, "txtSeqName");
    // Getting the focus makes the newest entry current, but that is no choice of the user's.
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(list, &focus);
    ASSERT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(name->text().isEmpty());

    child<QPushButton>(dialog, "cmdDelete")->click();
    EXPECT_TRUE(fx.prompts.records.isEmpty()) << "Delete with nothing chosen does nothing";
    QTest::keyClick(&dialog, Qt::Key_Return); // Enter is OK
    ASSERT_EQ(fx.prompts.records.size(), 1);
    EXPECT_EQ(fx.prompts.records[0].text, "No test was selected!");
    EXPECT_EQ(fx.prompts.records[0].title, "No Selection Error.");
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(fx.count("SELECT count(*) FROM TestResult"), 10);
}

TEST_P(OpenTestDialog, DeleteAsksFirstWithNoAsTheDefaultAndActsOnlyOnTheChosenTest)
{
    LibraryFixture fx(GetParam());
    fx.addTest(1, "It's \"one\"", 5);
    fx.addTest(2, "two", 3);
    fx.addTest(3, "three", 2);
    OpenTest dialog(fx.context);
    dialog.show();
    auto *list = child<QListWidget>(dialog, "List1");
    auto *name = child<QLineEdit>(dialog, "txtSeqName");
    auto *del = child<QPushButton>(dialog, "cmdDelete");

    // Chosen with the keyboard: the list goes from its current (unchosen) entry to the next one.
    list->setFocus();
    list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(name->text(), "two");

    struct Case {
        const char *name;
        MsgAnswer answer;
        QStringList listAfter;
        int pointsLeft;
    };
    const Case cases[] = {
        {"No keeps the test", MsgAnswer::No, {"three", "two", "It's \"one\""}, 10},
        {"Yes deletes it with its readings", MsgAnswer::Yes, {"three", "It's \"one\""}, 7},
    };
    for (const Case &c : cases) {
        fx.prompts.clear();
        fx.prompts.messageAnswers = {c.answer};
        del->click();
        ASSERT_EQ(fx.prompts.records.size(), 1) << c.name;
        EXPECT_EQ(fx.prompts.records[0].text, "Delete test two and its 3 readings?") << c.name;
        EXPECT_EQ(fx.prompts.records[0].buttons, MsgButtons::YesNoDefaultNo) << c.name;
        EXPECT_EQ(items(list), c.listAfter) << c.name;
        EXPECT_EQ(fx.count("SELECT count(*) FROM TestResult"), c.pointsLeft) << c.name;
    }
    EXPECT_TRUE(name->text().isEmpty()) << "the deleted test is no longer chosen";

    // A clicked entry, and a typed name, are choices too.
    list->setCurrentRow(1);
    EXPECT_EQ(name->text(), "It's \"one\"");
    fx.prompts.clear();
    del->click();
    EXPECT_EQ(fx.prompts.records[0].text, "Delete test It's \"one\" and its 5 readings?");
    name->setText("THREE");
    fx.prompts.clear();
    del->click();
    EXPECT_EQ(fx.prompts.records[0].text, "Delete test three and its 2 readings?");
    EXPECT_EQ(fx.count("SELECT count(*) FROM RelatedInfo"), 0);

    name->setText("never stored");
    fx.prompts.clear();
    del->click();
    ASSERT_EQ(fx.prompts.records.size(), 1);
    EXPECT_EQ(fx.prompts.records[0].text, "There is no saved test named never stored.");
}

TEST_P(OpenTestDialog, ATestBeingRecordedIsNotDeleted)
{
    LibraryFixture fx(GetParam());
    fx.addTest(4, "running", 6);
    QSqlQuery q(fx.db());
    q.prepare("INSERT INTO RecordingClaim VALUES (4, 'lab-pc/1234/abcd', ?)");
    q.addBindValue(QDateTime::currentSecsSinceEpoch());
    ASSERT_TRUE(q.exec());
    OpenTest dialog(fx.context);
    child<QLineEdit>(dialog, "txtSeqName")->setText("running");
    child<QPushButton>(dialog, "cmdDelete")->click();
    ASSERT_EQ(fx.prompts.records.size(), 2);
    EXPECT_EQ(fx.prompts.records[1].text,
              "The test running is being recorded right now (by this or another "
              "K7100DAQ program on this database), so it cannot be deleted. Delete it "
              "after its run has ended.");
    EXPECT_EQ(fx.count("SELECT count(*) FROM TestResult WHERE TestId = 4"), 6);
    EXPECT_EQ(items(child<QListWidget>(dialog, "List1")), QStringList({"running"}));
}

TEST_P(OpenTestDialog, SearchHandsTheChosenTestBack)
{
    LibraryFixture fx(GetParam());
    fx.addTest(1, "alpha mud");
    fx.addTest(2, "beta");
    OpenTest dialog(fx.context);
    auto *name = child<QLineEdit>(dialog, "txtSeqName");

    dialog.setSearchRunner([](frmSearch &search) {
        EXPECT_EQ(search.windowTitle(), "Test Search");
        child<QComboBox>(search, "Combo1(1)")->setCurrentIndex(TestSearch::TestNameColumn);
        child<QComboBox>(search, "cmbmath1(1)")->setCurrentIndex(TestSearch::OpLike);
        child<QLineEdit>(search, "Text1(1)")->setText("ALPHA");
        child<QPushButton>(search, "cmdSearch")->click();
        auto *grid = child<QTableWidget>(search, "MSFlexGrid1");
        ASSERT_EQ(grid->rowCount(), 1);
        EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "TestName");
        grid->setCurrentCell(0, 2);
        emit grid->cellDoubleClicked(0, 2);
    });
    child<QPushButton>(dialog, "cmdSearch")->click();
    EXPECT_EQ(name->text(), "alpha mud");
    ASSERT_NE(dialog.searchDialog(), nullptr);
    EXPECT_FALSE(dialog.searchDialog()->SearchCancelled);

    // Cancel && Return leaves the typed name alone; the dialog kept its conditions.
    dialog.setSearchRunner([](frmSearch &search) {
        EXPECT_EQ(child<QLineEdit>(search, "Text1(1)")->text(), "ALPHA");
        child<QPushButton>(search, "Command1")->click();
    });
    name->setText("typed");
    child<QPushButton>(dialog, "cmdSearch")->click();
    EXPECT_EQ(name->text(), "typed");
    EXPECT_TRUE(dialog.searchDialog()->SearchCancelled);
}

TEST_P(SearchDialog, ControlsClearAndRefusedSearch)
{
    LibraryFixture fx(GetParam());
    fx.addTest(1, "a");
    frmSearch search(fx.context);
    expectButtons(search, {{"cmdSearch", "SEARCH"}, {"cmdClear", "CLEAR"}, {"Command1", "Cancel && Return"}});
    for (const char *k : {"(1)", "(2)", "(3)"}) {
        auto *column = child<QComboBox>(search, (std::string("Combo1") + k).c_str());
        auto *op = child<QComboBox>(search, (std::string("cmbmath1") + k).c_str());
        ASSERT_EQ(column->count(), 6);
        EXPECT_EQ(column->itemText(3), "SampleTime");
        ASSERT_EQ(op->count(), 7);
        EXPECT_EQ(op->itemText(6), " Like ");
        EXPECT_FALSE(column->isEditable());
    }
    EXPECT_TRUE(search.SearchCancelled);

    child<QComboBox>(search, "Combo1(1)")->setCurrentIndex(TestSearch::SampleTimeColumn);
    child<QComboBox>(search, "cmbmath1(1)")->setCurrentIndex(TestSearch::OpGreater);
    child<QLineEdit>(search, "Text1(1)")->setText("not a date");
    child<QPushButton>(search, "cmdSearch")->click();
    ASSERT_NE(fx.prompts.lastMessage(), nullptr);
    EXPECT_TRUE(fx.prompts.lastMessage()->text.startsWith("Wrong search string.  \"not a date\" is not a date"));
    EXPECT_EQ(child<QTableWidget>(search, "MSFlexGrid1")->rowCount(), 0);

    // Double-clicking an empty grid takes nothing.
    emit child<QTableWidget>(search, "MSFlexGrid1")->cellDoubleClicked(-1, -1);
    EXPECT_TRUE(search.SearchCancelled);

    child<QPushButton>(search, "cmdClear")->click();
    EXPECT_EQ(child<QComboBox>(search, "Combo1(1)")->currentIndex(), 0);
    EXPECT_EQ(child<QComboBox>(search, "cmbmath1(1)")->currentIndex(), 0);
    EXPECT_TRUE(child<QLineEdit>(search, "Text1(1)")->text().isEmpty());
}

// The condition boxes sit in frames; every control of the dialog keeps its share of the dialog when it is
// resized, those in the frames too (the lists keep their height, like every combo box).
TEST_P(SearchDialog, ConditionBoxesInTheirFramesAreRescaledWithTheDialog)
{
    LibraryFixture fx(GetParam());
    frmSearch search(fx.context);
    search.show();
    const QSize design = search.size();
    struct Control {
        std::string name;
        QRect before;
    };
    std::vector<Control> controls;
    for (const char *k : {"(1)", "(2)", "(3)"})
        for (const char *stem : {"Frame1", "Combo1", "cmbmath1", "Text1"}) {
            const std::string name = std::string(stem) + k;
            controls.push_back({name, child<QWidget>(search, name.c_str())->geometry()});
        }
    search.resize(design * 2);
    for (const Control &c : controls) {
        SCOPED_TRACE(c.name);
        QWidget *w = child<QWidget>(search, c.name.c_str());
        EXPECT_EQ(w->x(), c.before.x() * 2);
        EXPECT_EQ(w->y(), c.before.y() * 2);
        if (!qobject_cast<QComboBox *>(w)) {
            EXPECT_EQ(w->width(), c.before.width() * 2);
            EXPECT_EQ(w->height(), c.before.height() * 2);
        }
    }
}

TEST_P(RelatedDialog, NewTestIsStoredFromTheFields)
{
    LibraryFixture fx(GetParam());
    fx.state.NewTestMode = true;
    frmRelated dialog(fx.context);
    EXPECT_EQ(dialog.windowTitle(), "Related Information ");
    expectButtons(dialog, {{"cmdok", "&OK"}, {"cmdCancel", "&Cancel"}});
    EXPECT_EQ(child<QLineEdit>(dialog, "txtSampleTime")->accessibleName(), "Sample Time");
    EXPECT_NE(dialog.findChild<QWidget *>("StatusBar1"), nullptr);
    auto *name = child<QLineEdit>(dialog, "txtTestName");
    EXPECT_TRUE(name->isEnabled());

    child<QPushButton>(dialog, "cmdok")->click();
    EXPECT_EQ(fx.prompts.lastMessage()->text, "Must input a test name.");
    EXPECT_EQ(dialog.result(), 0);

    name->setText("dialog test");
    child<QPlainTextEdit>(dialog, "txtDesc")->setPlainText("two\nlines");
    child<QPushButton>(dialog, "cmdok")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(fx.state.RelatedOk);
    EXPECT_EQ(fx.state.NewTestId, 1);
    EXPECT_EQ(child<QLineEdit>(dialog, "txtMudId")->text(), "N/A");
    EXPECT_EQ(fx.value("SELECT \"Desc\" FROM RelatedInfo WHERE TestName = 'dialog test'").toString(), "two\nlines");
}

TEST_P(RelatedDialog, EditingLocksTheNameAndCancelClearsRelatedOk)
{
    LibraryFixture fx(GetParam());
    fx.addTest(2, "open", 1, "M", QVariant(QMetaType(QMetaType::QString)), QVariant(QMetaType(QMetaType::QString)),
               "d");
    fx.state.NewTestMode = false;
    fx.state.CurrentTestName = "open";
    fx.state.RelatedOk = true;
    frmRelated dialog(fx.context);
    EXPECT_FALSE(child<QLineEdit>(dialog, "txtTestName")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(dialog, "txtTestName")->text(), "open");
    EXPECT_EQ(child<QLineEdit>(dialog, "txtSampleTime")->text(), "");
    EXPECT_EQ(child<QLineEdit>(dialog, "txtCompanyName")->text(), "");
    child<QPushButton>(dialog, "cmdCancel")->click();
    EXPECT_FALSE(fx.state.RelatedOk);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_P(OverlapDialog, RefusalsAndChoice)
{
    LibraryFixture fx(GetParam());
    fx.addTest(1, "Open");
    fx.addTest(2, "other");
    fx.state.CurrentTestName = "Open";
    fx.state.OverlapTestName = "before";

    frmOverlapTestName dialog(fx.context);
    EXPECT_EQ(dialog.windowTitle(), "Overlap Test Selection");
    expectButtons(dialog, {{"cmdOk", "&OK"}, {"cmdCancel", "&Cancel"}});
    auto *list = child<QListWidget>(dialog, "List1");
    EXPECT_EQ(list->accessibleName(), "Please select test to compare");
    EXPECT_EQ(items(list), QStringList({"other", "Open"}));

    child<QPushButton>(dialog, "cmdOk")->click();
    EXPECT_EQ(fx.prompts.lastMessage()->text, "No test was selected!");
    EXPECT_EQ(fx.prompts.lastMessage()->title, "No Selection Error.");
    EXPECT_EQ(fx.state.OverlapTestName, "before");

    list->setCurrentRow(1);
    emit list->itemDoubleClicked(list->item(1));
    EXPECT_EQ(fx.prompts.lastMessage()->text, "Test cannot overlap itself!");
    EXPECT_EQ(fx.prompts.lastMessage()->title, "Selection Error.");
    EXPECT_EQ(dialog.result(), 0);

    fx.state.CurrentTestName = "OPEN"; // another letter case is another test here
    child<QPushButton>(dialog, "cmdOk")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(fx.state.OverlapTestName, "Open");
}

TEST_P(OverlapDialog, CancelLeavesTheOverlapName)
{
    LibraryFixture fx(GetParam());
    fx.addTest(1, "a");
    fx.state.OverlapTestName = "kept";
    frmOverlapTestName dialog(fx.context);
    child<QListWidget>(dialog, "List1")->setCurrentRow(0);
    child<QPushButton>(dialog, "cmdCancel")->click();
    EXPECT_EQ(fx.state.OverlapTestName, "kept");
}
