#include "store/DatabaseMaintenance.h"

#include "store/Connection.h"
#include "store/Database.h"
#include "store/DatabaseLocation.h"
#include "store/SqlDialect.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace DatabaseMaintenance {

namespace {

qint64 countOf(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT count(*) FROM ") + table) && q.next() ? q.value(0).toLongLong() : 0;
}

QString counted(qint64 n, const QString &one, const QString &many)
{
    return QLocale().toString(n) + QLatin1Char(' ') + (n == 1 ? one : many);
}

QString counted(const Summary &s)
{
    return QStringLiteral("%1 with %2, and %3")
        .arg(counted(s.tests, QStringLiteral("test"), QStringLiteral("tests")),
             counted(s.readings, QStringLiteral("reading"), QStringLiteral("readings")),
             counted(s.sequences, QStringLiteral("sequence"), QStringLiteral("sequences")));
}

} // namespace

Summary summaryOf(const QSqlDatabase &db)
{
    return {countOf(db, QStringLiteral("RelatedInfo")), countOf(db, QStringLiteral("TestResult")),
            countOf(db, QStringLiteral("SequenceName"))};
}

CheckResult check(const QSqlDatabase &db)
{
    CheckResult result;
    if (!SqlDialect::of(db).isFile()) {
        // A server checks its own files; what can be seen from here is that every table can be read.
        for (const char *table : {"RelatedInfo", "TestResult", "SequenceName", "SequenceSetup"}) {
            QSqlQuery count(db);
            if (!count.exec(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(table)))
                result.problems << StoreError::describe(count.lastError());
        }
        result.ok = result.problems.isEmpty();
        result.summary = summaryOf(db);
        return result;
    }
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("PRAGMA integrity_check(20)"))) {
        result.problems << q.lastError().text();
        return result;
    }
    QStringList lines;
    while (q.next())
        lines << q.value(0).toString();
    if (q.lastError().isValid())
        lines << q.lastError().text();
    q.finish();
    result.ok = lines == QStringList{QStringLiteral("ok")};
    if (!result.ok)
        result.problems = lines;
    result.summary = summaryOf(db);
    return result;
}

QString checkText(const CheckResult &result, const QString &databasePath)
{
    const QString file = DatabaseLocation::display(databasePath);
    if (DatabaseLocation::isServer(databasePath)) {
        if (result.ok)
            return QStringLiteral("The database %1 answers and every table can be read. The server looks after its "
                                  "own files.\n\nIt holds %2.")
                .arg(file, counted(result.summary));
        return QStringLiteral("The database %1 could not be read completely:\n\n%2")
            .arg(file, result.problems.join(QLatin1Char('\n')));
    }
    if (result.ok)
        return QStringLiteral("The database %1 is in good order: SQLite's integrity check found no fault.\n\nIt holds "
                              "%2.")
            .arg(file, counted(result.summary));
    return QStringLiteral("The database %1 is damaged. SQLite's integrity check reports:\n\n%2\n\nTests on the "
                          "damaged part cannot be opened in full; the program says so and shows nothing of them. "
                          "Restore the latest backup copy of the database (make a copy of this file first), or "
                          "ask for help before more tests are stored in it.")
        .arg(file, result.problems.join(QLatin1Char('\n')));
}

BackupResult backUp(const QSqlDatabase &db, const QString &databasePath, const QString &target)
{
    BackupResult result;
    if (DatabaseLocation::isServer(databasePath)) {
        result.error = QStringLiteral("a database on a server is backed up on the server (pg_dump); \"k7100daq copy\" "
                                      "copies its tests and sequences into a database file");
        return result;
    }
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && targetInfo.canonicalFilePath() == QFileInfo(databasePath).canonicalFilePath()) {
        result.error = QStringLiteral("the copy cannot replace the database itself; choose another file");
        return result;
    }
    // VACUUM INTO writes only a file that does not exist yet: a new name beside the target, renamed at the end.
    const QString part =
        QDir(targetInfo.absolutePath())
            .filePath(QStringLiteral(".%1.%2.part")
                          .arg(targetInfo.fileName(), QUuid::createUuid().toString(QUuid::WithoutBraces).left(8)));
    auto fail = [&](const QString &error) {
        result.error = error;
        QFile::remove(part);
        return result;
    };
    {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("VACUUM INTO ?"));
        q.addBindValue(part);
        if (!q.exec())
            return fail(StoreError::describe(q.lastError()));
    }
    {
        // The copy stands alone: an ordinary journal, no log beside it. Then it must pass the check.
        Connection copy;
        QString error;
        if (!copy.open(part, Database::CommandBusyTimeoutMs, Connection::Mode::ReadWrite, &error))
            return fail(error);
        QSqlQuery q(copy.db());
        if (!q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")))
            return fail(StoreError::describe(q.lastError()));
        q.finish();
        const CheckResult checked = check(copy.db());
        if (!checked.ok)
            return fail(QStringLiteral("the copy did not pass the integrity check: ")
                        + checked.problems.join(QStringLiteral("; ")));
        result.summary = checked.summary;
    }
    if (targetInfo.exists() && !QFile::remove(target))
        return fail(QStringLiteral("the file %1 could not be replaced").arg(QDir::toNativeSeparators(target)));
    if (!QFile::rename(part, target))
        return fail(QStringLiteral("the copy could not be given the name %1").arg(QDir::toNativeSeparators(target)));
    result.ok = true;
    return result;
}

QString backupText(const BackupResult &result, const QString &target)
{
    if (result.ok)
        return QStringLiteral("The database was copied to\n%1\n\nThe copy was checked and is complete: it holds %2.")
            .arg(QDir::toNativeSeparators(target), counted(result.summary));
    return QStringLiteral("The database could not be copied to\n%1\n\n%2.")
        .arg(QDir::toNativeSeparators(target), result.error);
}

QString proposedBackupPath(const QString &databasePath, const QDateTime &when)
{
    return QFileInfo(databasePath)
        .absoluteDir()
        .filePath(QStringLiteral("K7100 backup %1.db").arg(when.toString(QStringLiteral("yyyy-MM-dd hhmm"))));
}

} // namespace DatabaseMaintenance
