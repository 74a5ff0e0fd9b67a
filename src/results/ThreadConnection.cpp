#include "results/ThreadConnection.h"

#include <QSqlError>
#include <QUuid>

ThreadConnection::ThreadConnection(const QSqlDatabase &db, QThread *home)
{
    if (QThread::currentThread() == home || !db.isValid()) {
        db_ = db;
        return;
    }
    ownName_ = db.connectionName() + QStringLiteral("-worker-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    // Cloning by name is the form meant for another thread: it does not touch the other connection.
    db_ = QSqlDatabase::cloneDatabase(db.connectionName(), ownName_);
    db_.open();
}

ThreadConnection::~ThreadConnection()
{
    if (ownName_.isEmpty())
        return;
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(ownName_);
}

QString ThreadConnection::error() const
{
    if (db_.isOpen())
        return {};
    const QString text = db_.lastError().text();
    return text.isEmpty() ? QStringLiteral("The database could not be opened.") : text;
}
