#include "common/NumberText.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace NumberText;

namespace {

struct FormatCase {
    double value;
    const char *picture;
    const char *expected;
};

// Every picture the grids, files and reports use, with the values that show its rules: optional and
// required digits, the point that stays when no decimal follows, rounding on the decimal form.
const FormatCase kFormatCases[] = {
    {0, "##0", "0"},
    {5.5, "##0", "6"},
    {1234.4, "##0", "1234"},
    {-2.5, "##0", "-3"},
    {0.4, "##0", "0"},
    {10, "###0.#", "10."},
    {12.34, "###0.#", "12.3"},
    {0.05, "###0.#", "0.1"},
    {0, "###0.#", "0."},
    {12345, "###0.#", "12345."},
    {0.5, "##0.#", "0.5"},
    {72, "##0.#", "72."},
    {72.25, "##0.#", "72.3"},
    {-17.78, "##0.#", "-17.8"},
    {0.000001, "###0.##", "0."},
    {1.7023, "###0.##", "1.7"},
    {300, "###0.##", "300."},
    {5.105, "###0.##", "5.11"},
    {250, "##0.###", "250."},
    {48.923679, "##0.###", "48.924"},
    {0.0005, "##0.###", "0.001"},
    {0.0004, "##0.###", "0."},
    {4.8, "####0.00#", "4.80"},
    {4.8125, "####0.00#", "4.813"},
    {0, "####0.00#", "0.00"},
    {12345.6789, "####0.00#", "12345.679"},
    {1, "###0.###", "1."},
    {0.2215, "###0.###", "0.222"},
    {1.0 / 3.0, "#0.#####", "0.33333"},
    {48.923679, "#0.#####", "48.92368"},
    {2, "#0.#####", "2."},
    {0.000004, "#0.#####", "0."},
    {0.000005, "#0.#####", "0.00001"},
    {300.5, "#0.###", "300.5"},
    {0.0001, "#0.###", "0."},
    {1.5, "####0.0##", "1.5"},
    {2, "####0.0##", "2.0"},
    {1.23456, "####0.0##", "1.235"},
    {2, "####0.0#", "2.0"},
    {3.14159, "####0.0#", "3.14"},
    {1.005, "####0.0#", "1.01"},
    {0.5, "###.0", ".5"},
    {100, "###.0", "100.0"},
    {0, "###.0", ".0"},
    {-0.5, "###.0", "-.5"},
    {1234.56, "###.0", "1234.6"},
    {0.5, "###0.00", "0.50"},
    {300, "###0.00", "300.00"},
    {2.675, "###0.00", "2.68"},
    {0.5, "###.00", ".50"},
    {170.2, "###.00", "170.20"},
    {17, "####.00", "17.00"},
    {0.25, "####.00", ".25"},
    {122, "###.#", "122."},
    {98.6, "###.#", "98.6"},
    {0, "###.#", "."},
    {0.05, "###.#", ".1"},
    {9.96, "#0.#", "10."},
    {0.25, "#0.#", "0.3"},
    {3000, "#0", "3000"},
    {0.5, "#0", "1"},
    {2.5, "#0", "3"},
    {0, "#0", "0"},
    {30000.4, "#0", "30000"},
    {0, "0.0", "0.0"},
    {-0.04, "0.0", "0.0"},
    {-0.05, "0.0", "-0.1"},
    {1.25, "0.0", "1.3"},
    {1.35, "0.0", "1.4"},
    {5, "00", "05"},
    {123, "00", "123"},
    {42, "00000", "00042"},
    {0, "00000", "00000"},
    {7, "000", "007"},
    {999.5, "000", "1000"},
    {1e15, "0", "1000000000000000"},
    {123456789012345678.0, "##0", "123456789012346000"},
    {1.25, "(0.0)", "(1.3)"},
};

} // namespace

TEST(NumberTextFormat, PicturesFollowTheClassicRules)
{
    for (const auto &c : kFormatCases)
        EXPECT_EQ(Format(c.value, QString::fromLatin1(c.picture)), QString::fromLatin1(c.expected))
            << c.value << " in \"" << c.picture << "\"";
}

TEST(NumberTextFormat, DecimalPointIsAPointWhateverTheLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Format(1.5, "##0.0#"), "1.5");
    EXPECT_EQ(Str(1.5), " 1.5");
    EXPECT_EQ(Text(1.5), "1.5");
    EXPECT_DOUBLE_EQ(Val("1,5"), 1.0);
    QLocale::setDefault(previous);
}

