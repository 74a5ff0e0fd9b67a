// The recovery file: written and read back exactly (names with commas, quotes and line breaks, numbers
// to the last bit), refused when damaged, and put back into the database: into the test it came from,
// without doubling what is there, or as a new test.
#include "store/RecoveryFile.h"
#include "store/RecoveredTests.h"
#include "store/StoredPoints.h"
#include "tests/store/LibraryFixture.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

RecoveredTest sample()
{
    RecoveredTest t;
    t.info.testId = 7;
    t.info.testName = "Mud \"7\", hot";
    t.info.mudId = "M-7";
    t.info.sampleTime = QDateTime(QDate(2026, 1, 15), QTime(9, 15, 2));
    t.info.companyName = "Acme, Inc.";
    t.info.desc = "two\nlines, \"quoted\"";
    t.reason = "the disk is full (database or disk is full)";
    t.points = {TestPoint{1, 30, 77, 300, 250, 12, 1}, TestPoint{2, 5, 150.5, 0.000001, 0.1 + 0.2, 1e-7, 1234},
                TestPoint{98, 59999, 400, 600, 60000, 0, 6}};
    return t;
}

} // namespace

TEST(RecoveryFile, WrittenAndReadBackExactly)
{
    TempDir dir;
    const RecoveredTest t = sample();
    const QDateTime when(QDate(2026, 1, 15), QTime(9, 30, 0));
    const QString path = RecoveryFile::write(t, {dir.file("missing folder"), dir.path()}, when);
    EXPECT_EQ(path, QDir(dir.path()).filePath("K7100 recovered - Mud _7_, hot - 2026-01-15 093000.csv"))
        << "the first folder that takes it; characters no file name may hold replaced";
    // A second file of the same moment does not replace the first.
    const QString second = RecoveryFile::write(t, {dir.path()}, when);
    EXPECT_NE(second, path);
    EXPECT_TRUE(readFile(path).startsWith("K7100DAQ recovered test,1\r\nTestName,\"Mud \"\"7\"\", hot\"\r\n"));

    QString error;
    const auto back = RecoveryFile::read(path, &error);
    ASSERT_TRUE(back) << error.toStdString();
    EXPECT_EQ(back->info.testId, 7);
    EXPECT_EQ(back->info.testName, t.info.testName);
    EXPECT_EQ(back->info.mudId, t.info.mudId);
    EXPECT_EQ(back->info.sampleTime, t.info.sampleTime);
    EXPECT_EQ(back->info.companyName, t.info.companyName);
    EXPECT_EQ(back->info.desc, t.info.desc);
    EXPECT_EQ(back->reason, t.reason);
    EXPECT_EQ(back->points, t.points);
}

TEST(RecoveryFile, DamagedOrForeignFilesAreRefusedWithTheReason)
{
    const QByteArray good = RecoveryFile::encode(sample());
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *reason;
    };
    QByteArray badLine = good;
    badLine.replace("98,59999", "98,five");
    const Case cases[] = {
        {"a spreadsheet", "a,b,c\r\n1,2,3\r\n", "it is not a recovery file of this program"},
        {"cut inside a quote", good.left(good.indexOf("two")), "the file ends inside a quoted text"},
        {"cut before the points", good.left(good.indexOf("StepNo")), "it has no data points"},
        {"a damaged number", badLine, "data line 12 is damaged"},
        {"another version", QByteArray(good).replace("test,1", "test,2"),
         "it was written by another version of the program"},
    };
    for (const Case &c : cases) {
        QString error;
        EXPECT_FALSE(RecoveryFile::decode(c.bytes, &error)) << c.name;
        EXPECT_EQ(error, QString::fromLatin1(c.reason)) << c.name;
    }
}

TEST(RecoveredTests, PointsGoBackIntoTheirTestOrIntoANewOne)
{
    LibraryFixture fx;
    fx.addTest(7, "Mud \"7\", hot", 0);
    RecoveredTest t = sample();
    struct Case {
        const char *name;
        int testId;
        const char *storedName;
        RecoveredTests::Outcome::Kind kind;
        const char *into;
        qsizetype added;
    };
    const Case cases[] = {
        {"its own test", 7, nullptr, RecoveredTests::Outcome::Kind::AddedToTest, "Mud \"7\", hot", 3},
        {"the same file again", 7, nullptr, RecoveredTests::Outcome::Kind::AddedToTest, "Mud \"7\", hot", 0},
        {"its id now names another test", 8, "someone else", RecoveredTests::Outcome::Kind::StoredAsNew,
         "Mud \"7\", hot (recovered)", 3},
        {"no id", 0, nullptr, RecoveredTests::Outcome::Kind::StoredAsNew, "Mud \"7\", hot (recovered 2)", 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.storedName)
            fx.addTest(c.testId, c.storedName, 0);
        t.info.testId = c.testId;
        const RecoveredTests::Outcome o = RecoveredTests::restore(fx.db(), t);
        EXPECT_EQ(o.kind, c.kind);
        EXPECT_EQ(o.testName, QString::fromUtf8(c.into));
        EXPECT_EQ(o.added, c.added);
        EXPECT_EQ(o.alreadyStored, 3 - c.added);
        const auto stored = TestLibrary(fx.db()).find(o.testName);
        ASSERT_TRUE(stored);
        EXPECT_EQ(StoredPoints::read(fx.db(), stored->testId), t.points);
        if (c.kind == RecoveredTests::Outcome::Kind::StoredAsNew) {
            EXPECT_EQ(stored->companyName, "Acme, Inc.") << "the related information comes along";
        }
    }
    EXPECT_EQ(fx.count("SELECT count(*) FROM TestResult"), 9);
    EXPECT_EQ(fx.count("SELECT count(*) FROM TestResult WHERE TestId = 8"), 0) << "someone else's test is untouched";
}
