#include "common/SettingsFile.h"
#include "common/ProgramState.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(SettingsFile, ThreeLinesGivePortUnitsAndFactor)
{
    TempDir dir;
    writeFile(dir.file("initial.txt"), " 0 \r\n 2 \r\n .95 \r\n");
    ProgramState s;
    SettingsFile::apply(SettingsFile::read(dir.file("initial.txt")), s);
    EXPECT_EQ(s.CommPortNumber, 1);
    EXPECT_EQ(s.UnitSystem, 2);
    EXPECT_DOUBLE_EQ(s.ScreenFactor, 0.95);
}

TEST(SettingsFile, MissingOrShortFileFallsBackToPortOneEiAndFactorOne)
{
    TempDir dir;
    struct Case {
        const char *content;
        bool create;
        int port;
        int units;
        double factor;
    };
    const Case cases[] = {
        {"", false, 1, 1, 1.0},
        {"", true, 1, 1, 1.0},
        {" 4 \r\n", true, 5, 1, 1.0},
        {" 4 \r\n 2 \r\n", true, 5, 2, 1.0},
        {" 4 \r\n 2 \r\n 0 \r\n", true, 5, 2, 1.0}, // a zero factor would shrink every control
        {"abc\r\n 7 \r\n-3\r\n", true, 1, 1, 1.0},
        {"3\n2\n0.9\n9\n9\n", true, 4, 2, 0.9}, // bare LF and extra lines
    };
    for (const auto &c : cases) {
        QFile::remove(dir.file("initial.txt"));
        if (c.create)
            writeFile(dir.file("initial.txt"), c.content);
        ProgramState s;
        s.CommPortNumber = 0;
        s.UnitSystem = 0;
        s.ScreenFactor = 0;
        SettingsFile::apply(SettingsFile::read(dir.file("initial.txt")), s);
        EXPECT_EQ(s.CommPortNumber, c.port) << c.content;
        EXPECT_EQ(s.UnitSystem, c.units) << c.content;
        EXPECT_DOUBLE_EQ(s.ScreenFactor, c.factor) << c.content;
    }
}

TEST(SettingsFile, SetupWriteReadsBackTheSamePort)
{
    TempDir dir;
    ASSERT_TRUE(SettingsFile::writeFromSetup(dir.file("initial.txt"), 6, 2, 1.5));
    EXPECT_EQ(readFile(dir.file("initial.txt")), QByteArray(" 6 \r\n 2 \r\n 1.5 \r\n"));
    ProgramState s;
    SettingsFile::apply(SettingsFile::read(dir.file("initial.txt")), s);
    EXPECT_EQ(s.CommPortNumber, 7);
}

TEST(SettingsFile, ResetScreenKeepsFirstTwoLinesVerbatimAndDropsTheRest)
{
    TempDir dir;
    writeFile(dir.file("initial.txt"), "  3   \r\n2\r\n 1.25 \r\nextra\r\nmore\r\n");
    ASSERT_TRUE(SettingsFile::resetScreen(dir.file("initial.txt")));
    EXPECT_EQ(readFile(dir.file("initial.txt")), QByteArray("  3   \r\n2\r\n 1 \r\n"));

    QByteArray many;
    for (int i = 0; i < 30; ++i)
        many += QByteArray::number(i) + "\r\n";
    writeFile(dir.file("initial.txt"), many);
    ASSERT_TRUE(SettingsFile::resetScreen(dir.file("initial.txt")));
    EXPECT_EQ(readFile(dir.file("initial.txt")), QByteArray("0\r\n1\r\n 1 \r\n"));
}

TEST(SettingsFile, AScreenFactorThatWouldLeaveWindowsUnusableIsRefused)
{
    TempDir dir;
    struct Case {
        const char *line3;
        bool usable;
    };
    const Case cases[] = {
        {"0.9", true},   {"1", true},      {".95", true}, {"0.89", false}, {"1.01", false},
        {"1.25", false}, {"1e308", false}, {"-1", false}, {"0.5", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line3);
        writeFile(dir.file("initial.txt"), QByteArray(" 0 \r\n 1 \r\n ") + c.line3 + " \r\n");
        const SettingsValues v = SettingsFile::read(dir.file("initial.txt"));
        EXPECT_EQ(v.refusedScreenFactor.has_value(), !c.usable);
        EXPECT_DOUBLE_EQ(v.screenFactor, c.usable ? QByteArray(c.line3).toDouble() : 1.0);
    }
    EXPECT_EQ(SettingsFile::screenFactorRefusedText("1e+308", 1.0),
              "The screen size factor 1e+308 is outside the range 0.9 to 1 in which every window stays usable (the "
              "factor scales each control twice). The factor 1 is used instead.");
}
