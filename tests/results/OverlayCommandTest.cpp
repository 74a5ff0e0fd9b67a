// The "Overlap Charts" command with a scripted selection dialog and in-memory rows.
#include "results/OverlayCommand.h"
#include "common/ProgramState.h"
#include "platform/ChartModel.h"
#include "results/ChartTypes.h"
#include "results/ResultChartBuilder.h"
#include "tests/results/ChartTestRows.h"
#include "tests/support/ScriptedPrompts.h"

#include <QMap>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace ChartTestRows;

namespace {

struct OverlayTest : ::testing::Test {
    ProgramState state;
    ScriptedPrompts prompts;
    ChartModel model;
    ResultChartBuilder builder{model};
    QMap<QString, ResultTable> stored;
    // What the selection dialog answers next: a name, or nullopt for Cancel.
    std::optional<QString> nextChoice;
    int dialogs = 0;
    QStringList rowsRead;

    OverlayTest()
    {
        stored["Base"] = sixSpeeds();
        stored["Second"] = sixSpeeds(1.5);
        stored["Third"] = readings({{1, 1, 300, 9}, {2, 1, 3, 1}, {3, 1, 600, 12}});
        stored["Big"] = readings({{1, 1, 600, 60},
                                  {2, 1, 300, 40},
                                  {3, 1, 200, 32},
                                  {4, 1, 100, 23},
                                  {5, 1, 6, 8},
                                  {6, 1, 3, 7},
                                  {7, 1, 0, 5}});
    }

    void open(const QString &name, int type = 0)
    {
        state.CurrentTestName = name;
        builder.reset(false);
        builder.drawOpenTest(type, stored.value(name), false);
    }

    OverlayCommand::Outcome overlay(const std::optional<QString> &choice)
    {
        nextChoice = choice;
        OverlayCommand::Hooks hooks;
        hooks.chooseTest = [this] {
            ++dialogs;
            if (!nextChoice)
                return false;
            state.OverlapTestName = *nextChoice;
            return true;
        };
        hooks.overlapRows = [this](ProgramState &snapshot, WorkProgress &) {
            rowsRead << snapshot.OverlapTestName;
            if (snapshot.OverlapTestName == "Unreadable")
                throw std::runtime_error("unable to open database file");
            return stored.value(snapshot.OverlapTestName);
        };
        return OverlayCommand(state, prompts, builder, hooks).run();
    }
};

} // namespace