TEST(NumberTextStr, LeadingBlankNoZeroBeforeThePointAndSignificantDigits)
{
    struct Case {
        double value;
        int significant;
        const char *expected;
    };
    const Case cases[] = {
        {1.0, 15, " 1"},
        {100, 15, " 100"},
        {0, 15, " 0"},
        {-1.25, 15, "-1.25"},
        {-0.5, 15, "-.5"},
        {double(3.185f), 7, " 3.185"},
        {double(0.2215f), 7, " .2215"},
        {double(1.0f), 7, " 1"},
        {1.0 / 3.0, 15, " .333333333333333"},
        {1.0 / 3.0, 7, " .3333333"},
        {1234567.0, 7, " 1234567"},
        {12345678.0, 7, " 1.234568E+07"},
        {0.0001, 15, " .0001"},
        {0.00001, 15, " 1E-05"},
        {1e20, 15, " 1E+20"},
        {-2.5e-7, 15, "-2.5E-07"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Str(c.value, c.significant), QString::fromLatin1(c.expected)) << c.value << " / " << c.significant;
}

TEST(NumberTextVal, ReadsTheLeadingNumberOrZero)
{
    struct Case {
        const char *text;
        double expected;
    };
    const Case cases[] = {
        {"12abc", 12},   {" 3.5 ", 3.5}, {"abc", 0},    {"", 0},        {"1e3", 1000},  {"-5", -5},
        {"+5", 5},       {".5", 0.5},    {"-.5", -0.5}, {"1 2 3", 123}, {"1.2.3", 1.2}, {"2e", 2},
        {"2e-2", 0.02},  {"1d3", 1000},  {" 10.", 10},  {"-", 0},       {".", 0},       {"1,5", 1},
        {"\t 7\r\n", 7}, {"&H10", 0},    {"- 4", -4},   {"1e999", 0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(Val(QString::fromLatin1(c.text)), c.expected) << '"' << c.text << '"';
}

TEST(NumberTextText, ShortestTextThatReadsBack)
{
    struct Case {
        double value;
        const char *expected;
    };
    const Case cases[] = {
        {10, "10"},         {0.5, "0.5"}, {-0.5, "-0.5"}, {0.1 + 0.2, "0.3"},         {1.0 / 3.0, "0.333333333333333"},
        {1e20, "1E+20"},    {0, "0"},     {-0.0, "0"},    {123456.789, "123456.789"}, {0.000001, "1E-06"},
        {600.01, "600.01"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Text(c.value), QString::fromLatin1(c.expected)) << c.value;

    for (double v : {0.5, 77.25, 30000.0, 0.000001, 1e20, -12.125, 600.01})
        EXPECT_DOUBLE_EQ(Val(Text(v)), v) << v;
    // Str's form reads back too (statements and files are read with Val).
    for (double v : {0.2215, 3.185, -0.5, 1e-5})
        EXPECT_DOUBLE_EQ(Val(Str(v)), v) << v;
}

TEST(NumberTextRounding, HalfAwayFromZeroAndHalfEvenOnTheDecimalForm)
{
    struct Case {
        double value;
        int decimals;
        double away;
        double even;
    };
    const Case cases[] = {
        {2.5, 0, 3, 2},         {3.5, 0, 4, 4},         {-2.5, 0, -3, -2},      {0.5, 0, 1, 0},
        {1.5, 0, 2, 2},         {2.675, 2, 2.68, 2.68}, {2.665, 2, 2.67, 2.66}, {1.005, 2, 1.01, 1.0},
        {0.125, 2, 0.13, 0.12}, {0.135, 2, 0.14, 0.14}, {2.5001, 0, 3, 3},      {1234.5, -1, 1230, 1230},
        {1235, -1, 1240, 1240}, {0.0004, 3, 0, 0},      {9.995, 2, 10, 10},     {42, 3, 42, 42},
    };
    for (const auto &c : cases) {
        EXPECT_DOUBLE_EQ(RoundHalfAwayFromZero(c.value, c.decimals), c.away) << c.value << " @" << c.decimals;
        EXPECT_DOUBLE_EQ(RoundHalfEven(c.value, c.decimals), c.even) << c.value << " @" << c.decimals;
    }
}

TEST(NumberTextFormat, NonFiniteValuesAreNamedNotGarbled)
{
    EXPECT_EQ(Format(std::numeric_limits<double>::quiet_NaN(), "##0.0#"), "NaN");
    EXPECT_EQ(Format(-std::numeric_limits<double>::infinity(), "0"), "-Inf");
    EXPECT_EQ(Text(std::numeric_limits<double>::infinity()), "Inf");
}

// A spreadsheet cell holds the number a report's picture shows: the same rounding as Format, read back.
TEST(NumberTextFormat, FormatValueIsTheNumberTheTextShows)
{
    const QString pictures[] = {"#0.#####", "#0.###", "####0.0##", "####0.0#", "0.0", "##0", "###0.#"};
    const double values[] = {1021.38,   600,       0,    0.000001, -0.000001,      2.675,   30.593718,
                             58.561643, -12.34567, 1e-9, 4.5,      123456.7891234, 0.00049, 0.0005};
    for (const QString &p : pictures) {
        for (double v : values) {
            SCOPED_TRACE(testing::Message() << p.toStdString() << " " << v);
            const double shown = NumberText::FormatValue(v, p);
            EXPECT_EQ(shown, NumberText::Val(NumberText::Format(v, p)));
            EXPECT_FALSE(std::signbit(shown) && shown == 0.0) << "no negative zero";
        }
    }
    EXPECT_EQ(NumberText::PictureDecimals(QStringLiteral("#0.#####")), 5);
    EXPECT_EQ(NumberText::PictureDecimals(QStringLiteral("####0.0#")), 2);
    EXPECT_EQ(NumberText::PictureDecimals(QStringLiteral("##0")), 0);
}
