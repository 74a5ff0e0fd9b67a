#pragma once
// Looking after the database file: SQLite's integrity check told in plain words, and a complete,
// consistent copy of the database in one file (a backup), made at any time, also while a run records.
//
// The copy is made with VACUUM INTO: it reads the database in one read transaction, so it is a snapshot of
// one moment even while another connection writes, and it writes a compact file that holds everything,
// the write-ahead log included. (SQLite's online-backup functions are not reachable through Qt's SQL
// driver; VACUUM INTO is, from SQLite 3.27 on.) The copy is checked before it takes the chosen name.
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace DatabaseMaintenance {

struct Summary {
    qint64 tests = 0;
    qint64 readings = 0;
    qint64 sequences = 0;
};

struct CheckResult {
    bool ok = false;
    QStringList problems; // what the check reported (at most 20 lines)
    Summary summary;
};

CheckResult check(const QSqlDatabase &db);
QString checkText(const CheckResult &result, const QString &databasePath);

struct BackupResult {
    bool ok = false;
    QString error;
    Summary summary; // of the copy
};

// Writes the copy to `target` (a file there is replaced only once the new copy is complete and checked).
BackupResult backUp(const QSqlDatabase &db, const QString &databasePath, const QString &target);
QString backupText(const BackupResult &result, const QString &target);

// "K7100 backup 2026-01-15 0915.db" beside the database.
QString proposedBackupPath(const QString &databasePath, const QDateTime &when);

Summary summaryOf(const QSqlDatabase &db);

} // namespace DatabaseMaintenance
