#pragma once
// What differs between the two database engines the program stores into, SQLite (a file) and PostgreSQL
// (a server), in one place. Every statement of the store that is not plain SQL both engines read alike
// takes its engine-specific part from here; values are always bound, never written into the text.
//
//   - the tables: SQLite's INTEGER is 64 bits and its REAL a double; on the server BIGINT and DOUBLE
//     PRECISION, the sample time a TIMESTAMP, and test and sequence names unique without regard to letter
//     case (indexes on upper(name)). A record rate may be a fraction of a second, which SQLite keeps in its
//     INTEGER column as it was given: on the server the column is DOUBLE PRECISION. TestResult has no rowid on the server: a RowNo identity column (last) keeps the
//     order the readings were stored in.
//   - name matching: SQLite compares TestName with its NOCASE collation; the server compares upper() of both.
//   - write transactions: SQLite's BEGIN IMMEDIATE takes the file's write lock at once; on the server one
//     advisory lock held to the end of the transaction does the same for every K7100DAQ program on it.
//   - waits for another program: SQLite's busy timeout, the server's lock_timeout.
//   - the file itself (write-ahead log, checkpoints, integrity check, VACUUM INTO backups): SQLite only.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class SqlDialect {
public:
    enum class Engine { Sqlite, Postgres };

    explicit SqlDialect(Engine engine) : engine_(engine) {}
    // The dialect of an open connection (by its driver).
    static SqlDialect of(const QSqlDatabase &db);

    Engine engine() const { return engine_; }
    bool isSqlite() const { return engine_ == Engine::Sqlite; }
    // The database is one file with a write-ahead log: checkpoints, integrity check and file backups apply.
    bool isFile() const { return isSqlite(); }

    // CREATE statements of the tables and indexes, in table order (TableCount tables, then the indexes).
    static constexpr int TableCount = 5;
    QStringList schemaStatements() const;

    // The statements that begin a transaction holding the write lock.
    QStringList beginWrite() const;
    // The statement that makes this connection wait up to ms for another program's lock.
    QString busyTimeout(int ms) const;

    // `column` equals the bound name without regard to letter case.
    QString nameEquals(const QString &column) const;
    // `column` equals the bound text exactly (letter case counts).
    QString exactlyEquals(const QString &column) const;
    // Column `name` <op> the bound text, letter case ignored (op: =, <>, <, <=, >, >=).
    QString textCompare(const QString &name, const QString &op) const;
    // Column `name` <op> the bound number (a whole column compared with a fraction too).
    QString numberCompare(const QString &name, const QString &op) const;
    // expression LIKE the bound pattern, letter case ignored, "\" escaping % and _.
    QString like(const QString &expression) const;
    // The sample time as text in the dialogs' form "yyyy-MM-dd HH:mm:ss" (for Like).
    QString sampleTimeText() const;
    // SampleTime <op> the bound stored date-time text.
    QString sampleTimeCompare(const QString &op) const;
    // The column that orders TestResult rows as they were stored.
    QString storedOrder() const;
    // A column name as statements write it (Desc is a keyword).
    static QString column(const QString &name);

private:
    Engine engine_;
};
