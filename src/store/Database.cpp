#include "store/Database.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

QStringList Database::schemaStatements()
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS RelatedInfo ("
                       "TestId INTEGER PRIMARY KEY, TestName TEXT COLLATE NOCASE, MudId TEXT, "
                       "SampleTime DATETIME, CompanyName TEXT, \"Desc\" TEXT)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS TestResult ("
                       "TestId INTEGER, StepNo INTEGER, Time REAL, Temperature REAL, Speed REAL, "
                       "Shearstress REAL, Gel REAL, Rbfactor REAL)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS SequenceName ("
                       "SequenceId INTEGER PRIMARY KEY, SequenceName TEXT COLLATE NOCASE, Rbfactor INTEGER)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS SequenceSetup ("
                       "SequenceId INTEGER, StepNo INTEGER, Time REAL, Temperature REAL, Speed REAL, "
                       "RecordRate INTEGER)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS TestResult_Test ON TestResult(TestId, StepNo, Time)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS RelatedInfo_Name ON RelatedInfo(TestName)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS SequenceSetup_Step ON SequenceSetup(SequenceId, StepNo)"),
    };
}

Database::~Database()
{
    close();
}

void Database::close()
{
    if (connectionName_.isEmpty())
        return;
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
    connectionName_.clear();
}

bool Database::open(const QString &path, QString *error)
{
    close();
    path_ = path;
    const QFileInfo info(path);
    created_ = !info.exists() || info.size() == 0;

    connectionName_ = QStringLiteral("k7100-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db_.setDatabaseName(path);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));

    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        close();
        return false;
    };

    if (!db_.open())
        return fail(db_.lastError().text());

    // Read before writing anything: a file that is not a database fails here and stays untouched.
    {
        QSqlQuery probe(db_);
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
            return fail(probe.lastError().text());
    }

    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        return fail(q.lastError().text());
    if (!q.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        return fail(q.lastError().text());
    for (const QString &statement : schemaStatements()) {
        if (!q.exec(statement))
            return fail(q.lastError().text());
    }
    return true;
}
