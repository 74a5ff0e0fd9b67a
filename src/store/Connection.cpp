#include "store/Connection.h"

#include "store/DatabaseLocation.h"
#include "store/SqlDialect.h"
#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

Connection::~Connection()
{
    close();
}

void Connection::close()
{
    if (name_.isEmpty())
        return;
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    name_.clear();
}

bool Connection::open(const QString &location, int busyTimeoutMs, Mode mode, QString *error)
{
    close();
    name_ = QStringLiteral("k7100-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (DatabaseLocation::isServer(location))
        return openServer(location, busyTimeoutMs, error);
    const QString &path = location;
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
    if (mode == Mode::ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db_.setConnectOptions(options);
    if (!db_.open()) {
        if (error)
            *error = db_.lastError().text();
        close();
        return false;
    }
    if (mode == Mode::ReadWrite) {
        // Per connection: a committed row is on the disk when the commit returns.
        QSqlQuery q(db_);
        if (!q.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
            if (error)
                *error = q.lastError().text();
            close();
            return false;
        }
    }
    return true;
}

bool Connection::reconnectIfLost(QString *error)
{
    if (!db_.isValid() || db_.driverName() != QLatin1String("QPSQL"))
        return isOpen();
    if (db_.isOpen()) {
        QSqlQuery probe(db_);
        if (probe.exec(QStringLiteral("SELECT 1")) || StoreError::kindOf(probe.lastError()) != StoreError::Kind::Lost)
            return true;
    }
    if (failedReconnect_.isValid() && failedReconnect_.elapsed() < ReconnectIntervalMs) {
        if (error)
            *error = db_.lastError().text().trimmed();
        return false;
    }
    db_.close();
    bool reopened = db_.open();
    if (reopened) {
        QSqlQuery q(db_);
        reopened = q.exec(SqlDialect(SqlDialect::Engine::Postgres).busyTimeout(busyTimeoutMs_));
    }
    if (!reopened) {
        if (error)
            *error = db_.lastError().text().trimmed();
        failedReconnect_.start();
        return false;
    }
    failedReconnect_.invalidate();
    return true;
}

bool Connection::openServer(const QString &location, int busyTimeoutMs, QString *error)
{
    busyTimeoutMs_ = busyTimeoutMs;
    const std::optional<DatabaseLocation::Server> server = DatabaseLocation::parseServer(location, error);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
    if (!server || !db_.isValid()) {
        if (server && error)
            *error = QStringLiteral("this computer lacks the PostgreSQL driver of Qt (Debian package libqt6sql6-psql)");
        close();
        return false;
    }
    if (!server->host.isEmpty())
        db_.setHostName(server->host);
    if (server->port > 0)
        db_.setPort(server->port);
    db_.setUserName(server->user);
    // Only a password written in the URI is handed on; otherwise the client library looks for one itself.
    if (!server->password.isEmpty())
        db_.setPassword(server->password);
    db_.setDatabaseName(server->database);
    QStringList options{QStringLiteral("application_name=k7100daq")};
    if (!server->options.contains(QLatin1String("connect_timeout=")))
        options << QStringLiteral("connect_timeout=5");
    if (!server->options.isEmpty())
        options << server->options;
    db_.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db_.open()) {
        if (error)
            *error = db_.lastError().text().trimmed();
        close();
        return false;
    }
    QSqlQuery q(db_);
    if (!q.exec(SqlDialect(SqlDialect::Engine::Postgres).busyTimeout(busyTimeoutMs))) {
        if (error)
            *error = q.lastError().text().trimmed();
        close();
        return false;
    }
    return true;
}
