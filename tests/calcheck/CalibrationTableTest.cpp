// The result table: the error cells, and which readings fill which row.
#include "calcheck/CalibrationTable.h"
#include "realtime/RealTimeReading.h"
#include "tests/calcheck/CalCheckFixture.h"

#include <gtest/gtest.h>

namespace {

RealTimeReading decoded(const QByteArray &message)
{
    return RealTimeReading::decode(message);
}

CalibrationTable tableFor(double viscosity)
{
    CalibrationTable t;
    t.reset(CalibrationPlan::forViscosity(viscosity), QDateTime(QDate(2026, 1, 15), QTime(9, 0)));
    return t;
}

} // namespace

TEST(CalibrationTable, ErrorCellsShowSignedErrorAndPercentOfTheShownError)
{
    struct Case {
        qint64 measured;
        int target;
        const char *error;
        const char *percent;
    };
    const Case cases[] = {
        {98, 100, "-2.0", "2.0"}, {3, 3, "0.0", "0.0"},      {102, 100, "2.0", "2.0"},
        {7, 6, "1.0", "16.7"},    {795, 800, "-5.0", "0.6"}, {0, 10, "-10.0", "100.0"},
    };
    for (const Case &c : cases) {
        const QString error = CalibrationTable::errorText(c.measured, c.target);
        EXPECT_EQ(error, QString::fromLatin1(c.error)) << c.measured << " for " << c.target;
        EXPECT_EQ(CalibrationTable::percentErrorText(error, c.target), QString::fromLatin1(c.percent))
            << c.measured << " for " << c.target;
    }
    // The percent comes from the error as shown, already rounded to one decimal.
    EXPECT_EQ(CalibrationTable::percentErrorText(QStringLiteral("-0.1"), 3), QStringLiteral("3.3"));
    EXPECT_EQ(CalibrationTable::percentErrorText(QStringLiteral("0.04"), 3), QStringLiteral("1.3"));
}

TEST(CalibrationTable, ResetShowsNAEverywhereAndMarksTheTargetsRun)
{
    CalibrationTable t = tableFor(100);
    ASSERT_TRUE(t.take(decoded(calcheck::reading(1, 28, 4))));
    t.reset(CalibrationPlan::forViscosity(50), QDateTime(QDate(2026, 1, 15), QTime(9, 5)));
    const int targets[] = {3, 6, 10, 100, 800};
    for (int r = 0; r < 5; ++r) {
        const CalibrationRow &row = t.rows()[size_t(r)];
        EXPECT_EQ(row.target, targets[r]);
        EXPECT_EQ(row.error, QStringLiteral("N/A"));
        EXPECT_EQ(row.percentError, QStringLiteral("N/A"));
        EXPECT_FALSE(row.measured.has_value());
        EXPECT_EQ(row.run, r < 4) << r;
    }
    EXPECT_EQ(t.startedAt().time(), QTime(9, 5));
}

TEST(CalibrationTable, OnlySeconds27And28OfASentStepFillItsRow)
{
    CalibrationTable t = tableFor(50); // four steps sent
    struct Case {
        QByteArray message;
        bool taken;
    };
    const Case cases[] = {
        {calcheck::reading(4, 26, 99), false},
        {calcheck::reading(4, 27, 97), true},
        {calcheck::reading(4, 28, 98), true},
        {calcheck::reading(4, 29, 150), false},
        {calcheck::reading(5, 28, 790), false}, // not sent: no row for it
        {calcheck::reading(0, 28, 3), false},
        {calcheck::reading(6, 28, 3), false},
        {realTimeMessage({4, 28, 0, 50, 0, 100, 1}), false},     // temperature below 1: invalid
        {realTimeMessage({4, 28, 55, 60001, 0, 100, 1}), false}, // stress out of range: invalid
    };
    for (const Case &c : cases)
        EXPECT_EQ(t.take(decoded(c.message)), c.taken) << c.message.toStdString();
    // The reading at 28 s is the one that stays.
    EXPECT_EQ(t.rows()[3].measured, 98);
    EXPECT_EQ(t.rows()[3].error, QStringLiteral("-2.0"));
    EXPECT_EQ(t.rows()[3].percentError, QStringLiteral("2.0"));
    EXPECT_EQ(t.rows()[4].error, QStringLiteral("N/A"));
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(t.rows()[size_t(r)].error, QStringLiteral("N/A")) << r;
}
