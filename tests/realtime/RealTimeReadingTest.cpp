// Decoding of the seven fields and the validity rule of a real-time data message.
#include "realtime/RealTimeReading.h"
#include "tests/realtime/ControlBytes.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
using Fields = std::array<qint64, RealTimeReading::FieldCount>;
} // namespace

TEST(RealTimeReading, DecodingRules)
{
    struct Case {
        const char *name;
        QByteArray message;
        Fields expected;
    };
    const qint64 big = std::numeric_limits<qint64>::max();
    const Case cases[] = {
        {"commas", QByteArray("1,30,77,250,12,30000,1") + SUB, {1, 30, 77, 250, 12, 30000, 1}},
        {"any separator", QByteArray("2;31 78/251x13\t30001|2") + SUB, {2, 31, 78, 251, 13, 30001, 2}},
        {"end byte as field 7's separator", QByteArray("1,2,3,4,5,6,7") + SUB, {1, 2, 3, 4, 5, 6, 7}},
        {"trailing text before the end byte ignored",
         QByteArray("1,2,3,4,5,6,7,garbage,99") + SUB,
         {1, 2, 3, 4, 5, 6, 7}},
        {"empty fields read 0", QByteArray("1,,77,,12,,3") + SUB, {1, 0, 77, 0, 12, 0, 3}},
        {"short message: missing fields read 0", QByteArray("4,5,6") + SUB, {4, 5, 6, 0, 0, 0, 0}},
        {"no end byte at all", QByteArray("4,5"), {4, 5, 0, 0, 0, 0, 0}},
        {"decimal point shifts later fields",
         QByteArray("1,30,77.5,250,12,30000,1") + SUB,
         {1, 30, 77, 5, 250, 12, 30000}},
        {"a sign is a separator", QByteArray("1,30,-5,250,12,30000,1") + SUB, {1, 30, 0, 5, 250, 12, 30000}},
        {"leading line break makes field 1 empty",
         QByteArray("\n1,30,77,250,12,30000,1") + SUB,
         {0, 1, 30, 77, 250, 12, 30000}},
        {"leading zeros", QByteArray("007,0030,077,0,0,0,01") + SUB, {7, 30, 77, 0, 0, 0, 1}},
        {"huge field saturates", QByteArray("1,99999999999999999999999,3,4,5,6,7") + SUB, {1, big, 3, 4, 5, 6, 7}},
        {"empty message", QByteArray(1, SUB), {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RealTimeReading::decode(c.message).fields, c.expected) << c.name;
}

TEST(RealTimeReading, ValidityRule)
{
    struct Case {
        const char *name;
        Fields f;
        bool valid;
    };
    const Case cases[] = {
        {"all fields 0", {0, 0, 0, 0, 0, 0, 0}, false},
        {"ordinary reading", {1, 30, 77, 250, 12, 30000, 1}, true},
        {"step 0", {0, 30, 77, 250, 12, 30000, 1}, false},
        {"seconds 0", {1, 0, 77, 250, 12, 30000, 1}, false},
        {"temperature 0", {1, 30, 0, 250, 12, 30000, 1}, false},
        {"stress 60000 is the largest valid", {1, 30, 77, 60000, 12, 30000, 1}, true},
        {"stress 60001", {1, 30, 77, 60001, 12, 30000, 1}, false},
        {"stress 0", {1, 30, 77, 0, 0, 0, 0}, true},
        {"minimal ones", {1, 1, 1, 0, 0, 0, 0}, true},
        {"rotor-bob code does not matter", {1, 30, 77, 250, 12, 30000, 9}, true},
    };
    for (const Case &c : cases) {
        RealTimeReading r;
        r.fields = c.f;
        EXPECT_EQ(r.isValid(), c.valid) << c.name;
    }
}

TEST(RealTimeReading, FieldsBeyond32BitsDoNotFit)
{
    RealTimeReading r;
    r.fields = {1, 2147483647, 77, 250, 12, 30000, 1};
    EXPECT_TRUE(r.fitsIntegers());
    for (int i = 0; i < RealTimeReading::FieldCount; ++i) {
        RealTimeReading wide = r;
        wide.fields[static_cast<size_t>(i)] = 2147483648LL;
        EXPECT_FALSE(wide.fitsIntegers()) << "field " << i + 1;
    }
}

TEST(RealTimeReading, SpeedInRpm_StandingRotorGivesTheSmallPositiveSpeed)
{
    struct Case {
        qint64 f6;
        double rpm;
    };
    for (const Case c : {Case{30000, 300.0}, Case{1, 0.01}, Case{0, 0.000001}, Case{60000, 600.0}}) {
        RealTimeReading r;
        r.fields[5] = c.f6;
        EXPECT_DOUBLE_EQ(r.speedRpm(), c.rpm) << c.f6;
    }
}
