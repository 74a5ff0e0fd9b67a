// The download byte stream: field widths, rounding half away from zero, wide values written in full.
#include "link/DownloadStream.h"

#include <gtest/gtest.h>

TEST(DownloadStream, TwoStepExample)
{
    const QList<DownloadStep> steps = {{1, 60, 120, 300}, {2, 600, 150, 3}};
    EXPECT_EQ(DownloadStream::stream(steps, 1),
              QByteArray("\x03"
                         "01,00060,120,30000,111"
                         "02,00600,150,00300,111"
                         "99"));
}

TEST(DownloadStream, NoSteps_StartByteThenEnd)
{
    EXPECT_EQ(DownloadStream::stream({}, 1),
              QByteArray("\x03"
                         "99"));
}

TEST(DownloadStream, StepItemsAreTenSeparateWrites)
{
    const QList<QByteArray> items = DownloadStream::stepItems({5, 7, 80, 300}, 4);
    const QList<QByteArray> expected = {"05", ",", "00007", ",", "080", ",", "30000", ",", "4", "11"};
    EXPECT_EQ(items, expected);
}

TEST(DownloadStream, FieldWidthsAndRounding)
{
    struct Case {
        const char *name;
        DownloadStep step;
        int rotorBob;
        QByteArray sent; // one step's items joined
    };
    const Case cases[] = {
        {"narrow values padded", {5, 7, 80, 300}, 1, "05,00007,080,30000,111"},
        {"half rpm", {1, 60, 120, 0.5}, 1, "01,00060,120,00050,111"},
        {"fastest speed", {1, 60, 120, 600}, 1, "01,00060,120,60000,111"},
        {"slowest representable speed", {1, 60, 120, 0.01}, 1, "01,00060,120,00001,111"},
        {"halves round away from zero", {1, 59.5, 120.5, 0.005}, 1, "01,00060,121,00001,111"},
        {"below a half rounds down", {1, 59.49, 120.49, 0.0049}, 1, "01,00059,120,00000,111"},
        {"decimal halves are halves", {1, 60, 100, 2.675}, 1, "01,00060,100,00268,111"},
        {"wide values written in full", {100, 123456, 1000, 1000}, 1, "100,123456,1000,100000,111"},
        {"rotor-bob code", {1, 60, 120, 300}, 6, "01,00060,120,30000,611"},
        {"zero everywhere", {0, 0, 0, 0}, 1, "00,00000,000,00000,111"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DownloadStream::stepItems(c.step, c.rotorBob).join(), c.sent) << c.name;
}
