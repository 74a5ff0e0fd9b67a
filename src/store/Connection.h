#pragma once
// One connection to an SQLite database file, closed (and taken out of Qt's list of connections) when the
// object goes. Every connection writes with full synchronisation, so a committed change is on the disk.
// The busy timeout says how long a statement waits for another program that holds the file.
#include <QSqlDatabase>
#include <QString>

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    enum class Mode { ReadWrite, ReadOnly };

    // False with the engine's message in *error (and nothing open) when the file cannot be opened.
    bool open(const QString &path, int busyTimeoutMs, Mode mode = Mode::ReadWrite, QString *error = nullptr);
    void close();

    bool isOpen() const { return db_.isValid() && db_.isOpen(); }
    QSqlDatabase db() const { return db_; }

private:
    QSqlDatabase db_;
    QString name_;
};
