#include "sequence/StepRules.h"

#include <gtest/gtest.h>

namespace {

// A step every check accepts; each case below changes one field.
StepFieldTexts validTexts(bool si)
{
    return {QStringLiteral("600"), si ? QStringLiteral("37.8") : QStringLiteral("100"), QStringLiteral("100"),
            QStringLiteral("170.23"), QStringLiteral("10")};
}

struct LimitCase {
    const char *label;
    StepField field;
    const char *text;
    StepDialogKind kind;
    bool si;
    bool accepted;
};

QString &fieldText(StepFieldTexts &t, StepField f)
{
    switch (f) {
    case StepField::Time: return t.time;
    case StepField::Temperature: return t.temperature;
    case StepField::Speed: return t.speed;
    case StepField::ShearRate: return t.shearRate;
    default: return t.recordRate;
    }
}

const char *expectedTitle(StepField f)
{
    switch (f) {
    case StepField::Time: return "Time input out of range";
    case StepField::Temperature: return "Temperature input out of range";
    case StepField::Speed: return "Speed input out of range";
    case StepField::ShearRate: return "Shear rate input out of range";
    default: return "K7100DAQ";
    }
}

const char *expectedText(StepField f)
{
    switch (f) {
    case StepField::Time: return "Invalid time input.";
    case StepField::Temperature: return "Invalid temperature input.";
    case StepField::Speed: return "Invalid speed input.";
    case StepField::ShearRate: return "Invalid shear rate input.";
    default: return "Invalid real time data recording rate input.";
    }
}

constexpr auto Edit = StepDialogKind::Edit;
constexpr auto Insert = StepDialogKind::Insert;

const LimitCase kLimitCases[] = {
    {"time zero", StepField::Time, "0", Edit, false, true},
    {"time 6300", StepField::Time, "6300", Edit, false, true},
    {"time 6300.1", StepField::Time, "6300.1", Edit, false, false},
    {"time negative", StepField::Time, "-1", Insert, false, false},
    {"time letters", StepField::Time, "abc", Edit, false, false},
    {"time number then letters", StepField::Time, "12abc", Edit, false, false},
    {"time empty", StepField::Time, "", Insert, false, false},
    {"time with blanks", StepField::Time, " 60 ", Insert, false, true},
    {"EI edit 20", StepField::Temperature, "20", Edit, false, true},
    {"EI edit 19.9", StepField::Temperature, "19.9", Edit, false, false},
    {"EI edit 210", StepField::Temperature, "210", Edit, false, true},
    {"EI edit 220", StepField::Temperature, "220", Edit, false, true},
    {"EI edit 220.1", StepField::Temperature, "220.1", Edit, false, false},
    {"EI insert 200", StepField::Temperature, "200", Insert, false, true},
    {"EI insert 210", StepField::Temperature, "210", Insert, false, false},
    {"EI insert 19", StepField::Temperature, "19", Insert, false, false},
    {"EI letters", StepField::Temperature, "hot", Edit, false, false},
    {"SI edit -6", StepField::Temperature, "-6", Edit, true, true},
    {"SI insert 90", StepField::Temperature, "90", Insert, true, true},
    {"SI edit 90.1", StepField::Temperature, "90.1", Edit, true, false},
    {"SI insert -6.1", StepField::Temperature, "-6.1", Insert, true, false},
    {"SI insert 95 (under the EI limit, still refused)", StepField::Temperature, "95", Insert, true, false},
    {"speed -0.00099", StepField::Speed, "-0.00099", Edit, false, true},
    {"speed -0.001", StepField::Speed, "-0.001", Edit, false, false},
    {"speed 600.01", StepField::Speed, "600.01", Insert, false, true},
    {"speed 600.02", StepField::Speed, "600.02", Insert, false, false},
    {"speed letters", StepField::Speed, "fast", Insert, false, false},
    {"shear rate -0.01", StepField::ShearRate, "-0.01", Edit, false, true},
    {"shear rate 9000", StepField::ShearRate, "9000", Edit, false, true},
    {"shear rate 9000.1", StepField::ShearRate, "9000.1", Edit, false, false},
    {"shear rate empty counts as zero", StepField::ShearRate, "", Insert, false, true},
    {"shear rate letters", StepField::ShearRate, "x", Insert, false, false},
    {"record rate 1", StepField::RecordRate, "1", Edit, false, true},
    {"record rate 2.0 (a whole number written with its point)", StepField::RecordRate, "2.0", Edit, false, true},
    {"record rate 1.9 (whole seconds only)", StepField::RecordRate, "1.9", Edit, false, false},
    {"record rate 10.5", StepField::RecordRate, "10.5", Insert, false, false},
    {"record rate 0.9", StepField::RecordRate, "0.9", Edit, false, false},
    {"record rate 0", StepField::RecordRate, "0", Insert, false, false},
    {"record rate -5", StepField::RecordRate, "-5", Insert, false, false},
    {"record rate letters", StepField::RecordRate, "often", Insert, false, false},
};

} // namespace

