#include "store/WriteTransaction.h"

#include "store/SqlDialect.h"

#include <QSqlQuery>
#include <QStringList>

WriteTransaction::WriteTransaction(const QSqlDatabase &db) : db_(db)
{
    const QStringList begin = SqlDialect::of(db_).beginWrite();
    open_ = run(begin.first());
    for (qsizetype i = 1; open_ && i < begin.size(); ++i) {
        if (!run(begin.at(i)))
            fail(error_);
    }
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
