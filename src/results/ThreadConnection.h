#pragma once
// A connection to the program's database for the thread that makes it. A Qt database connection may only
// be used by the thread that opened it, so work on a worker thread reads through one of these, opened on
// the same file with the same options; it is closed and forgotten when it goes. Made on the connection's
// own thread, it simply is that connection.
#include "platform/LongWork.h"

#include <QSqlDatabase>
#include <QString>
#include <QThread>

class ThreadConnection {
public:
    // `home`: the thread `db` belongs to (the user-interface thread).
    ThreadConnection(const QSqlDatabase &db, QThread *home);
    ~ThreadConnection();
    ThreadConnection(const ThreadConnection &) = delete;
    ThreadConnection &operator=(const ThreadConnection &) = delete;

    QSqlDatabase connection() const { return db_; }
    bool isOpen() const { return db_.isOpen(); }
    // Why the connection could not be opened ("" when it is open).
    QString error() const;

    // Runs read(connection, progress) as long work on a connection of the worker's own. Should that
    // connection not open, the reading is done once more on the calling thread with db itself, as it was
    // done before there were workers, so a test never shows up empty for that reason.
    template <typename Read>
    static void read(LongWork &work, const QString &label, const QSqlDatabase &db, const Read &read);

private:
    QSqlDatabase db_;
    QString ownName_; // set when this object opened a connection of its own
};

template <typename Read>
void ThreadConnection::read(LongWork &work, const QString &label, const QSqlDatabase &db, const Read &read)
{
    QThread *home = QThread::currentThread();
    bool opened = true;
    work.run(label, LongWork::Stop::NotOffered, [&](WorkProgress &progress) {
        const ThreadConnection connection(db, home);
        opened = connection.isOpen();
        if (opened)
            read(connection.connection(), progress);
    });
    if (!opened) {
        WorkProgress here;
        read(db, here);
    }
}
