// The database file under the faults of a lab: an older file lacking columns (refused, left byte for byte
// as it was), pages overwritten on the disk (reported, never shown in part), copies made by the operator
// (K7100.db alone is whole, a backup is whole even while another program writes), and several programs on
// one file (ids chosen inside the storing transaction, claims that block deletes until they go stale).
#include "common/ProgramState.h"
#include "results/ResultQuery.h"
#include "store/Database.h"
#include "store/DatabaseCommands.h"
#include "store/DatabaseMaintenance.h"
#include "store/RecordingClaims.h"
#include "store/RecoveryFile.h"
#include "store/SchemaCheck.h"
#include "store/StoredPoints.h"
#include "store/TestLibrary.h"
#include "store/WriteTransaction.h"
#include "tests/store/LibraryFixture.h"
#include "tests/support/FileBytes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

QByteArray hashOf(const QString &path)
{
    return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256);
}

// Runs statements on a file through a connection of its own (an older program, another tool).
void build(const QString &path, const QStringList &statements)
{
    Connection c;
    ASSERT_TRUE(c.open(path, 1000));
    QSqlQuery q(c.db());
    for (const QString &s : statements)
        ASSERT_TRUE(q.exec(s)) << s.toStdString() << ": " << q.lastError().text().toStdString();
}

// The four tables as an older release of the program made them, with the columns of TestResult and
// SequenceSetup given.
QStringList olderSchema(const QString &testResultColumns, const QString &setupColumns)
{
    const QString relatedInfo = "CREATE TABLE RelatedInfo (TestId INTEGER, TestName TEXT, MudId TEXT, "
                                "SampleTime DATETIME, CompanyName TEXT, \"Desc\" TEXT)";
    return {
        relatedInfo,
        "CREATE TABLE TestResult (" + testResultColumns + ")",
        "CREATE TABLE SequenceName (SequenceId INTEGER, SequenceName TEXT, Rbfactor INTEGER)",
        "CREATE TABLE SequenceSetup (" + setupColumns + ")",
        "INSERT INTO RelatedInfo VALUES (1, 'kept', 'N/A', NULL, '', '')",
    };
}

const QString fullResult = "TestId INTEGER, StepNo INTEGER, Time REAL, Temperature REAL, Speed REAL, "
                           "Shearstress REAL, Gel REAL, Rbfactor REAL";
const QString fullSetup =
    "SequenceId INTEGER, StepNo INTEGER, Time REAL, Temperature REAL, Speed REAL, RecordRate INTEGER";

// A test of n points in one transaction, through the program's own statements.
void storeTest(QSqlDatabase db, int id, const QString &name, int n)
{
    ASSERT_TRUE(TestLibrary(db).addTest(RelatedInfoRecord{0, name, "N/A", {}, {}, {}, {}}));
    TestPoints points;
    for (int i = 0; i < n; ++i)
        points << TestPoint{1 + i / 1000, double(i % 1000), 100, 300, double(150 + i % 7), 0, 1};
    ASSERT_TRUE(db.transaction());
    ASSERT_TRUE(StoredPoints::insert(db, id, points));
    ASSERT_TRUE(db.commit());
}

// The first value of a statement run on a file through a read-only connection of its own.
QVariant valueIn(const QString &path, const QString &sql)
{
    Connection c;
    if (!c.open(path, 1000, Connection::Mode::ReadOnly))
        return {};
    QSqlQuery q(c.db());
    return q.exec(sql) && q.next() ? q.value(0) : QVariant();
}

qint64 countIn(const QString &path, const QString &sql)
{
    const QVariant v = valueIn(path, sql);
    return v.isValid() ? v.toLongLong() : -1;
}

} // namespace

