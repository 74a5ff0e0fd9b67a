#include "store/Database.h"
#include "tests/support/TempDir.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

QStringList columns(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    QStringList out;
    while (q.next())
        out << q.value(1).toString();
    return out;
}

QByteArray hashOf(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

TEST(Database, NewFileGetsFourTablesInColumnOrder)
{
    TempDir dir;
    Database db;
    QString error;
    ASSERT_TRUE(db.open(dir.file("K7100.db"), &error)) << error.toStdString();
    EXPECT_TRUE(db.wasCreated());
    EXPECT_EQ(columns(db.connection(), "RelatedInfo"),
              QStringList({"TestId", "TestName", "MudId", "SampleTime", "CompanyName", "Desc"}));
    EXPECT_EQ(columns(db.connection(), "TestResult"),
              QStringList({"TestId", "StepNo", "Time", "Temperature", "Speed", "Shearstress", "Gel", "Rbfactor"}));
    EXPECT_EQ(columns(db.connection(), "SequenceName"), QStringList({"SequenceId", "SequenceName", "Rbfactor"}));
    EXPECT_EQ(columns(db.connection(), "SequenceSetup"),
              QStringList({"SequenceId", "StepNo", "Time", "Temperature", "Speed", "RecordRate"}));

    QSqlQuery q(db.connection());
    ASSERT_TRUE(q.exec("PRAGMA journal_mode"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), "wal");
}

TEST(Database, ReopeningKeepsRowsAndIsNotNew)
{
    TempDir dir;
    {
        Database db;
        ASSERT_TRUE(db.open(dir.file("K7100.db")));
        QSqlQuery q(db.connection());
        ASSERT_TRUE(
            q.exec("INSERT INTO RelatedInfo VALUES (70000, 'it''s \"x\"', 'N/A', '2026-01-01T00:00:00', '', '')"));
    }
    Database db;
    ASSERT_TRUE(db.open(dir.file("K7100.db")));
    EXPECT_FALSE(db.wasCreated());
    QSqlQuery q(db.connection());
    ASSERT_TRUE(q.exec("SELECT TestId, TestName FROM RelatedInfo WHERE TestName = 'IT''S \"X\"'"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toLongLong(), 70000); // ids above 16 bits are kept
}

TEST(Database, FileThatIsNotADatabaseIsRefusedAndLeftUnchanged)
{
    TempDir dir;
    const QString path = dir.file("K7100.db");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("Standard Jet DB\0\0 this is not sqlite at all", 44).repeated(100));
    }
    const QByteArray before = hashOf(path);
    Database db;
    QString error;
    EXPECT_FALSE(db.open(path, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(hashOf(path), before);
    EXPECT_FALSE(QFile::exists(path + "-wal"));
}
