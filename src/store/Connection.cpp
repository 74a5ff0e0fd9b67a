#include "store/Connection.h"

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

bool Connection::open(const QString &path, int busyTimeoutMs, Mode mode, QString *error)
{
    close();
    name_ = QStringLiteral("k7100-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
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