TEST(DatabaseFile, AFileLackingWhatTheProgramNeedsIsRefusedByNameAndLeftUnchanged)
{
    struct Case {
        const char *name;
        QStringList statements;
        QString missing;
    };
    const Case cases[] = {
        {"no Gel, no RecordRate",
         olderSchema("TestId INTEGER, StepNo INTEGER, Time REAL, Temperature REAL, Speed REAL, Shearstress REAL, "
                     "Rbfactor REAL",
                     "SequenceId INTEGER, StepNo INTEGER, Time REAL, Temperature REAL, Speed REAL"),
         "it lacks column Gel of table TestResult, column RecordRate of table SequenceSetup."},
        {"no sequence tables",
         QStringList(olderSchema(fullResult, fullSetup).mid(0, 2)) << "INSERT INTO RelatedInfo VALUES (1, 'x', '', "
                                                                      "NULL, '', '')",
         "it lacks table SequenceName, table SequenceSetup."},
        {"another program's database",
         {"CREATE TABLE Customers (Id INTEGER, Name TEXT)", "INSERT INTO Customers VALUES (1, 'Acme')"},
         "it lacks table RelatedInfo, table TestResult, table SequenceName, table SequenceSetup."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const QString path = dir.file("K7100.db");
        build(path, c.statements);
        const QByteArray before = hashOf(path);
        Database db;
        QString error;
        EXPECT_FALSE(db.open(path, &error));
        EXPECT_FALSE(db.isOpen());
        EXPECT_TRUE(error.endsWith(c.missing)) << error.toStdString();
        EXPECT_EQ(hashOf(path), before) << "not a byte changed";
        EXPECT_FALSE(QFile::exists(path + "-wal"));
        EXPECT_FALSE(QFile::exists(path + "-shm"));
    }
}

TEST(DatabaseFile, AnOlderFileWithEverythingNeededIsUsedAndGetsTheLogAndIndexes)
{
    TempDir dir;
    const QString path = dir.file("K7100.db");
    build(path, olderSchema(fullResult, fullSetup));
    Database db;
    QString error;
    ASSERT_TRUE(db.open(path, &error)) << error.toStdString();
    EXPECT_FALSE(db.wasCreated());
    EXPECT_EQ(TestLibrary(db.connection()).testNamesNewestFirst(), QStringList{"kept"});
    QSqlQuery q(db.connection());
    ASSERT_TRUE(q.exec("PRAGMA journal_mode") && q.next());
    EXPECT_EQ(q.value(0).toString(), "wal");
    ASSERT_TRUE(q.exec("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = 'TestResult_Test'"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
}

TEST(DatabaseFile, ADatabaseWithoutAnyTableIsSetUpLikeANewOne)
{
    TempDir dir;
    const QString path = dir.file("K7100.db");
    build(path, {"PRAGMA user_version = 3"}); // a valid, empty SQLite file
    ASSERT_GT(QFileInfo(path).size(), 0);
    Database db;
    ASSERT_TRUE(db.open(path));
    EXPECT_TRUE(db.wasCreated());
    EXPECT_TRUE(SchemaCheck::missing(db.connection()).isEmpty());
}

TEST(DatabaseFile, PagesOverwrittenOnTheDisk_AreReportedAndTheTestIsNotShownInPart)
{
    TempDir dir;
    const QString path = dir.file("K7100.db");
    {
        Database db;
        ASSERT_TRUE(db.open(path));
        storeTest(db.connection(), 1, "Big", 20000);
    }
    const QString damaged = dir.file("damaged.db");
    ASSERT_TRUE(QFile::copy(path, damaged));
    {
        // Overwrite a run of pages in the middle of the file, as a failing disk would.
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 pageSize = 4096;
        const qint64 pages = f.size() / pageSize;
        ASSERT_GT(pages, 100);
        ASSERT_TRUE(f.seek(pages / 2 * pageSize));
        f.write(QByteArray(8 * pageSize, '\xA5'));
    }

    ProgramState state;
    ScriptedPrompts prompts;
    for (const QString &file : {path, damaged}) {
        const bool broken = file == damaged;
        SCOPED_TRACE(broken ? "damaged copy" : "original");
        Database db;
        ASSERT_TRUE(db.open(file)) << "the first page, with the tables, is whole";
        prompts.clear();
        state.CurrentTestName = "Big";
        ResultQuery query(db.connection(), state, &prompts);
        const ResultTable rows = query.dosql();
        EXPECT_EQ(rows.size(), broken ? 0u : 20000u);
        EXPECT_EQ(query.lastError().isEmpty(), !broken);
        if (broken) {
            ASSERT_EQ(prompts.messageTexts().size(), 1);
            EXPECT_TRUE(prompts.messageTexts()[0].startsWith(
                "The test Big could not be read from the database: the database file is damaged"))
                << prompts.messageTexts()[0].toStdString();
            EXPECT_EQ(prompts.lastMessage()->title, "Database Error");
        } else {
            EXPECT_TRUE(prompts.records.isEmpty());
        }

        // File > Check Database.
        AppContext context;
        context.database = &db;
        context.prompts = &prompts;
        prompts.clear();
        DatabaseCommands::checkDatabase(context);
        ASSERT_EQ(prompts.messageTexts().size(), 1);
        const QString told = prompts.messageTexts()[0];
        EXPECT_EQ(prompts.lastMessage()->title, "Check Database");
        if (broken) {
            EXPECT_TRUE(told.startsWith(QString("The database %1 is damaged.").arg(QDir::toNativeSeparators(file))))
                << told.toStdString();
        } else {
            EXPECT_EQ(told,
                      QString("The database %1 is in good order: SQLite's integrity check found no fault.\n\n"
                              "It holds 1 test with %2 readings, and 0 sequences.")
                          .arg(QDir::toNativeSeparators(file), QLocale().toString(20000)));
        }
    }
}

TEST(DatabaseFile, TheDatabaseFileAloneIsCompleteOnceATestIsStored)
{
    LibraryFixture fx;
    // Another connection stays open the whole time, so SQLite would not fold the log in on its own.
    Connection reader;
    ASSERT_TRUE(reader.open(fx.database.path(), 1000));
    RecoveredTest test;
    test.info.testName = "Imported";
    for (int i = 1; i <= 50; ++i)
        test.points << TestPoint{1, double(i), 100, 300, 150, 0, 1};
    const QString file = RecoveryFile::write(test, {fx.dir.path()}, QDateTime(QDate(2026, 1, 15), QTime(9, 0)));
    ASSERT_FALSE(file.isEmpty());
    fx.prompts.fileAnswers = {file};
    DatabaseCommands::importRecoveredTest(fx.context);
    EXPECT_EQ(fx.prompts.messageTexts(), QStringList{"The 50 readings were stored as the test Imported."});

    // The operator's copy of K7100.db alone, made while the program runs.
    const QString copy = fx.dir.file("copy.db");
    ASSERT_TRUE(QFile::copy(fx.database.path(), copy));
    EXPECT_EQ(countIn(copy, "SELECT count(*) FROM TestResult"), 50);
    EXPECT_EQ(countIn(copy, "SELECT count(*) FROM RelatedInfo WHERE TestName = 'Imported'"), 1);
}

TEST(DatabaseFile, BackUpWritesACheckedCompleteCopyWhileAnotherProgramIsWriting)
{
    LibraryFixture fx;
    storeTest(fx.db(), 1, "Stored", 300);
    // Another program is in the middle of storing a test: its rows are not part of any copy until it commits.
    Connection other;
    ASSERT_TRUE(other.open(fx.database.path(), 1000));
    QSqlQuery q(other.db());
    ASSERT_TRUE(q.exec("BEGIN IMMEDIATE"));
    ASSERT_TRUE(q.exec("INSERT INTO TestResult (TestId, StepNo, Time) VALUES (2, 1, 1)"));

    const QString target = fx.dir.file("backup/K7100 copy.db");
    ASSERT_TRUE(QDir(fx.dir.path()).mkdir("backup"));
    writeFile(target, "an older backup that is replaced");
    fx.prompts.fileAnswers = {target};
    DatabaseCommands::backUpDatabase(fx.context);
    ASSERT_EQ(fx.prompts.messageTexts().size(), 1);
    EXPECT_EQ(fx.prompts.messageTexts()[0],
              QString("The database was copied to\n%1\n\nThe copy was checked and is complete: it holds 1 test with "
                      "300 readings, and 0 sequences.")
                  .arg(QDir::toNativeSeparators(target)));
    EXPECT_EQ(fx.prompts.records[0].kind, PromptRecord::SaveFile);
    EXPECT_TRUE(fx.prompts.records[0].text.endsWith(".db")) << "a dated name beside the database is proposed";
    ASSERT_TRUE(q.exec("COMMIT"));

    EXPECT_EQ(countIn(target, "SELECT count(*) FROM TestResult"), 300);
    EXPECT_EQ(valueIn(target, "PRAGMA journal_mode").toString(), "delete") << "a file that stands alone";
    EXPECT_EQ(valueIn(target, "PRAGMA integrity_check").toString(), "ok");
    EXPECT_FALSE(QFile::exists(target + "-wal"));
    EXPECT_EQ(QDir(fx.dir.file("backup")).entryList(QDir::Files | QDir::Hidden), QStringList{"K7100 copy.db"});

    // The database itself is never the target.
    fx.prompts.clear();
    fx.prompts.fileAnswers = {fx.database.path()};
    DatabaseCommands::backUpDatabase(fx.context);
    EXPECT_TRUE(fx.prompts.messageTexts()[0].contains("the copy cannot replace the database itself"));
    EXPECT_EQ(countIn(fx.database.path(), "SELECT count(*) FROM TestResult"), 301);
}

TEST(DatabaseFile, ATestListCutShortByDamageIsToldAsIncomplete)
{
    TempDir dir;
    const QString path = dir.file("K7100.db");
    {
        Database db;
        ASSERT_TRUE(db.open(path));
        QSqlDatabase c = db.connection();
        ASSERT_TRUE(c.transaction());
        QSqlQuery q(c);
        q.prepare("INSERT INTO RelatedInfo (TestId, TestName, MudId, \"Desc\") VALUES (?, ?, 'N/A', ?)");
        for (int id = 1; id <= 3000; ++id) {
            q.addBindValue(id);
            q.addBindValue(QString("Test number %1").arg(id));
            q.addBindValue(QString(60, QChar('d')));
            ASSERT_TRUE(q.exec());
        }
        ASSERT_TRUE(c.commit());
    }
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 pages = f.size() / 4096;
        ASSERT_GT(pages, 40);
        ASSERT_TRUE(f.seek(pages / 2 * 4096));
        f.write(QByteArray(4 * 4096, '\x5A'));
    }
    Database db;
    ASSERT_TRUE(db.open(path));
    ScriptedPrompts prompts;
    TestLibrary library(db.connection());
    const QStringList names = library.testNamesForPicker(prompts);
    EXPECT_LT(names.size(), 3000);
    ASSERT_EQ(prompts.messageTexts().size(), 1);
    EXPECT_TRUE(prompts.messageTexts()[0].startsWith(
        "The list of saved tests could not be read completely: the database file is damaged"))
        << prompts.messageTexts()[0].toStdString();
}
