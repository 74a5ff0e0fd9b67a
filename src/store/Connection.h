#pragma once
// One connection to the database, closed (and taken out of Qt's list of connections) when the object goes:
// an SQLite file (a path) or a PostgreSQL server (a connection URI, see DatabaseLocation). Every SQLite
// connection writes with full synchronisation, so a committed change is on the disk. The busy timeout says
// how long a statement waits for another program that holds the file (on a server: a lock).
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QString>

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    enum class Mode { ReadWrite, ReadOnly };

    // False with the engine's message in *error (and nothing open) when the database cannot be opened.
    // ReadOnly applies to files.
    bool open(const QString &location, int busyTimeoutMs, Mode mode = Mode::ReadWrite, QString *error = nullptr);
    void close();
    // A server connection that no longer answers is opened anew under the same name, so every copy of
    // db() works again. True when the connection answers (again); files are left alone. After a failed
    // attempt the next one waits ReconnectIntervalMs (a server that cannot be reached may take the
    // client library's connect timeout to say so).
    static constexpr int ReconnectIntervalMs = 10000;
    bool reconnectIfLost(QString *error = nullptr);

    bool isOpen() const { return db_.isValid() && db_.isOpen(); }
    QSqlDatabase db() const { return db_; }

private:
    bool openServer(const QString &location, int busyTimeoutMs, QString *error);

    QSqlDatabase db_;
    QString name_;
    int busyTimeoutMs_ = 0;
    QElapsedTimer failedReconnect_;
};
