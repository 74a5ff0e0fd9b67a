#pragma once
// Which tests are being recorded right now, by which running program. A program that records a test
// claims its TestId and renews the claim (its heartbeat) while the run lasts; other programs on the same
// database will not delete a test with a live claim. A claim whose heartbeat is older than StaleSeconds
// belongs to a program that was killed or lost the machine: it is ignored and cleared.
//
// The functions run inside the caller's transaction; times are wall-clock seconds since the epoch, which
// every program on the file shares.
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <optional>

namespace RecordingClaims {

constexpr qint64 HeartbeatSeconds = 15;
constexpr qint64 StaleSeconds = 120;

// This program's name in the claims: host, process id and a random part (two windows of one program
// are one owner).
QString thisProgram();

// Wall-clock seconds since the epoch.
qint64 now();

// Claims or renews testId for owner. False with the error when the statement failed.
bool renew(const QSqlDatabase &db, qint64 testId, const QString &owner, qint64 at, QSqlError *error = nullptr);
bool release(const QSqlDatabase &db, qint64 testId, const QString &owner, QSqlError *error = nullptr);

// The owner of a live claim on testId (heartbeat not older than StaleSeconds at `at`); nullopt when there
// is none. A failed read returns nullopt with *error set.
std::optional<QString> liveOwner(const QSqlDatabase &db, qint64 testId, qint64 at, QSqlError *error = nullptr);

// The largest TestId claimed by anyone (stale or not); 0 when none.
qint64 largestClaimed(const QSqlDatabase &db);

// The text shown when a test cannot be deleted because it is being recorded.
QString beingRecordedText(const QString &testName);

} // namespace RecordingClaims
