#include "reports/TextReport.h"
#include "reports/ReportedTestInfo.h"
#include "reports/Windows1252.h"
#include "tests/reports/ReportFixtures.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray fixture(const char *name)
{
    QFile f(QStringLiteral(K7100_SOURCE_DIR "/tests/reports/fixtures/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

QList<QByteArray> linesOf(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    EXPECT_TRUE(lines.back().isEmpty()) << "the file ends with a line end";
    lines.removeLast();
    for (QByteArray &l : lines) {
        EXPECT_TRUE(l.endsWith('\r')) << l.constData();
        l.chop(1);
    }
    return lines;
}

} // namespace

// The whole file, byte for byte, against files worked out by hand (CR LF, Windows-1252, patterns,
// elapsed time with 59.5 -> 60 and 10.5 -> 10, Null for a missing related value).
TEST(TextReport, matchesTheHandMadeFiles_EIandSI)
{
    struct Case {
        const char *file;
        ReportedTestInfo info;
        ResultTable rows;
        bool si;
    };
    const Case cases[] = {
        {"text_report_ei.csv", ReportFixtures::eiInfo(), ReportFixtures::eiRows(), false},
        {"text_report_si.csv", ReportFixtures::siInfo(), ReportFixtures::siRows(), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const QByteArray expected = fixture(c.file);
        const QByteArray got = TextReport::build(c.info, c.rows, c.si);
        ASSERT_FALSE(expected.isEmpty());
        const auto expectedLines = linesOf(expected);
        const auto gotLines = linesOf(got);
        ASSERT_EQ(gotLines.size(), expectedLines.size());
        for (int i = 0; i < gotLines.size(); ++i)
            EXPECT_EQ(gotLines[i], expectedLines[i]) << "line " << i + 1;
        EXPECT_EQ(got, expected);
    }
}

TEST(TextReport, testWithoutRows_endsAfterTheHeadingLine)
{
    const QByteArray got = TextReport::build(ReportFixtures::siInfo(), {}, true);
    const auto lines = linesOf(got);
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[9], QByteArray("Results"));
    EXPECT_TRUE(lines[10].startsWith("Step No,Elaps time (sec),Temperature (\xB0"
                                     "C),"));
    EXPECT_TRUE(lines[10].endsWith(",Fann\xAE 35 F1 Gel Dial Read (deg)"));
}

TEST(TextReport, relatedValues_nullOrEmptyReadNull_othersAsStored)
{
    ReportedTestInfo info; // everything null
    info.companyName = QStringLiteral("");
    info.desc = QStringLiteral("a,b \"quoted\"");
    const auto lines = linesOf(TextReport::build(info, {}, false));
    EXPECT_EQ(lines[2], QByteArray("Test Name:,Null"));
    EXPECT_EQ(lines[3], QByteArray("Fluid ID:     ,Null"));
    EXPECT_EQ(lines[4], QByteArray("Sample Time:  ,Null"));
    EXPECT_EQ(lines[5], QByteArray("Company:,Null"));
    EXPECT_EQ(lines[6], QByteArray("Description:   ,a,b \"quoted\""));
}

TEST(Windows1252, encode_mapsTheCodePageAndMarksTheRest)
{
    struct Case {
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        {QStringLiteral("Temp (°F) Fann®"),
         QByteArray("Temp (\xB0"
                    "F) Fann\xAE")},
        {QStringLiteral("€ – “x” Œ ÿ"), QByteArray("\x80 \x96 \x93x\x94 \x8C \xFF")},
        {QStringLiteral("Ω 水 😀"), QByteArray("? ? ?")}, // not in the code page; one mark each
        {QString(QChar(0x81)), QByteArray("?")},         // a byte the code page leaves unused
        {QStringLiteral("a\tb"), QByteArray("a\tb")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Windows1252::encode(c.text), c.bytes) << c.text.toStdString();
}
