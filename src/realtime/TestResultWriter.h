#pragma once
// Appends the points of a running test to TestResult, one statement per point with no transaction around
// it: with the database's WAL journal and full synchronisation a point is on disk when append() returns,
// so a run that is killed or loses power keeps every point recorded before.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

struct RecordedPoint;

class TestResultWriter {
public:
    explicit TestResultWriter(const QSqlDatabase &db);

    // Stores one point. False when the database refused it (disk full, file locked or read-only); the
    // engine's message is then in lastError() and nothing of the point is stored.
    [[nodiscard]] bool append(const RecordedPoint &point);
    QString lastError() const { return error_; }

private:
    QSqlDatabase db_;
    QSqlQuery insert_;
    bool prepared_ = false;
    QString error_;
};
