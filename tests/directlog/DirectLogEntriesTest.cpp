// The operator's entries, the recording rule and the run-speed command.
#include "directlog/DirectLogEntries.h"

#include <gtest/gtest.h>

TEST(DirectLogEntries, RunSpeedCommandIsByte8AndTheConstantSpeedProgram)
{
    struct Case {
        double speed;
        int rotorBob;
        const char *text;
    };
    const Case cases[] = {
        {300, 1, "1,60000,35,30000,1"}, {3, 2, "1,60000,35,300,2"},    {0, 1, "1,60000,35,0,1"},
        {600, 6, "1,60000,35,60000,6"}, {0.555, 3, "1,60000,35,56,3"}, {123.454, 1, "1,60000,35,12345,1"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DirectLogEntries::runSpeedCommand(c.speed, c.rotorBob), QByteArray(1, 8) + c.text) << c.text;
}

TEST(DirectLogEntries, SpeedIsAPlainNumberFrom0To600)
{
    struct Case {
        const char *text;
        std::optional<double> speed;
    };
    const Case cases[] = {
        {"300", 300},
        {"0", 0},
        {"600", 600},
        {" 3 ", 3},
        {"0.5", 0.5},
        {"650", std::nullopt},
        {"600.01", std::nullopt},
        {"-1", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"3OO", std::nullopt},
        {"300 rpm", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DirectLogEntries::speedFrom(QString::fromLatin1(c.text)), c.speed) << c.text;
}

TEST(DirectLogEntries, RateIsAPlainNumberFrom0_99To6000)
{
    struct Case {
        const char *text;
        std::optional<double> rate;
    };
    const Case cases[] = {
        {"1", 1},
        {"0.99", 0.99},
        {"6000", 6000},
        {"60", 60},
        {"0.5", std::nullopt},
        {"7000", std::nullopt},
        {"0", std::nullopt},
        {"", std::nullopt},
        {"x", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DirectLogEntries::rateFrom(QString::fromLatin1(c.text)), c.rate) << c.text;
}

TEST(DirectLogEntries, ReadingIsRecordedOnWholeMultiplesOfTheRate)
{
    struct Case {
        double rate;
        QList<qint64> recorded;
    };
    const Case cases[] = {
        {5, {5, 10, 15}},
        {1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {0.99, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {2.5, {2, 4, 6, 8, 10, 12, 14, 16}}, // 2.5 is taken as 2 (half to even)
        {3.5, {4, 8, 12, 16}},
        {60, {}},
    };
    for (const Case &c : cases) {
        QList<qint64> recorded;
        for (qint64 second = 1; second <= 16; ++second)
            if (DirectLogEntries::shouldRecord(second, c.rate))
                recorded << second;
        EXPECT_EQ(recorded, c.recorded) << c.rate;
    }
}
