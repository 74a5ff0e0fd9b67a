#pragma once
// The test and sequence database: one SQLite file in the working directory ("K7100.db"), or a database
// on a PostgreSQL server given by its connection URI (see DatabaseLocation). An empty server database gets
// the same tables on first use (see SqlDialect); one that lacks a table or column is refused unchanged.
// What follows about files applies to SQLite.
// A missing file is created with the four tables (column order is part of the format: several writers
// address columns by position) and the indexes lab-sized databases need. An existing file is read first,
// without any change: a file that is no database, or lacks a table or column the program needs, is refused
// and left byte for byte as it was. Only then is it switched to the write-ahead log and given the indexes.
//
// The write-ahead log (K7100.db-wal) holds the newest changes until they are checkpointed into K7100.db.
// The program checkpoints whenever a test has been stored, at the end of every run and a few seconds after
// any other change, so K7100.db alone is complete whenever no run is in progress.
#include "store/Connection.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <memory>

class QTimer;

class Database {
public:
    static QString defaultFileName() { return QStringLiteral("K7100.db"); }
    // How long a command of the user waits for another program that holds the file.
    static constexpr int CommandBusyTimeoutMs = 3000;
    // How often changes made outside a run are moved into the database file.
    static constexpr int CheckpointIntervalMs = 5000;

    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens path (a file, or a server's URI), creating the file and its tables when it does not exist. On failure returns false,
    // leaves the file as it was and puts the reason in *error (the engine's message, or what the file
    // lacks: "it lacks column Gel of table TestResult, ...").
    bool open(const QString &path, QString *error = nullptr);
    void close();

    bool isOpen() const { return connection_.isOpen(); }
    bool wasCreated() const { return created_; } // the file was new (the example sequence goes in)
    QString path() const { return path_; }       // the file's path or the server's URI
    bool isServer() const;

    QSqlDatabase connection() const { return connection_.db(); }

    // A server connection that was lost (the server restarted) is made anew; the timer also does it every
    // CheckpointIntervalMs. True when the database answers.
    bool reconnectIfLost(QString *error = nullptr) { return connection_.reconnectIfLost(error); }

    // Moves everything in the write-ahead log into the database file and empties the log. False (with the
    // reason) when another program's reading or writing kept it from finishing; it is done again later.
    bool checkpoint(QString *error = nullptr);
    static bool checkpoint(const QSqlDatabase &db, QString *error = nullptr);

    // The CREATE statements of a file, in table order (used by tests comparing the schema).
    static QStringList schemaStatements();

private:
    bool openServer(QString *error);
    void checkpointIfChanged();

    Connection connection_;
    QString path_;
    bool created_ = false;
    std::unique_ptr<QTimer> checkpointTimer_;
    qint64 walSizeSeen_ = 0;
    QDateTime walTimeSeen_;
};
