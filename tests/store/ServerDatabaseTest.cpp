// The database on a PostgreSQL server of the test run's own: the tables made on first use, what an
// existing server database must hold, and a server that cannot be reached.
#include "store/Database.h"
#include "store/DatabaseCopy.h"
#include "store/TestLibrary.h"
#include "tests/support/PostgresServer.h"
#include "tests/support/TempDir.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

// Column names and types of a table as the server describes them, in column order.
QStringList columnsOf(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery q(db);
    q.prepare("SELECT column_name, data_type FROM information_schema.columns WHERE table_name = ? "
              "ORDER BY ordinal_position");
    q.addBindValue(table.toLower());
    EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
    QStringList out;
    while (q.next())
        out << q.value(0).toString() + ' ' + q.value(1).toString();
    return out;
}

} // namespace

TEST(ServerDatabase, EmptyDatabaseGetsTheTablesWith64BitIdsAndCaseBlindUniqueNames)
{
    const QString uri = PostgresServer::newTestDatabase();
    ASSERT_FALSE(uri.isEmpty());
    Database db;
    QString error;
    ASSERT_TRUE(db.open(uri, &error)) << error.toStdString();
    EXPECT_TRUE(db.wasCreated());
    EXPECT_TRUE(db.isServer());
    EXPECT_EQ(columnsOf(db.connection(), "RelatedInfo"),
              QStringList({"testid bigint", "testname text", "mudid text", "sampletime timestamp without time zone",
                           "companyname text", "Desc text"}));
    EXPECT_EQ(columnsOf(db.connection(), "TestResult"),
              QStringList({"testid bigint", "stepno bigint", "time double precision", "temperature double precision",
                           "speed double precision", "shearstress double precision", "gel double precision",
                           "rbfactor double precision", "rowno bigint"}));
    EXPECT_EQ(columnsOf(db.connection(), "SequenceName"),
              QStringList({"sequenceid bigint", "sequencename text", "rbfactor bigint"}));
    EXPECT_EQ(columnsOf(db.connection(), "SequenceSetup"),
              QStringList({"sequenceid bigint", "stepno bigint", "time double precision",
                           "temperature double precision", "speed double precision", "recordrate double precision"}));

    QSqlQuery q(db.connection());
    ASSERT_TRUE(q.exec("SELECT indexname FROM pg_indexes WHERE schemaname = 'public' ORDER BY indexname"));
    QStringList indexes;
    while (q.next())
        indexes << q.value(0).toString();
    for (const char *wanted : {"testresult_test", "relatedinfo_name", "sequencesetup_step", "sequencename_name"})
        EXPECT_TRUE(indexes.contains(wanted)) << wanted << " in " << indexes.join(' ').toStdString();

    // An id beyond 32 bits, and a second name that differs only in letter case, which the server refuses.
    ASSERT_TRUE(q.exec("INSERT INTO RelatedInfo (TestId, TestName) VALUES (5000000000, 'Mud Ä')"));
    EXPECT_FALSE(q.exec("INSERT INTO RelatedInfo (TestId, TestName) VALUES (2, 'MUD ä')"));
    TestLibrary library(db.connection());
    EXPECT_TRUE(library.isNameTaken("mud ä"));
    ASSERT_TRUE(q.exec("SELECT TestId FROM RelatedInfo"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toLongLong(), 5000000000LL);
}

TEST(ServerDatabase, ReopenedDatabaseKeepsItsRowsAndOneLackingAColumnIsRefusedUnchanged)
{
    const QString uri = PostgresServer::newTestDatabase();
    ASSERT_FALSE(uri.isEmpty());
    {
        Database db;
        ASSERT_TRUE(db.open(uri));
        TestLibrary library(db.connection());
        ASSERT_TRUE(library.addTest({0, "Kept", "mud", {}, {}, {}, {}}));
    }
    {
        Database db;
        QString error;
        ASSERT_TRUE(db.open(uri, &error)) << error.toStdString();
        EXPECT_FALSE(db.wasCreated());
        EXPECT_TRUE(TestLibrary(db.connection()).find("kept").has_value());
        QSqlQuery q(db.connection());
        ASSERT_TRUE(q.exec("ALTER TABLE TestResult DROP COLUMN Gel"));
    }
    Database db;
    QString error;
    EXPECT_FALSE(db.open(uri, &error));
    EXPECT_TRUE(error.contains("column Gel of table TestResult")) << error.toStdString();
    EXPECT_FALSE(db.isOpen());
}

TEST(ServerDatabase, ServerThatCannotBeReachedIsRefusedWithTheClientLibrarysReason)
{
    PostgresServer server;
    QString error;
    ASSERT_TRUE(server.start(&error)) << error.toStdString();
    const QString uri = server.uri("postgres");
    ASSERT_TRUE(server.stop(&error)) << error.toStdString();
    Database db;
    EXPECT_FALSE(db.open(uri, &error));
    EXPECT_TRUE(error.contains("127.0.0.1")) << error.toStdString();
    EXPECT_FALSE(db.isOpen());
}

TEST(ServerDatabase, AChangeTheServerRefusesThisUserIsToldInPlainWords)
{
    const QString uri = PostgresServer::newTestDatabase();
    ASSERT_FALSE(uri.isEmpty());
    {
        Database db;
        ASSERT_TRUE(db.open(uri));
    }
    // A user who may read the tests but not add any.
    QString error;
    PostgresServer *server = PostgresServer::shared(&error);
    ASSERT_NE(server, nullptr) << error.toStdString();
    const QString database = uri.section('/', 3).section('?', 0, 0);
    ASSERT_TRUE(server->run(database,
                            {"CREATE ROLE reader LOGIN",
                             "GRANT SELECT ON RelatedInfo, TestResult, SequenceName, SequenceSetup, RecordingClaim "
                             "TO reader"},
                            &error))
        << error.toStdString();
    Database db;
    QString readerUri = uri;
    readerUri.replace("://k7test@", "://reader@");
    ASSERT_TRUE(db.open(readerUri, &error)) << error.toStdString();
    TestLibrary library(db.connection());
    EXPECT_TRUE(library.testNamesNewestFirst().isEmpty());
    EXPECT_FALSE(library.addTest({0, "Not allowed", "mud", {}, {}, {}, {}}));
    EXPECT_TRUE(library.lastError().startsWith("the database server does not allow this user to make the change ("))
        << library.lastError().toStdString();
}

TEST(ServerDatabase, CopyKeepsSampleTimesAndLeavesATextThatIsNoDateTimeEmptyOnTheServerWithANote)
{
    TempDir dir;
    Database file;
    ASSERT_TRUE(file.open(dir.file("K7100.db")));
    QSqlQuery q(file.connection());
    ASSERT_TRUE(q.exec("INSERT INTO RelatedInfo (TestId, TestName, SampleTime) VALUES (1, 'timed', "
                       "'2024-05-06T07:08:09'), (2, 'untimed', NULL), (3, 'odd', 'next Tuesday')"));
    const QString uri = PostgresServer::newTestDatabase();
    ASSERT_FALSE(uri.isEmpty());
    Database server;
    ASSERT_TRUE(server.open(uri));
    DatabaseCopy::Plan plan;
    QString error;
    ASSERT_TRUE(DatabaseCopy::copy(file.connection(), server.connection(), &plan, &error)) << error.toStdString();
    EXPECT_EQ(plan.notes,
              QStringList{"test \"odd\": its sample time \"next Tuesday\" is no date-time and is left empty"});

    // Back into a new file: what the server holds comes back as it is.
    Database back;
    ASSERT_TRUE(back.open(dir.file("back.db")));
    ASSERT_TRUE(DatabaseCopy::copy(server.connection(), back.connection(), &plan, &error)) << error.toStdString();
    EXPECT_TRUE(plan.notes.isEmpty());
    struct Expected {
        const char *name;
        const char *onServer; // as the dialogs show it
    };
    for (const Expected &e : {Expected{"timed", "2024-05-06 07:08:09"}, Expected{"untimed", ""}, Expected{"odd", ""}}) {
        SCOPED_TRACE(e.name);
        for (const Database *db : {&server, &back}) {
            const auto found = TestLibrary(db->connection()).find(e.name);
            ASSERT_TRUE(found.has_value());
            EXPECT_EQ(found->sampleTimeText, e.onServer);
        }
    }
    ASSERT_TRUE(q.exec("SELECT count(*) FROM RelatedInfo WHERE SampleTime IS NULL") && q.next());
    EXPECT_EQ(q.value(0).toInt(), 1) << "the source keeps its text";
}
