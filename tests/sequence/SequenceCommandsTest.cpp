#include "sequence/SequenceCommands.h"
#include "tests/sequence/SequenceDbFixture.h"
#include "tests/support/ScriptedPrompts.h"

class SequenceCommandsTest : public SequenceDbFixture {
protected:
    void SetUp() override
    {
        SequenceDbFixture::SetUp();
        lib.emplace(db.connection());
        commands.emplace(*lib, prompts);
    }
    void answer(std::initializer_list<std::optional<QString>> inputs)
    {
        for (const auto &i : inputs)
            prompts.inputAnswers.push_back(i);
    }

    ScriptedPrompts prompts;
    std::optional<SequenceLibrary> lib;
    std::optional<SequenceCommands> commands;
};

TEST_F(SequenceCommandsTest, NewSequenceAsksForItsNameAndGetsTheDefaultStep)
{
    answer({QStringLiteral("Water 120F")});
    const auto id = commands->newSequence(3);
    ASSERT_TRUE(id.has_value());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::Input);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("Please enter the new sequence name"));
    EXPECT_EQ(prompts.records[0].title, QStringLiteral("New Sequence Name"));
    EXPECT_EQ(lib->byName(QStringLiteral("Water 120F"))->rotorBob, 3);
    EXPECT_EQ(lib->stepCount(*id), 1);
}

TEST_F(SequenceCommandsTest, NewSequenceRefusesDuplicatesAndIgnoresEmptyNames)
{
    lib->create(QStringLiteral("Mud A"), 1);
    struct Case {
        std::optional<QString> name;
        bool created;
        bool duplicateMessage;
    };
    const Case cases[] = {
        {QStringLiteral("MUD a"), false, true},
        {QStringLiteral("Mud A"), false, true},
        {QStringLiteral("Mud A "), true, false}, // a trailing blank makes another name
        {QString(), false, false},
        {std::nullopt, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.value_or(QStringLiteral("<cancel>")).toStdString());
        prompts.clear();
        const int before = int(lib->sequences().size());
        answer({c.name});
        EXPECT_EQ(commands->newSequence(1).has_value(), c.created);
        EXPECT_EQ(int(lib->sequences().size()), before + (c.created ? 1 : 0));
        const PromptRecord *msg = prompts.lastMessage();
        EXPECT_EQ(msg != nullptr, c.duplicateMessage);
        if (msg) {
            EXPECT_EQ(msg->text, QStringLiteral("Duplicate test name, please enter unique test name."));
            EXPECT_EQ(msg->title, QStringLiteral("New Sequence Naming Error"));
        }
    }
}

TEST_F(SequenceCommandsTest, SaveAsTemperatureTargetMustLieStrictlyBetween20And210)
{
    const int source = sequenceWithSteps(QStringLiteral("Source"), 2);
    struct Case {
        const char *target;
        bool created;
        double stored; // temperature of the copy's first step
    };
    const Case cases[] = {
        {"20", false, 0},     {"210", false, 0},      {"abc", false, 0}, {"-40", false, 0},
        {"20.5", true, 20.5}, {"209.9", true, 209.9}, {"", true, 101},   {"150abc", true, 150},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.target);
        prompts.clear();
        const QString name = QStringLiteral("Copy %1").arg(++n);
        answer({name, QString::fromUtf8(c.target)});
        const auto id = commands->saveAs(source, 1);
        EXPECT_EQ(id.has_value(), c.created);
        ASSERT_GE(prompts.records.size(), 2);
        EXPECT_EQ(prompts.records[1].text,
                  QStringLiteral("Please enter the new temperature target (°F). Leave entry blank if no change."));
        EXPECT_EQ(prompts.records[1].title, QStringLiteral("New Temperature Target"));
        if (id) {
            EXPECT_EQ(lib->steps(*id).value(0).temperature, c.stored);
            EXPECT_EQ(prompts.lastMessage(), nullptr);
        } else {
            EXPECT_FALSE(lib->nameTaken(name));
            ASSERT_NE(prompts.lastMessage(), nullptr);
            EXPECT_EQ(prompts.lastMessage()->text,
                      QStringLiteral("Specified new temperature target is invalid. Copy action canceled."));
            EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("K7100DAQ"));
        }
    }
}

TEST_F(SequenceCommandsTest, SaveAsChecksTheNameAndStopsOnCancel)
{
    const int source = sequenceWithSteps(QStringLiteral("Source"), 2);
    answer({QStringLiteral("SOURCE"), QString()});
    EXPECT_FALSE(commands->saveAs(source, 1).has_value());
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Duplicate test name, please enter unique test name."));

    prompts.clear();
    answer({QString()}); // empty name: nothing more is asked
    EXPECT_FALSE(commands->saveAs(source, 1).has_value());
    EXPECT_EQ(prompts.records.size(), 1);

    prompts.clear();
    answer({QStringLiteral("Copy"), std::nullopt}); // cancelling the temperature question cancels the copy
    EXPECT_FALSE(commands->saveAs(source, 1).has_value());
    EXPECT_FALSE(lib->nameTaken(QStringLiteral("Copy")));
    EXPECT_EQ(lib->sequences().size(), 1);
}

