#include "store/WriteTransaction.h"

#include <QSqlDriver>
#include <QSqlQuery>

WriteTransaction::WriteTransaction(const QSqlDatabase &db) : db_(db)
{
    // SQLite takes the write lock at once only when asked to; other engines lock rows as they are written.
    const bool sqlite = db_.driverName() == QLatin1String("QSQLITE");
    open_ = run(sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
}

WriteTransaction::~WriteTransaction()
{
    rollback();
}

bool WriteTransaction::run(const QString &statement)
{
    QSqlQuery q(db_);
    if (q.exec(statement))
        return true;
    error_ = q.lastError();
    return false;
}

bool WriteTransaction::commit()
{
    if (!open_)
        return false;
    if (!run(QStringLiteral("COMMIT"))) {
        rollback();
        return false;
    }
    open_ = false;
    return true;
}

void WriteTransaction::rollback()
{
    if (!open_)
        return;
    open_ = false;
    QSqlQuery q(db_);
    q.exec(QStringLiteral("ROLLBACK"));
}

bool WriteTransaction::fail(const QSqlQuery &failed)
{
    return fail(failed.lastError());
}

bool WriteTransaction::fail(const QSqlError &error)
{
    error_ = error;
    rollback();
    return false;
}