TEST(StepRules, EachFieldKeepsItsLimitsWithItsOwnMessage)
{
    for (const LimitCase &c : kLimitCases) {
        SCOPED_TRACE(c.label);
        StepFieldTexts t = validTexts(c.si);
        fieldText(t, c.field) = QString::fromUtf8(c.text);
        const StepCheck check = StepRules::check(t, c.kind, c.si);
        if (c.accepted) {
            EXPECT_TRUE(check.values.has_value());
            EXPECT_FALSE(check.refusal.has_value());
        } else {
            ASSERT_TRUE(check.refusal.has_value());
            EXPECT_FALSE(check.values.has_value());
            EXPECT_EQ(check.refusal->field, c.field);
            EXPECT_EQ(check.refusal->text, QString::fromUtf8(expectedText(c.field)));
            EXPECT_EQ(check.refusal->title, QString::fromUtf8(expectedTitle(c.field)));
        }
    }
}

TEST(StepRules, FieldsAreCheckedInOrderTimeTemperatureSpeedShearRateRecordRate)
{
    StepFieldTexts t{QStringLiteral("7000"), QStringLiteral("500"), QStringLiteral("900"), QStringLiteral("99999"),
                     QStringLiteral("0")};
    const StepField order[] = {StepField::Time, StepField::Temperature, StepField::Speed, StepField::ShearRate,
                               StepField::RecordRate};
    StepFieldTexts good = validTexts(false);
    for (StepField f : order) {
        const StepCheck check = StepRules::check(t, StepDialogKind::Edit, false);
        ASSERT_TRUE(check.refusal.has_value());
        EXPECT_EQ(check.refusal->field, f);
        fieldText(t, f) = fieldText(good, f);
    }
    EXPECT_TRUE(StepRules::check(t, StepDialogKind::Edit, false).values.has_value());
}

