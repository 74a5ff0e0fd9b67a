#include "store/Database.h"

#include "store/DatabaseLocation.h"
#include "store/SchemaCheck.h"
#include "store/SqlDialect.h"
#include "store/WriteTransaction.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

QStringList Database::schemaStatements()
{
    return SqlDialect(SqlDialect::Engine::Sqlite).schemaStatements();
}

Database::Database() = default;

bool Database::isServer() const
{
    return DatabaseLocation::isServer(path_);
}

Database::~Database()
{
    close();
}

void Database::close()
{
    checkpointTimer_.reset();
    if (connection_.isOpen())
        checkpoint();
    connection_.close();
}

namespace {

// Reads the existing file without changing it. Empty when the program can use it; *empty tells a file
// with no table at all, which is set up like a new one.
QString inspectExisting(const QString &path, bool *empty)
{
    Connection reader;
    QString error;
    if (!reader.open(path, Database::CommandBusyTimeoutMs, Connection::Mode::ReadOnly, &error))
        return error;
    QSqlQuery probe(reader.db());
    // A file that is not a database fails here.
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !probe.next())
        return probe.lastError().text();
    probe.finish();
    *empty = SchemaCheck::isEmpty(reader.db());
    if (*empty)
        return {};
    const QStringList missing = SchemaCheck::missing(reader.db());
    if (!missing.isEmpty())
        return QStringLiteral("It is not a K7100 database this program can use: it lacks ")
            + missing.join(QStringLiteral(", ")) + QLatin1Char('.');
    return {};
}

} // namespace

bool Database::open(const QString &path, QString *error)
{
    close();
    path_ = path;
    if (DatabaseLocation::isServer(path))
        return openServer(error);
    const QFileInfo info(path);
    created_ = !info.exists() || info.size() == 0;

    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        connection_.close();
        return false;
    };

    if (!created_) {
        bool empty = false;
        const QString problem = inspectExisting(path, &empty);
        if (!problem.isEmpty())
            return fail(problem);
        created_ = empty;
    }

    QString openError;
    if (!connection_.open(path, CommandBusyTimeoutMs, Connection::Mode::ReadWrite, &openError))
        return fail(openError);
    QSqlQuery q(connection());
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        return fail(q.lastError().text());
    for (const QString &statement : schemaStatements()) {
        if (!q.exec(statement))
            return fail(q.lastError().text());
    }
    q.finish();
    // A log left by a program that was killed goes into the file now.
    checkpoint();

    if (QCoreApplication::instance()) {
        checkpointTimer_ = std::make_unique<QTimer>();
        checkpointTimer_->setInterval(CheckpointIntervalMs);
        QObject::connect(checkpointTimer_.get(), &QTimer::timeout, [this] { checkpointIfChanged(); });
        checkpointTimer_->start();
    }
    return true;
}

bool Database::openServer(QString *error)
{
    QString problem;
    if (connection_.open(path_, CommandBusyTimeoutMs, Connection::Mode::ReadWrite, &problem)) {
        // Under the write lock, so that two programs starting on an empty database make the tables once.
        WriteTransaction transaction(connection());
        created_ = transaction.isOpen() && SchemaCheck::isEmpty(connection());
        if (!transaction.isOpen()) {
            problem = transaction.error().text().trimmed();
        } else if (created_) {
            QSqlQuery q(connection());
            for (const QString &statement : SqlDialect::of(connection()).schemaStatements()) {
                if (!q.exec(statement)) {
                    problem = q.lastError().text().trimmed();
                    break;
                }
            }
        } else if (const QStringList missing = SchemaCheck::missing(connection()); !missing.isEmpty()) {
            problem = QStringLiteral("It is not a K7100 database this program can use: it lacks ")
                + missing.join(QStringLiteral(", ")) + QLatin1Char('.');
        }
        if (problem.isEmpty() && !transaction.commit())
            problem = transaction.error().text().trimmed();
    }
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        connection_.close();
        return false;
    }
    if (QCoreApplication::instance()) {
        checkpointTimer_ = std::make_unique<QTimer>();
        checkpointTimer_->setInterval(CheckpointIntervalMs);
        QObject::connect(checkpointTimer_.get(), &QTimer::timeout, [this] { reconnectIfLost(); });
        checkpointTimer_->start();
    }
    return true;
}

bool Database::checkpoint(QString *error)
{
    return isOpen() && checkpoint(connection(), error);
}

bool Database::checkpoint(const QSqlDatabase &db, QString *error)
{
    if (!SqlDialect::of(db).isFile())
        return true; // a server keeps its own files
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")) || !q.next()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    // One row: busy (1 when it could not finish), frames in the log, frames moved into the file.
    const bool finished = q.value(0).toInt() == 0;
    if (!finished && error)
        *error = QStringLiteral("another program is using the database");
    return finished;
}

void Database::checkpointIfChanged()
{
    // Passive: never waits for another program; whatever it cannot move now goes at the next turn.
    const QFileInfo wal(path_ + QStringLiteral("-wal"));
    if (!wal.exists() || wal.size() == 0)
        return;
    if (wal.size() == walSizeSeen_ && wal.lastModified() == walTimeSeen_)
        return;
    QSqlQuery q(connection());
    if (q.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)")) && q.next()
        && q.value(1).toInt() == q.value(2).toInt()) {
        walSizeSeen_ = wal.size();
        walTimeSeen_ = wal.lastModified();
    }
}
