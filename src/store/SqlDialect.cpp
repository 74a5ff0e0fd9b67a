#include "store/SqlDialect.h"

#include <QSqlDriver>

namespace {
// The advisory lock key every K7100DAQ program on a server takes for its writes.
constexpr qint64 WriteLockKey = 71000001;
} // namespace

SqlDialect SqlDialect::of(const QSqlDatabase &db)
{
    return SqlDialect(db.driverName() == QLatin1String("QPSQL") ? Engine::Postgres : Engine::Sqlite);
}

QStringList SqlDialect::schemaStatements() const
{
    if (isSqlite())
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
            // Which tests are being recorded, by which running program, and when it last said it still runs.
            QStringLiteral("CREATE TABLE IF NOT EXISTS RecordingClaim ("
                           "TestId INTEGER PRIMARY KEY, Owner TEXT NOT NULL, Heartbeat INTEGER NOT NULL)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS TestResult_Test ON TestResult(TestId, StepNo, Time)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS RelatedInfo_Name ON RelatedInfo(TestName)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS SequenceSetup_Step ON SequenceSetup(SequenceId, StepNo)"),
        };
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS RelatedInfo ("
                       "TestId BIGINT PRIMARY KEY, TestName TEXT, MudId TEXT, SampleTime TIMESTAMP(0), "
                       "CompanyName TEXT, \"Desc\" TEXT)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS TestResult ("
                       "TestId BIGINT, StepNo BIGINT, Time DOUBLE PRECISION, Temperature DOUBLE PRECISION, "
                       "Speed DOUBLE PRECISION, Shearstress DOUBLE PRECISION, Gel DOUBLE PRECISION, "
                       "Rbfactor DOUBLE PRECISION, RowNo BIGINT GENERATED ALWAYS AS IDENTITY)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS SequenceName ("
                       "SequenceId BIGINT PRIMARY KEY, SequenceName TEXT, Rbfactor BIGINT)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS SequenceSetup ("
                       "SequenceId BIGINT, StepNo BIGINT, Time DOUBLE PRECISION, Temperature DOUBLE PRECISION, "
                       "Speed DOUBLE PRECISION, RecordRate DOUBLE PRECISION)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS RecordingClaim ("
                       "TestId BIGINT PRIMARY KEY, Owner TEXT NOT NULL, Heartbeat BIGINT NOT NULL)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS TestResult_Test ON TestResult(TestId, StepNo, Time)"),
        QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS RelatedInfo_Name ON RelatedInfo(upper(TestName))"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS SequenceSetup_Step ON SequenceSetup(SequenceId, StepNo)"),
        QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS SequenceName_Name ON SequenceName(upper(SequenceName))"),
    };
}

QStringList SqlDialect::beginWrite() const
{
    if (isSqlite())
        return {QStringLiteral("BEGIN IMMEDIATE")};
    return {QStringLiteral("BEGIN"), QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(WriteLockKey)};
}

QString SqlDialect::busyTimeout(int ms) const
{
    return isSqlite() ? QStringLiteral("PRAGMA busy_timeout = %1").arg(ms)
                      : QStringLiteral("SET lock_timeout = %1").arg(ms);
}

QString SqlDialect::nameEquals(const QString &column) const
{
    // SQLite: the column's NOCASE collation decides.
    return isSqlite() ? column + QStringLiteral(" = ?") : QStringLiteral("upper(%1) = upper(?)").arg(column);
}

QString SqlDialect::exactlyEquals(const QString &column) const
{
    return isSqlite() ? column + QStringLiteral(" = ? COLLATE BINARY") : column + QStringLiteral(" = ?");
}

QString SqlDialect::textCompare(const QString &name, const QString &op) const
{
    return isSqlite() ? QStringLiteral("%1 %2 ? COLLATE NOCASE").arg(column(name), op)
                      : QStringLiteral("upper(%1) %2 upper(?)").arg(column(name), op);
}

QString SqlDialect::numberCompare(const QString &name, const QString &op) const
{
    return isSqlite() ? QStringLiteral("%1 %2 ?").arg(column(name), op)
                      : QStringLiteral("%1 %2 CAST(? AS DOUBLE PRECISION)").arg(column(name), op);
}

QString SqlDialect::like(const QString &expression) const
{
    return expression + (isSqlite() ? QStringLiteral(" LIKE ? ESCAPE '\\'") : QStringLiteral(" ILIKE ? ESCAPE '\\'"));
}

QString SqlDialect::sampleTimeText() const
{
    return isSqlite() ? QStringLiteral("replace(SampleTime, 'T', ' ')")
                      : QStringLiteral("to_char(SampleTime, 'YYYY-MM-DD HH24:MI:SS')");
}

QString SqlDialect::sampleTimeCompare(const QString &op) const
{
    return isSqlite() ? QStringLiteral("datetime(SampleTime) %1 datetime(?)").arg(op)
                      : QStringLiteral("SampleTime %1 CAST(? AS TIMESTAMP)").arg(op);
}

QString SqlDialect::storedOrder() const
{
    return isSqlite() ? QStringLiteral("rowid") : QStringLiteral("RowNo");
}

QString SqlDialect::column(const QString &name)
{
    return name == QLatin1String("Desc") ? QStringLiteral("\"Desc\"") : name;
}