TEST(StepRules, AcceptedValuesAreHandedOverInFahrenheitAndAsTyped)
{
    struct Case {
        const char *label;
        bool si;
        const char *temperature;
        const char *recordRate;
        double storedTemperature;
        double storedRecordRate;
    };
    const Case cases[] = {
        {"SI 37.8 C is stored as 100 F (100.04 to one decimal)", true, "37.8", "10", 100.0, 10},
        {"SI -6 C", true, "-6", "10", 21.2, 10},
        {"SI 90 C", true, "90", "10", 194.0, 10},
        {"EI keeps the typed temperature", false, "100.04", "10", 100.04, 10},
        {"record rate 2.0 is the whole 2", false, "100", "2.0", 100, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        StepFieldTexts t = validTexts(c.si);
        t.temperature = QString::fromUtf8(c.temperature);
        t.recordRate = QString::fromUtf8(c.recordRate);
        const StepCheck check = StepRules::check(t, StepDialogKind::Edit, c.si);
        ASSERT_TRUE(check.values.has_value());
        EXPECT_DOUBLE_EQ(check.values->temperature, c.storedTemperature);
        EXPECT_DOUBLE_EQ(check.values->recordRate, c.storedRecordRate);
        EXPECT_DOUBLE_EQ(check.values->time, 600);
        EXPECT_DOUBLE_EQ(check.values->speed, 100);
    }
}

TEST(StepRules, LeavingTheSpeedFieldFillsTheShearRate)
{
    struct Case {
        const char *speed;
        float factor;
        const char *shearRate; // nullptr: refused
    };
    const Case cases[] = {
        {"100", 1.0f, "170.23"},   {"100", 3.185f, "542.18"},   {"100", 0.2215f, "37.71"},
        {"0", 1.0f, ".00"},        {"600.01", 1.0f, "1021.40"}, {"-0.0099", 1.0f, "-.02"},
        {"600.02", 1.0f, nullptr}, {"-0.01", 1.0f, nullptr},    {"fast", 1.0f, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.speed);
        const Coupling out = StepRules::speedLeft(QString::fromUtf8(c.speed), c.factor);
        if (c.shearRate) {
            ASSERT_TRUE(out.otherText.has_value());
            EXPECT_EQ(*out.otherText, QString::fromUtf8(c.shearRate));
            EXPECT_FALSE(out.refusal.has_value());
        } else {
            ASSERT_TRUE(out.refusal.has_value());
            EXPECT_EQ(out.refusal->field, StepField::Speed);
            EXPECT_EQ(out.refusal->text, QStringLiteral("Invalid speed input."));
            EXPECT_EQ(out.refusal->title, QStringLiteral("Speed input out of range"));
            EXPECT_FALSE(out.otherText.has_value());
        }
    }
    EXPECT_FALSE(StepRules::speedLeft(QString(), 1.0f).otherText.has_value());
    EXPECT_FALSE(StepRules::speedLeft(QString(), 1.0f).refusal.has_value());
}

TEST(StepRules, LeavingTheShearRateFieldFillsTheSpeedAndChecksIt)
{
    struct Case {
        const char *shearRate;
        float factor;
        const char *speed; // what the speed field shows afterwards (nullptr: untouched)
        bool refused;
    };
    const Case cases[] = {
        {"170.23", 1.0f, "100.00", false}, {"542.18", 3.185f, "100.00", false},
        {"1021.4", 1.0f, "600.01", false}, {"1100", 1.0f, "646.18", true}, // derived speed above 600.01
        {"90001", 0.1574f, nullptr, true},                                 // above the shear-rate limit itself
        {"-0.02", 1.0f, nullptr, true},    {"lots", 1.0f, nullptr, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.shearRate);
        const Coupling out = StepRules::shearRateLeft(QString::fromUtf8(c.shearRate), c.factor);
        if (c.speed) {
            ASSERT_TRUE(out.otherText.has_value());
            EXPECT_EQ(*out.otherText, QString::fromUtf8(c.speed));
        } else {
            EXPECT_FALSE(out.otherText.has_value());
        }
        EXPECT_EQ(out.refusal.has_value(), c.refused);
        if (out.refusal) {
            EXPECT_EQ(out.refusal->field, StepField::ShearRate);
            EXPECT_EQ(out.refusal->text, QStringLiteral("Invalid shear rate input."));
            EXPECT_EQ(out.refusal->title, QStringLiteral("Shear rate input out of range. Please try again."));
        }
    }
}

TEST(StepRules, RateFactorIsItsShortestDecimalText)
{
    // The single-precision factor 3.185f is 3.18499994...; statements always used "3.185".
    EXPECT_EQ(StepRules::rateFactorValue(3.185f), 3.185);
    EXPECT_EQ(StepRules::rateFactorValue(0.2215f), 0.2215);
    EXPECT_EQ(StepRules::rateFactorValue(1.0f), 1.0);
    EXPECT_DOUBLE_EQ(StepRules::shearRate(100, 3.185f), 100 / 0.58744 * 3.185);
}

TEST(StepRules, CopyPasteNeedsAnUpwardRangeAndAUsableTemperature)
{
    struct Case {
        int from, to;
        const char *temperature;
        const char *text; // nullptr: accepted
        const char *title;
    };
    const Case cases[] = {
        {2, 4, "150", nullptr, nullptr},
        {3, 3, "20", nullptr, nullptr},
        {4, 2, "150", "Copy range should be from a lower to a higher numbered step", "Step No. input invalid"},
        {2, 4, "0", "Please input the temperature", "Temperature input invalid"},
        {2, 4, "", "Please input the temperature", "Temperature input invalid"},
        {2, 4, "-5", "Please input the temperature", "Temperature input invalid"},
        {2, 4, "abc", "Please input the temperature", "Temperature input invalid"},
        {2, 4, "5000", "Invalid temperature input.", "Temperature input out of range"},
        {2, 4, "10", "Invalid temperature input.", "Temperature input out of range"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.temperature);
        const auto refusal = StepRules::checkCopyPaste(c.from, c.to, QString::fromUtf8(c.temperature));
        if (!c.text) {
            EXPECT_FALSE(refusal.has_value());
            continue;
        }
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->text, QString::fromUtf8(c.text));
        EXPECT_EQ(refusal->title, QString::fromUtf8(c.title));
    }
}
