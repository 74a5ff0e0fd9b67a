#include "store/RelatedInfoEntry.h"
#include "tests/store/LibraryFixture.h"

#include <gtest/gtest.h>

namespace {

struct EntryHarness {
    LibraryFixture fx;
    TestLibrary library{fx.db()};
    RelatedInfoEntry entry{fx.state, fx.prompts, fx.clock, library, QLocale(QLocale::English, QLocale::UnitedStates)};
};

} // namespace

TEST(RelatedInfoEntry, NewTestRefusalsStoreNothingAndKeepTheDialogOpen)
{
    struct Refusal {
        const char *label;
        RelatedInfoFields fields;
        const char *text;
        const char *title;
    };
    const Refusal cases[] = {
        {"blank name", {"   ", "m", "", "", ""}, "Must input a test name.", "Blank Input Error."},
        {"name in other case",
         {"FIRST test", "m", "", "", ""},
         "Duplicated test name. Please enter a new test name.",
         "Test Name Error."},
        {"sample time no date", {"new", "m", "tomorrow-ish", "", ""}, nullptr, "Sample Time Error."},
    };
    for (const Refusal &c : cases) {
        EntryHarness h;
        h.fx.addTest(1, "First Test");
        h.fx.state.NewTestMode = true;
        h.fx.state.RelatedOk = false;
        RelatedInfoFields fields = c.fields;
        EXPECT_FALSE(h.entry.accept(fields)) << c.label;
        EXPECT_TRUE(h.fx.state.RelatedOk) << c.label; // OK was pressed, even though refused
        ASSERT_NE(h.fx.prompts.lastMessage(), nullptr) << c.label;
        if (c.text)
            EXPECT_EQ(h.fx.prompts.lastMessage()->text, c.text) << c.label;
        else
            EXPECT_TRUE(h.fx.prompts.lastMessage()->text.contains("\"tomorrow-ish\" is not a date")) << c.label;
        EXPECT_EQ(h.fx.prompts.lastMessage()->title, c.title) << c.label;
        EXPECT_EQ(h.fx.count("SELECT count(*) FROM RelatedInfo"), 1) << c.label;
        EXPECT_TRUE(h.fx.state.NewTestMode) << c.label;
        EXPECT_EQ(h.fx.state.CurrentTestName, "") << c.label;
    }
}

TEST(RelatedInfoEntry, NewTestGetsTheNextIdAndDefaults)
{
    EntryHarness h;
    h.fx.addTest(6, "older");
    h.fx.state.NewTestMode = true;
    RelatedInfoFields fields{" Run \"7\" it's ", "", "", "Acme", "notes"};
    ASSERT_TRUE(h.entry.accept(fields));
    EXPECT_TRUE(h.fx.prompts.records.isEmpty());
    EXPECT_EQ(h.fx.state.NewTestId, 7);
    EXPECT_EQ(h.fx.state.CurrentTestName, "Run \"7\" it's");
    EXPECT_FALSE(h.fx.state.NewTestMode);
    EXPECT_EQ(fields.mudId, "N/A");
    // The virtual clock stands at 2026-01-15 09:00:00 + 1000 s.
    EXPECT_EQ(fields.sampleTime, "2026-01-15 09:16:40");
    EXPECT_EQ(h.fx.state.CurrentMudId, "N/A");
    EXPECT_EQ(h.fx.state.CurrentSampleTime, "2026-01-15 09:16:40");
    EXPECT_EQ(h.fx.state.CurrentCompany, "Acme");
    EXPECT_EQ(h.fx.value("SELECT SampleTime FROM RelatedInfo WHERE TestId = 7").toString(), "2026-01-15T09:16:40");
    EXPECT_EQ(h.fx.value("SELECT TestName FROM RelatedInfo WHERE TestId = 7").toString(), "Run \"7\" it's");
    EXPECT_EQ(h.fx.value("SELECT \"Desc\" FROM RelatedInfo WHERE TestId = 7").toString(), "notes");
}

TEST(RelatedInfoEntry, FirstTestOfAnEmptyTableIsNumberOneAndTypedTimeIsParsed)
{
    EntryHarness h;
    h.fx.state.NewTestMode = true;
    RelatedInfoFields fields{"one", "F1", "5/6/2024 7:08 PM", "", ""};
    ASSERT_TRUE(h.entry.accept(fields));
    EXPECT_EQ(h.fx.state.NewTestId, 1);
    EXPECT_EQ(fields.sampleTime, "2024-05-06 19:08:00");
    EXPECT_EQ(h.fx.value("SELECT SampleTime FROM RelatedInfo").toString(), "2024-05-06T19:08:00");
}

TEST(RelatedInfoEntry, EditingTheOpenTestRewritesItsDescriptionButNotItsName)
{
    EntryHarness h;
    h.fx.addTest(3, "Open One", 1, "M-3", "2024-01-05T10:00:00", "Acme", "old");
    h.fx.state.NewTestMode = false;
    h.fx.state.CurrentTestName = "open one";
    const RelatedInfoEntry::Loaded loaded = h.entry.load();
    EXPECT_TRUE(loaded.nameLocked);
    EXPECT_EQ(loaded.fields.testName, "Open One");
    EXPECT_EQ(loaded.fields.mudId, "M-3");
    EXPECT_EQ(loaded.fields.sampleTime, "2024-01-05 10:00:00");
    EXPECT_EQ(loaded.fields.desc, "old");

    RelatedInfoFields fields = loaded.fields;
    fields.testName = "renamed"; // the field is locked in the dialog; the stored name stays
    fields.desc = "new notes";
    fields.mudId = "";
    ASSERT_TRUE(h.entry.accept(fields));
    EXPECT_EQ(h.fx.value("SELECT TestName FROM RelatedInfo WHERE TestId = 3").toString(), "Open One");
    EXPECT_EQ(h.fx.value("SELECT \"Desc\" FROM RelatedInfo WHERE TestId = 3").toString(), "new notes");
    EXPECT_EQ(h.fx.value("SELECT MudId FROM RelatedInfo WHERE TestId = 3").toString(), "");
    EXPECT_EQ(h.fx.count("SELECT count(*) FROM RelatedInfo"), 1);
    EXPECT_EQ(h.fx.state.CurrentTestName, "open one");
}

TEST(RelatedInfoEntry, EditingAMissingRowStoresNothingAndCloses)
{
    EntryHarness h;
    h.fx.addTest(3, "other", 1, "M", "2024-01-05T10:00:00", "Acme", "keep");
    h.fx.state.NewTestMode = false;
    h.fx.state.CurrentTestName = "deleted meanwhile";
    const RelatedInfoEntry::Loaded loaded = h.entry.load();
    EXPECT_FALSE(loaded.nameLocked);
    EXPECT_TRUE(loaded.fields.testName.isEmpty());
    RelatedInfoFields fields{"other", "x", "", "y", "changed"};
    EXPECT_TRUE(h.entry.accept(fields));
    EXPECT_EQ(h.fx.value("SELECT \"Desc\" FROM RelatedInfo WHERE TestId = 3").toString(), "keep");
    EXPECT_EQ(h.fx.count("SELECT count(*) FROM RelatedInfo"), 1);
    EXPECT_EQ(h.fx.state.CurrentMudId, "x");
}

TEST(RelatedInfoEntry, CancelClearsRelatedOk)
{
    EntryHarness h;
    h.fx.state.RelatedOk = true;
    h.entry.cancel();
    EXPECT_FALSE(h.fx.state.RelatedOk);
}
