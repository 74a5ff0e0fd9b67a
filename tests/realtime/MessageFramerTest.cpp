// Framing of the real-time stream: whole messages in order, split messages completed later, the end-of-test
// byte recognised only when it stands alone, and unterminated noise kept bounded.
#include "realtime/MessageFramer.h"
#include "tests/realtime/ControlBytes.h"

#include <QList>

#include <gtest/gtest.h>

namespace {

QByteArray msg(const char *fields)
{
    return QByteArray(fields) + SUB;
}

QList<QByteArray> drain(MessageFramer &f)
{
    QList<QByteArray> out;
    while (auto m = f.next())
        out << *m;
    return out;
}

} // namespace

TEST(MessageFramer, TwoAndAHalfMessagesInOneRead_GivesTwoAndKeepsTheHalfForTheNextRead)
{
    MessageFramer f;
    const QByteArray a = msg("1,30,77,250,12,30000,1,");
    const QByteArray b = msg("1,31,77,251,12,30000,1,");
    const QByteArray c = msg("1,32,78,252,12,30000,1,");
    f.append(a + b + c.left(9));
    EXPECT_EQ(drain(f), (QList<QByteArray>{a, b}));
    EXPECT_EQ(f.pending(), c.left(9));

    f.append(c.mid(9));
    EXPECT_EQ(drain(f), (QList<QByteArray>{c}));
    EXPECT_TRUE(f.pending().isEmpty());
}

TEST(MessageFramer, MessageSplitAcrossManyReads_IsHandedOutOnceWhole)
{
    MessageFramer f;
    const QByteArray m = msg("12,600,230,60000,99,60000,6");
    for (char ch : m) {
        EXPECT_TRUE(drain(f).isEmpty());
        f.append(QByteArray(1, ch));
    }
    EXPECT_EQ(drain(f), (QList<QByteArray>{m}));
}

TEST(MessageFramer, EndOfTestByte_CountsOnlyWhenItIsAllThatIsLeft)
{
    struct Case {
        const char *name;
        QByteArray input;
        bool ends;
    };
    const QByteArray last = msg("3,600,100,250,12,30000,1,");
    const Case cases[] = {
        {"alone after the last message", last + BS, true},
        {"alone in a read", QByteArray(1, BS), true},
        {"followed by other bytes", last + BS + "1,", false},
        {"followed by a whole message", last + BS + last, false},
        {"before an unfinished message", QByteArray(1, BS) + "1,2", false},
        {"nothing left", last, false},
        {"two end bytes", last + BS + BS, false},
    };
    for (const Case &c : cases) {
        MessageFramer f;
        f.append(c.input);
        drain(f);
        EXPECT_EQ(f.holdsOnlyEndOfTest(), c.ends) << c.name;
    }
}

TEST(MessageFramer, UnterminatedInput_KeepsOnlyTheNewestBytesAndCountsTheRest)
{
    MessageFramer f(16);
    f.append(QByteArray(10, 'x'));
    EXPECT_EQ(f.discardedBytes(), 0);
    f.append(QByteArray(10, 'y'));
    EXPECT_EQ(f.pending(), QByteArray(6, 'x') + QByteArray(10, 'y'));
    EXPECT_EQ(f.discardedBytes(), 4);

    // The cap applies to the tail only: complete messages ahead of it are never dropped.
    const QByteArray m = msg("1,30,77,250,12,30000,1,");
    f.append(m + QByteArray(20, 'z'));
    QList<QByteArray> got = drain(f);
    ASSERT_EQ(got.size(), 1);
    EXPECT_TRUE(got.first().endsWith(m));
    EXPECT_EQ(f.pending(), QByteArray(16, 'z'));
    EXPECT_EQ(f.discardedBytes(), 4 + 4);

    f.clear();
    EXPECT_TRUE(f.pending().isEmpty());
    EXPECT_EQ(f.discardedBytes(), 0);
}

TEST(MessageFramer, DefaultCapIsFourKibibytes)
{
    MessageFramer f;
    f.append(QByteArray(5000, '7'));
    EXPECT_EQ(f.pending().size(), 4096);
    EXPECT_EQ(f.discardedBytes(), 5000 - 4096);
    f.append(QByteArray(1, SUB));
    ASSERT_TRUE(f.next().has_value());
    EXPECT_FALSE(f.next().has_value());
}
