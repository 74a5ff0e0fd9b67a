#include "store/RecordingClaims.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlQuery>
#include <QSysInfo>
#include <QUuid>
#include <QVariant>

namespace RecordingClaims {

QString thisProgram()
{
    static const QString id = QStringLiteral("%1/%2/%3")
                                  .arg(QSysInfo::machineHostName())
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(QUuid::createUuid().toString(QUuid::WithoutBraces).left(8));
    return id;
}

qint64 now()
{
    return QDateTime::currentSecsSinceEpoch();
}

namespace {
bool exec(QSqlQuery &q, QSqlError *error)
{
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError();
    return false;
}
} // namespace

bool renew(const QSqlDatabase &db, qint64 testId, const QString &owner, qint64 at, QSqlError *error)
{
    QSqlQuery q(db);
    q.prepare(
        QStringLiteral("INSERT INTO RecordingClaim (TestId, Owner, Heartbeat) VALUES (?, ?, ?) "
                       "ON CONFLICT (TestId) DO UPDATE SET Owner = excluded.Owner, Heartbeat = excluded.Heartbeat"));
    q.addBindValue(testId);
    q.addBindValue(owner);
    q.addBindValue(at);
    return exec(q, error);
}

bool release(const QSqlDatabase &db, qint64 testId, const QString &owner, QSqlError *error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM RecordingClaim WHERE TestId = ? AND Owner = ?"));
    q.addBindValue(testId);
    q.addBindValue(owner);
    return exec(q, error);
}

std::optional<QString> liveOwner(const QSqlDatabase &db, qint64 testId, qint64 at, QSqlError *error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT Owner FROM RecordingClaim WHERE TestId = ? AND Heartbeat >= ?"));
    q.addBindValue(testId);
    q.addBindValue(at - StaleSeconds);
    if (!exec(q, error) || !q.next())
        return std::nullopt;
    return q.value(0).toString();
}

qint64 largestClaimed(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT max(TestId) FROM RecordingClaim")) || !q.next())
        return 0;
    return q.value(0).toLongLong();
}

QString beingRecordedText(const QString &testName)
{
    return QStringLiteral("The test %1 is being recorded right now (by this or another K7100DAQ program on this "
                          "database), so it cannot be deleted. Delete it after its run has ended.")
        .arg(testName);
}

} // namespace RecordingClaims
