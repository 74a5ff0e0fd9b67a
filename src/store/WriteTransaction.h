#pragma once
// One change to the database made as a whole. The write lock is taken when the transaction begins, so
// what it reads before writing (the largest TestId, a recording claim, a test's name) cannot be changed by
// another program before it commits. Rolls back unless committed.
//
//     WriteTransaction t(db);
//     if (!t.isOpen()) return fail(t.error());
//     QSqlQuery q(db); ... if (!q.exec()) return t.fail(q);
//     if (!t.commit()) return fail(t.error());
#include <QSqlDatabase>
#include <QSqlError>

class QSqlQuery;

class WriteTransaction {
public:
    explicit WriteTransaction(const QSqlDatabase &db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    bool isOpen() const { return open_; }
    bool commit();
    void rollback();

    // Ends the transaction after a failed statement: keeps the statement's error, rolls back, returns false.
    bool fail(const QSqlQuery &failed);
    bool fail(const QSqlError &error);

    QSqlError error() const { return error_; }

private:
    bool run(const QString &statement);

    QSqlDatabase db_;
    bool open_ = false;
    QSqlError error_;
};
