#include "store/clsConnection.h"
#include "store/Database.h"
#include "tests/support/TempDir.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

int countSequences(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM SequenceName")) || !q.next())
        return -1;
    return q.value(0).toInt();
}

bool addSequence(const QSqlDatabase &db, int id)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO SequenceName VALUES (?, ?, 1)"));
    q.addBindValue(id);
    q.addBindValue(QStringLiteral("Seq %1").arg(id));
    return q.exec();
}

// The program's own database in a scratch directory, plus a second connection opened on it.
struct Fixture {
    TempDir dir;
    Database main;
    Fixture() { EXPECT_TRUE(main.open(dir.file(Database::defaultFileName()))); }
};

} // namespace

TEST(clsConnection, OpensTheDatabaseOfTheCurrentDirectory)
{
    Fixture f;
    clsConnection c;
    EXPECT_EQ(c.OpenDB(), QString());
    EXPECT_TRUE(c.ADOConnection().isOpen());
    ASSERT_TRUE(addSequence(c.ADOConnection(), 1));
    EXPECT_EQ(countSequences(f.main.connection()), 1);
}

TEST(clsConnection, MissingOrDamagedFileIsRefusedAndLeftAsItWas)
{
    TempDir dir;
    clsConnection c;
    EXPECT_EQ(c.OpenDB(), "Failed to open Database Connection!");
    EXPECT_FALSE(QFile::exists(dir.file("K7100.db")));
    EXPECT_FALSE(c.ADOConnection().isOpen());

    {
        QFile f(dir.file("K7100.db"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    EXPECT_EQ(c.OpenDB(), "Failed to open Database Connection!");
    QFile f(dir.file("K7100.db"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(4096, 'x'));
    EXPECT_EQ(c.BeginTrans(), 0); // no connection, no transaction
}

TEST(clsConnection, TicketIsTheRandomNumberTimesAMillionPlusOne)
{
    Fixture f;
    struct Case {
        double random;
        int ticket;
    };
    const Case cases[] = {{0.0, 1}, {0.5, 500001}, {0.1234567, 123457}, {0.9999999, 1000000}};
    for (const auto &k : cases) {
        clsConnection c([&k] { return k.random; });
        ASSERT_EQ(c.OpenDB(), QString());
        EXPECT_EQ(c.BeginTrans(), k.ticket) << k.random;
        EXPECT_TRUE(c.InTransaction());
        EXPECT_TRUE(c.RollBack(k.ticket));
    }
}

TEST(clsConnection, SecondBeginReturnsZeroAndLeavesTheOpenTransactionAlone)
{
    Fixture f;
    clsConnection c([] { return 0.25; });
    ASSERT_EQ(c.OpenDB(), QString());
    const int ticket = c.BeginTrans();
    ASSERT_EQ(ticket, 250001);
    ASSERT_TRUE(addSequence(c.ADOConnection(), 1));
    EXPECT_EQ(c.BeginTrans(), 0);
    EXPECT_TRUE(c.InTransaction());
    ASSERT_TRUE(addSequence(c.ADOConnection(), 2));
    EXPECT_EQ(countSequences(f.main.connection()), 0); // nothing visible before the commit
    EXPECT_TRUE(c.CommitTrans(ticket));
    EXPECT_FALSE(c.InTransaction());
    EXPECT_EQ(countSequences(f.main.connection()), 2);
}

TEST(clsConnection, WrongTicketCommitsAndRollsBackNothing)
{
    Fixture f;
    clsConnection c([] { return 0.5; });
    ASSERT_EQ(c.OpenDB(), QString());
    EXPECT_FALSE(c.CommitTrans(500001)); // no transaction open yet
    EXPECT_FALSE(c.RollBack(500001));

    const int ticket = c.BeginTrans();
    ASSERT_TRUE(addSequence(c.ADOConnection(), 7));
    for (int wrong : {0, ticket - 1, ticket + 1, -ticket}) {
        EXPECT_FALSE(c.CommitTrans(wrong)) << wrong;
        EXPECT_FALSE(c.RollBack(wrong)) << wrong;
        EXPECT_TRUE(c.InTransaction());
    }
    EXPECT_EQ(countSequences(c.ADOConnection()), 1); // still there inside the transaction
    EXPECT_EQ(countSequences(f.main.connection()), 0);

    EXPECT_TRUE(c.RollBack(ticket));
    EXPECT_FALSE(c.InTransaction());
    EXPECT_EQ(countSequences(c.ADOConnection()), 0);
    EXPECT_FALSE(c.CommitTrans(ticket)); // the ticket is spent
    EXPECT_EQ(countSequences(f.main.connection()), 0);
}

TEST(clsConnection, ReleasingTheConnectionRollsBackItsOpenTransaction)
{
    Fixture f;
    {
        clsConnection c;
        ASSERT_EQ(c.OpenDB(), QString());
        const int ticket = c.BeginTrans();
        EXPECT_GE(ticket, 1);
        EXPECT_LE(ticket, 1000000);
        ASSERT_TRUE(addSequence(c.ADOConnection(), 3));
    }
    EXPECT_EQ(countSequences(f.main.connection()), 0);
}
