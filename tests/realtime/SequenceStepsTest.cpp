// The step grid and record rates of the running sequence.
#include "realtime/SequenceSteps.h"

#include "tests/realtime/RealTimeFixture.h"

#include <gtest/gtest.h>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

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
