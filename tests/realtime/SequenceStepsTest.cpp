// The step grid and record rates of the running sequence.
#include "realtime/SequenceSteps.h"
#include "sequence/SequenceLibrary.h"
#include "sequence/StepTable.h"

#include "tests/realtime/RealTimeFixture.h"
#include "tests/support/QStringPrinting.h"

#include <QSqlQuery>
#include <gtest/gtest.h>
#include <iterator>

TEST(SequenceSteps, GridTextsInEnglishAndMetricUnits)
{
    RealTimeFixture fx;
    fx.addSequence(QStringLiteral("Other"), {{60, 50, 3, 1}});
    fx.addSequence(QStringLiteral("Cure \"hot\" 'O"), {{600, 212, 300, 10}, {1200.5, 77.5, 10.49, 60}});

    struct Case {
        bool si;
        float rateFactor;
        QList<QStringList> cells;
        const char *tempTitle;
    };
    const Case cases[] = {
        {false,
         1.0f,
         {{"1", "600", "212.0", "300.00", "510.69", "10"}, {"2", "1200.5", "77.5", "10.49", "17.86", "60"}},
         "Temp\n(F°)"},
        {true,
         1.0f,
         {{"1", "600", "100.0", "300.00", "510.69", "10"}, {"2", "1200.5", "25.3", "10.49", "17.86", "60"}},
         "Temp\n(C°)"},
        // The R2-B1 factor as written in the statement, 3.185, not its single-precision binary value.
        {false,
         3.185f,
         {{"1", "600", "212.0", "300.00", "1626.55", "10"}, {"2", "1200.5", "77.5", "10.49", "56.88", "60"}},
         "Temp\n(F°)"},
    };
    for (const Case &c : cases) {
        QList<SequenceStepRow> rows;
        ASSERT_TRUE(SequenceSteps::load(fx.db(), QStringLiteral("cure \"HOT\" 'o"), c.si, c.rateFactor, &rows))
            << "names match whatever their case";
        ASSERT_EQ(rows.size(), 2);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(SequenceSteps::gridCells(rows[i]), c.cells[i]) << "row " << i << " si " << c.si;
        EXPECT_EQ(SequenceSteps::gridHeader(c.si).at(2), QString::fromUtf8(c.tempTitle));
        const RecordRates rates = SequenceSteps::recordRates(rows);
        EXPECT_EQ(rates.rateFor(1), 10);
        EXPECT_EQ(rates.rateFor(2), 60);
        EXPECT_EQ(rates.rateFor(3), 0);
    }
    EXPECT_EQ(SequenceSteps::gridHeader(false),
              (QStringList{"Step No", "Elaps Time\n(S)", "Temp\n(F°)", "Speed \n(Rpm)", "Shear Rate\n (1/S)",
                           "Record Rate\n(Sec/Datum)"}));

    QList<SequenceStepRow> none;
    EXPECT_TRUE(SequenceSteps::load(fx.db(), QStringLiteral("Missing"), false, 1.0f, &none));
    EXPECT_TRUE(none.isEmpty());
}

// Record rates are whole seconds. A rate stored with a fraction is one number everywhere: the setup
// screen's table, the real-time screen's grid and the recording decision all take the nearest whole
// second (a half to the even neighbour).
TEST(SequenceSteps, StoredFractionalRecordRateIsTheSameWholeSecondsOnEveryScreenAndInTheRun)
{
    const struct {
        double stored;
        int used;
    } cases[] = {{1.9, 2}, {2.5, 2}, {3.5, 4}, {1.4, 1}, {60, 60}};
    RealTimeFixture fx;
    QList<SequenceStepSpec> specs;
    for (size_t n = 0; n < std::size(cases); ++n)
        specs << SequenceStepSpec{60, 100, 100, 0};
    const int id = fx.addSequence(QStringLiteral("Old rates"), specs);
    QSqlQuery q(fx.db());
    for (int n = 0; n < int(std::size(cases)); ++n) {
        ASSERT_TRUE(
            q.prepare(QStringLiteral("UPDATE SequenceSetup SET RecordRate = ? WHERE SequenceId = ? AND StepNo = ?")));
        q.addBindValue(cases[n].stored);
        q.addBindValue(id);
        q.addBindValue(n + 1);
        ASSERT_TRUE(q.exec());
    }

    QList<SequenceStepRow> rows;
    ASSERT_TRUE(SequenceSteps::load(fx.db(), QStringLiteral("Old rates"), false, 1.0f, &rows));
    const QList<SequenceStep> stored = SequenceLibrary(fx.db()).steps(id);
    ASSERT_EQ(rows.size(), qsizetype(std::size(cases)));
    ASSERT_EQ(stored.size(), rows.size());
    const RecordRates rates = SequenceSteps::recordRates(rows);
    for (int n = 0; n < rows.size(); ++n) {
        SCOPED_TRACE(cases[n].stored);
        const QString shown = QString::number(cases[n].used);
        EXPECT_EQ(StepTable::cells(stored[n], false, 1.0f)[StepTable::RecordRate], shown); // setup screen
        EXPECT_EQ(SequenceSteps::gridCells(rows[n])[5], shown);                            // real-time screen
        EXPECT_EQ(rates.rateFor(n + 1), cases[n].used);                                    // recording
    }
}
