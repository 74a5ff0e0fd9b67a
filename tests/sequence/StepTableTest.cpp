#include "sequence/StepTable.h"
#include "common/ProgramState.h"
#include "common/RotorBobTable.h"
#include "sequence/SequenceLibrary.h"
#include "sequence/StepNumbering.h"

#include <gtest/gtest.h>

TEST(StepTable, HeaderFormatNamesTheTemperatureUnit)
{
    EXPECT_EQ(StepTable::headerFormat(false),
              QStringLiteral("<Step No|<Elaps Time\r(S)|<Temp\r(F°)|<Speed \r(Rpm)|<Shear Rate\r (1/S)|<Record Rate\r"
                             "(Sec/Datum)"));
    EXPECT_EQ(StepTable::headerFormat(true),
              QStringLiteral("<Step No|<Elaps Time\r(S)|<Temp\r(C°)|<Speed \r(Rpm)|<Shear Rate\r (1/S)|<Record Rate\r"
                             "(Sec/Datum)"));
    const QStringList titles = StepTable::headerTitles(true);
    ASSERT_EQ(titles.size(), StepTable::ColumnCount);
    EXPECT_EQ(titles[0], QStringLiteral("Step No"));
    EXPECT_EQ(titles[2], QStringLiteral("Temp\r(C°)"));
    EXPECT_EQ(titles[5], QStringLiteral("Record Rate\r(Sec/Datum)"));
}

TEST(StepTable, DefaultFirstStepShowsInBothUnitSystems)
{
    const SequenceStep step = SequenceLibrary::defaultFirstStep();
    EXPECT_EQ(StepTable::cells(step, false, 1.0f), (QStringList{"1", "600", "100.0", "100.00", "170.23", "10"}));
    EXPECT_EQ(StepTable::cells(step, true, 1.0f), (QStringList{"1", "600", "37.8", "100.00", "170.23", "10"}));
}

TEST(StepTable, ShearRateColumnFollowsTheRotorBob)
{
    const SequenceStep step{1, 600, 100, 100, 10};
    const char *expected[RotorBobTable::Count] = {"170.23", "542.18", "37.71", "37.71", "85.03", "26.79"};
    for (int position = 0; position < RotorBobTable::Count; ++position) {
        ProgramState state;
        RotorBobTable::select(position, state);
        SCOPED_TRACE(RotorBobTable::atPosition(position).text.toStdString());
        EXPECT_EQ(StepTable::cells(step, false, state.RateFactor)[StepTable::ShearRate],
                  QString::fromLatin1(expected[position]));
    }
}

TEST(StepTable, CellsUseThePicturesOfTheTable)
{
    const SequenceStep step{12, 7.5, 212, 0.5, 10};
    EXPECT_EQ(StepTable::cells(step, false, 1.0f), (QStringList{"12", "7.5", "212.0", "0.50", "0.85", "10"}));
    EXPECT_EQ(StepTable::cells(step, true, 1.0f)[StepTable::Temperature], QStringLiteral("100.0"));
}

// A rate stored with a fraction shows as the whole seconds a real-time run records at (a half goes to the
// even neighbour); the real-time screen's step grid and recording use the same number.
TEST(StepTable, StoredFractionalRecordRateShowsAsTheWholeSecondsUsed)
{
    const struct {
        double stored;
        const char *shown;
    } cases[] = {{1.9, "2"}, {2.5, "2"}, {3.5, "4"}, {1.4, "1"}, {10, "10"}, {0.4, "0"}};
    for (const auto &c : cases) {
        SequenceStep step{1, 60, 100, 100, c.stored};
        EXPECT_EQ(StepTable::cells(step, false, 1.0f)[StepTable::RecordRate], QString::fromLatin1(c.shown)) << c.stored;
    }
}

TEST(RotorBobTable, ListOrderCodesAndFactors)
{
    struct Row {
        const char *text;
        float stress, rate;
    };
    const Row rows[] = {{"R1-B1", 1.0f, 1.0f},      {"R2-B1", 1.0f, 3.185f},  {"R3-B1", 1.0f, 0.2215f},
                        {"R1-B2", 1.973f, 0.2215f}, {"R1-B5", 1.0f, 0.4995f}, {"R1-B4", 8.012f, 0.1574f}};
    ASSERT_EQ(RotorBobTable::texts().size(), RotorBobTable::Count);
    for (int i = 0; i < RotorBobTable::Count; ++i) {
        const RotorBobEntry e = RotorBobTable::atPosition(i);
        EXPECT_EQ(e.text, QString::fromLatin1(rows[i].text));
        EXPECT_EQ(RotorBobTable::texts()[i], e.text);
        EXPECT_EQ(e.code, i + 1);
        EXPECT_EQ(e.stressFactor, rows[i].stress);
        EXPECT_EQ(e.rateFactor, rows[i].rate);
        EXPECT_EQ(RotorBobTable::byCode(i + 1).text, e.text);
        ProgramState state;
        RotorBobTable::select(i, state);
        EXPECT_EQ(state.RotorBob, i + 1);
        EXPECT_EQ(state.StressFactor, rows[i].stress);
        EXPECT_EQ(state.RateFactor, rows[i].rate);
    }
    EXPECT_TRUE(RotorBobTable::isTableCode(6));
    EXPECT_FALSE(RotorBobTable::isTableCode(0));
    EXPECT_FALSE(RotorBobTable::isTableCode(1500));
    EXPECT_EQ(RotorBobTable::atPosition(9).code, 1);
}

TEST(StepNumbering, InsertAndPastePositions)
{
    struct Case {
        int row;
        bool after;
        int position;
    };
    const Case inserts[] = {{3, true, 4}, {3, false, 3}, {1, false, 1}, {0, true, 1}, {0, false, 1}, {98, true, 99}};
    for (const Case &c : inserts) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << (c.after ? " after" : " before"));
        EXPECT_EQ(StepNumbering::insertPosition(c.row, c.after), c.position);
    }
    EXPECT_EQ(StepNumbering::pastePosition(3, true), 4);
    EXPECT_EQ(StepNumbering::pastePosition(3, false), 3);
    EXPECT_EQ(StepNumbering::rangeLength(2, 4), 3);
}

TEST(StepNumbering, LimitsAndRanges)
{
    EXPECT_TRUE(StepNumbering::canInsert(97));
    EXPECT_FALSE(StepNumbering::canInsert(98));
    EXPECT_TRUE(StepNumbering::pasteFits(95, 3));
    EXPECT_FALSE(StepNumbering::pasteFits(96, 3));
    struct Range {
        int from, to, count;
        bool valid;
    };
    const Range ranges[] = {{2, 3, 5, true},  {1, 5, 5, true},  {0, 3, 5, false},
                            {2, 6, 5, false}, {4, 2, 5, false}, {1, 1, 0, false}};
    for (const Range &r : ranges) {
        SCOPED_TRACE(testing::Message() << r.from << ".." << r.to << " of " << r.count);
        EXPECT_EQ(StepNumbering::deleteRangeValid(r.from, r.to, r.count), r.valid);
        EXPECT_EQ(StepNumbering::copyRangeValid(r.from, r.to, r.count), r.valid);
    }
}
