// The viscosity rule and the speeds, step counts and download items of a calibration check.
#include "calcheck/CalibrationPlan.h"
#include "link/DownloadStream.h"

#include <gtest/gtest.h>

TEST(CalibrationPlan, ViscosityIsAcceptedFrom0_9To5000cP)
{
    struct Case {
        const char *text;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"0.9", 0.9},           {"5000", 5000},
        {"100", 100},           {" 12.5 ", 12.5},
        {"100 cP", 100}, // the leading number is what counts
        {"0.89", std::nullopt}, {"5000.01", std::nullopt},
        {"0", std::nullopt},    {"-100", std::nullopt},
        {"abc", std::nullopt},  {"", std::nullopt},
        {"1e9", std::nullopt},
    };
    for (const Case &c : cases) {
        const std::optional<double> v = CalibrationPlan::viscosityFrom(QString::fromLatin1(c.text));
        EXPECT_EQ(v.has_value(), c.expected.has_value()) << c.text;
        if (v && c.expected) {
            EXPECT_DOUBLE_EQ(*v, *c.expected) << c.text;
        }
    }
}

TEST(CalibrationPlan, StepCountAndSpeedItemsFollowTheViscosity)
{
    struct Case {
        double viscosity;
        int steps;
        QList<QByteArray> speedItems;
    };
    const Case cases[] = {
        {100, 5, {"00176", "00352", "00587", "05874", "46995"}},
        {50, 4, {"00352", "00705", "01175", "11749"}},
        {0.9, 2, {"19581", "39163"}},
        {5000, 5, {"00004", "00007", "00012", "00117", "00940"}},
    };
    for (const Case &c : cases) {
        const CalibrationPlan plan = CalibrationPlan::forViscosity(c.viscosity);
        EXPECT_EQ(plan.StepCount, c.steps) << c.viscosity;
        const QList<DownloadStep> steps = plan.steps();
        ASSERT_EQ(steps.size(), c.steps) << c.viscosity;
        for (int i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(steps[i].stepNo, i + 1);
            EXPECT_EQ(steps[i].seconds, 30);
            EXPECT_EQ(steps[i].temperatureF, 55);
            // Item 6 of a step is its speed in hundredths of rpm.
            EXPECT_EQ(DownloadStream::stepItems(steps[i], 1)[6], c.speedItems[i]) << c.viscosity << " step " << i + 1;
        }
    }
}

TEST(CalibrationPlan, HundredCentipoiseGivesTheKnownSpeeds)
{
    const CalibrationPlan plan = CalibrationPlan::forViscosity(100);
    EXPECT_NEAR(plan.MinSpeed, 0.58744, 0.000005);
    const double expected[] = {1.76, 3.52, 5.87, 58.74, 469.95};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(plan.CheckSpeeds[size_t(i)], expected[i], 0.005) << i;
    EXPECT_NEAR(plan.stressAtMaxSpeed(), 1021.38, 0.01);
}

TEST(CalibrationPlan, ATargetIsRunExactlyWhenItsSpeedIsAtMost600Rpm)
{
    // Around each threshold and across the whole accepted range.
    QList<double> viscosities;
    for (double v = 0.9; v <= 5000; v *= 1.013)
        viscosities << v;
    for (int target : CalibrationPlan::TargetStresses) {
        const double atThreshold = target * 100.0 / (600 * 1.7023);
        viscosities << atThreshold * 0.999 << atThreshold * 1.001;
    }
    for (double v : viscosities) {
        if (v < CalibrationPlan::MinViscosity || v > CalibrationPlan::MaxViscosity)
            continue;
        const CalibrationPlan plan = CalibrationPlan::forViscosity(v);
        for (int i = 0; i < 5; ++i) {
            const bool run = i < plan.StepCount;
            EXPECT_EQ(run, plan.CheckSpeeds[size_t(i)] <= 600.0 + 1e-9) << "viscosity " << v << " target " << i;
        }
    }
}