TEST_F(SequenceCommandsTest, DeleteButtonAsksWithTheSequenceName)
{
    prompts.messageAnswers = {MsgAnswer::Cancel, MsgAnswer::Ok};
    EXPECT_FALSE(commands->confirmDelete(QStringLiteral("Mud A")));
    EXPECT_TRUE(commands->confirmDelete(QStringLiteral("Mud A")));
    ASSERT_NE(prompts.lastMessage(), nullptr);
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Do you really want to delete the test named 'Mud A' ?"));
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Delete Confirmation."));
    EXPECT_EQ(prompts.lastMessage()->buttons, MsgButtons::OkCancel);
}

TEST_F(SequenceCommandsTest, NinetyEightStepsAreTheMost)
{
    EXPECT_TRUE(commands->mayInsert(97));
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_FALSE(commands->mayInsert(98));
    ASSERT_NE(prompts.lastMessage(), nullptr);
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Maximum number of steps is 98."));
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Error: Too many test steps."));

    const int id = sequenceWithSteps(QStringLiteral("Long"), 96);
    prompts.clear();
    EXPECT_FALSE(commands->pasteSteps(id, 96, {1, 3, 96, true, 150}));
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Setup steps can not be larger than 98 steps!"));
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Step No input invalid"));
    EXPECT_EQ(lib->stepCount(id), 96);
    EXPECT_TRUE(commands->pasteSteps(id, 96, {1, 2, 96, true, 150}));
    EXPECT_EQ(lib->stepCount(id), 98);
    EXPECT_EQ(stepNumbers(id).last(), 98);
}

TEST_F(SequenceCommandsTest, InsertPutsTheStepBeforeOrAfterTheSelectedRow)
{
    const int id = sequenceWithSteps(QStringLiteral("S"), 3);
    EXPECT_TRUE(commands->insertStep(id, 2, true, {25, 150, 100, 10}));
    EXPECT_EQ(times(id), (QList<double>{10, 20, 25, 30}));
    EXPECT_TRUE(commands->insertStep(id, 2, false, {15, 150, 100, 10}));
    EXPECT_EQ(times(id), (QList<double>{10, 15, 20, 25, 30}));
    EXPECT_TRUE(commands->insertStep(id, 0, true, {5, 150, 100, 10}));
    EXPECT_EQ(times(id), (QList<double>{5, 10, 15, 20, 25, 30}));
    EXPECT_EQ(stepNumbers(id), (QList<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(SequenceCommandsTest, DeleteStepsRefusesImpossibleRangesAndAsksFirst)
{
    const int id = sequenceWithSteps(QStringLiteral("S"), 5);
    struct Case {
        int from, to;
        const char *message;
    };
    const Case refused[] = {
        {0, 3, "You cannot delete step from step 0 to step 3"}, // a cancelled dialog
        {2, 6, "You cannot delete step from step 2 to step 6"},
        {4, 2, "You cannot delete step from step 4 to step 2"},
    };
    for (const Case &c : refused) {
        prompts.clear();
        EXPECT_FALSE(commands->deleteSteps(id, 5, c.from, c.to));
        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_EQ(prompts.records[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(prompts.records[0].title, QStringLiteral("K7100DAQ"));
    }
    EXPECT_EQ(lib->stepCount(id), 5);

    prompts.clear();
    prompts.messageAnswers = {MsgAnswer::Cancel};
    EXPECT_FALSE(commands->deleteSteps(id, 5, 2, 3));
    EXPECT_EQ(prompts.lastMessage()->text, QStringLiteral("Are you sure you want delete step from 'step 2 to step 3'"));
    EXPECT_EQ(prompts.lastMessage()->title, QStringLiteral("Delete Confirmation."));
    EXPECT_EQ(prompts.lastMessage()->buttons, MsgButtons::OkCancel);
    EXPECT_EQ(lib->stepCount(id), 5);

    EXPECT_TRUE(commands->deleteSteps(id, 5, 2, 3));
    EXPECT_EQ(times(id), (QList<double>{10, 40, 50}));
}

TEST_F(SequenceCommandsTest, ADatabaseFailureIsToldAndChangesNothing)
{
    const int id = sequenceWithSteps(QStringLiteral("S"), 3);
    db.close();
    EXPECT_FALSE(commands->insertStep(id, 1, true, {5, 150, 100, 10}));
    ASSERT_NE(prompts.lastMessage(), nullptr);
    EXPECT_TRUE(
        prompts.lastMessage()->text.startsWith(QStringLiteral("The sequence database could not be read or changed: ")));
    EXPECT_EQ(prompts.lastMessage()->icon, MsgIcon::Critical);
}
