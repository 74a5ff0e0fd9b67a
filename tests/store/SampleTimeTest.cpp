#include "store/SampleTime.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char *typed;
    QLocale locale;
    QDateTime want; // invalid: refused
};

QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

} // namespace

TEST(SampleTime, ParsesIsoAndTheLocaleFormsAndRefusesTheRest)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    const ParseCase cases[] = {
        {"2024-05-06 07:08:09", us, at(2024, 5, 6, 7, 8, 9)},
        {"2024-05-06T07:08:09", de, at(2024, 5, 6, 7, 8, 9)},
        {" 2024-05-06  07:08 ", us, at(2024, 5, 6, 7, 8)},
        {"2024-5-6", us, at(2024, 5, 6)},
        {"5/6/2024", us, at(2024, 5, 6)},
        {"5/6/24", us, at(2024, 5, 6)},
        {"5/6/2024 7:08 PM", us, at(2024, 5, 6, 19, 8)},
        {"5/6/2024 19:08", us, at(2024, 5, 6, 19, 8)},
        {"6.5.2024", de, at(2024, 5, 6)},
        {"06.05.24 07:08", de, at(2024, 5, 6, 7, 8)},
        {"abc", us, QDateTime()},
        {"2024-02-30", us, QDateTime()},
        {"13/45/2024", us, QDateTime()},
        {"", us, QDateTime()},
        {"12", us, QDateTime()},
    };
    for (const ParseCase &c : cases) {
        const auto got = SampleTime::parse(QString::fromUtf8(c.typed), c.locale);
        if (!c.want.isValid()) {
            EXPECT_FALSE(got.has_value()) << c.typed << " -> " << got.value_or(QDateTime()).toString().toStdString();
        } else {
            ASSERT_TRUE(got.has_value()) << c.typed;
            EXPECT_EQ(*got, c.want) << c.typed << " -> " << got->toString().toStdString();
        }
    }
}

TEST(SampleTime, StoredAndShownForms)
{
    const QDateTime t = at(2024, 5, 6, 7, 8, 9);
    EXPECT_EQ(SampleTime::toStored(t), "2024-05-06T07:08:09");
    EXPECT_EQ(SampleTime::toDisplay(t), "2024-05-06 07:08:09");
    EXPECT_EQ(SampleTime::fromStored(QVariant("2024-05-06T07:08:09")), t);
    EXPECT_EQ(SampleTime::displayStored(QVariant("2024-05-06T07:08:09")), "2024-05-06 07:08:09");
    EXPECT_EQ(SampleTime::displayStored(QVariant()), "");
    EXPECT_EQ(SampleTime::displayStored(QVariant("last week")), "last week");
    EXPECT_FALSE(SampleTime::fromStored(QVariant("last week")).has_value());
}