TEST_F(OverlayTest, TwoOverlaidTestsGiveThreeLabelledSortedSeries)
{
    open("Base");
    EXPECT_EQ(overlay(QString("Second")), OverlayCommand::Outcome::Drawn);
    EXPECT_EQ(overlay(QString("Third")), OverlayCommand::Outcome::Drawn);

    ASSERT_EQ(model.seriesCount(), 3);
    EXPECT_EQ(model.seriesLabel(0), "Base");
    EXPECT_EQ(model.seriesLabel(1), "Second");
    EXPECT_EQ(model.seriesLabel(2), "Third");
    EXPECT_EQ(xs(model.writtenPoints(1)), xs(model.writtenPoints(0)));
    EXPECT_EQ(xs(model.writtenPoints(2)),
              QList<double>({single(3 * 1.7023), single(300 * 1.7023), single(600 * 1.7023)}));
    EXPECT_EQ(model.yValue(1, 5), 90.0); // 600 rpm of the second test, stress 60 * 1.5
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(OverlayTest, ALargerTestIsToldOnceWithTheMessageOfTheChartType)
{
    for (const int type : {0, 3}) {
        prompts.clear();
        open("Base", type);
        EXPECT_EQ(overlay(QString("Big")), OverlayCommand::Outcome::Drawn);
        ASSERT_EQ(prompts.messageTexts().size(), 1) << type;
        const PromptRecord *m = prompts.lastMessage();
        EXPECT_EQ(m->text, ChartTypes::overCapacityMessage(type));
        EXPECT_TRUE(m->text.contains(type == 0 ? "the one with the most sample points" : "a test with more sample"));
        EXPECT_EQ(m->title, "");
        EXPECT_EQ(m->buttons, MsgButtons::Ok);
        EXPECT_EQ(model.writtenCount(1), 6) << type;
        EXPECT_EQ(model.seriesLabel(1), "Big");
    }
}

TEST_F(OverlayTest, WithoutAnOpenTestTheUserIsToldToOpenOneFirst)
{
    EXPECT_EQ(overlay(QString("Second")), OverlayCommand::Outcome::NoOpenTest);
    EXPECT_EQ(dialogs, 0);
    ASSERT_NE(prompts.lastMessage(), nullptr);
    EXPECT_EQ(prompts.lastMessage()->text, "No opened test to overlap onto.  You must open a test first.");
    EXPECT_EQ(prompts.lastMessage()->title, "Operation Error");
    EXPECT_EQ(prompts.lastMessage()->buttons, MsgButtons::Ok);
    EXPECT_EQ(model.seriesCount(), 1);
}

TEST_F(OverlayTest, TheOpenTestItselfAnEmptyChoiceOrCancelChangeNothing)
{
    open("Base");
    struct Case {
        const char *name;
        std::optional<QString> choice;
        OverlayCommand::Outcome outcome;
    };
    const Case cases[] = {
        {"itself", QString("Base"), OverlayCommand::Outcome::Refused},
        {"empty", QString(""), OverlayCommand::Outcome::Refused},
        {"cancelled", std::nullopt, OverlayCommand::Outcome::Cancelled},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(overlay(c.choice), c.outcome) << c.name;
        EXPECT_EQ(model.seriesCount(), 1) << c.name;
        EXPECT_EQ(builder.seriesCount(), 1) << c.name;
        EXPECT_TRUE(rowsRead.isEmpty()) << c.name;
        EXPECT_EQ(model.seriesLabel(0), "Shear Stress") << c.name;
    }
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(OverlayTest, CancellingAfterAnEarlierOverlayDoesNotDrawThatTestAgain)
{
    open("Base");
    overlay(QString("Second"));
    ASSERT_EQ(model.seriesCount(), 2);
    EXPECT_EQ(overlay(std::nullopt), OverlayCommand::Outcome::Cancelled);
    EXPECT_EQ(model.seriesCount(), 2);
    EXPECT_EQ(rowsRead, QStringList({"Second"}));
}

TEST_F(OverlayTest, TheSameNameInOtherLetterCaseIsAccepted)
{
    stored["BASE"] = sixSpeeds(2);
    open("Base");
    EXPECT_EQ(overlay(QString("BASE")), OverlayCommand::Outcome::Drawn);
    EXPECT_EQ(model.seriesLabel(1), "BASE");
}

TEST_F(OverlayTest, AnOverlaidTestWithoutRowsStillAddsAnEmptySeries)
{
    open("Base");
    EXPECT_EQ(overlay(QString("Nothing stored")), OverlayCommand::Outcome::Drawn);
    EXPECT_EQ(model.seriesCount(), 2);
    EXPECT_EQ(model.writtenCount(1), 0);
    EXPECT_EQ(model.seriesLabel(1), "Nothing stored");
}

TEST_F(OverlayTest, ATestThatCannotBeReadIsReportedOnceAndNothingIsOverlaid)
{
    open("Base");
    prompts.clear();
    EXPECT_EQ(overlay(QString("Unreadable")), OverlayCommand::Outcome::Refused);
    ASSERT_EQ(prompts.messageTexts().size(), 1);
    EXPECT_TRUE(prompts.messageTexts()[0].contains("\"Unreadable\" could not be read"));
    EXPECT_TRUE(prompts.messageTexts()[0].contains("unable to open database file"));
    EXPECT_EQ(prompts.lastMessage()->title, "Database Error");
    EXPECT_EQ(builder.seriesCount(), 1);
    EXPECT_EQ(model.seriesCount(), 1);
}
