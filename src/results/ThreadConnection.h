#pragma once
// A connection to the program's database for the thread that makes it. A Qt database connection may only
// be used by the thread that opened it, so work on a worker thread reads through one of these, opened on
// the same file with the same options; it is closed and forgotten when it goes. Made on the connection's
// own thread, it simply is that connection.
#include <QSqlDatabase>
#include <QString>

class QThread;

class ThreadConnection {
public:
    // `home`: the thread `db` belongs to (the user-interface thread).
    ThreadConnection(const QSqlDatabase &db, QThread *home);
    ~ThreadConnection();
    ThreadConnection(const ThreadConnection &) = delete;
    ThreadConnection &operator=(const ThreadConnection &) = delete;

    QSqlDatabase connection() const { return db_; }

private:
    QSqlDatabase db_;
    QString ownName_; // set when this object opened a connection of its own
};
