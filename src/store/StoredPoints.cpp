#include "store/StoredPoints.h"

#include "store/SqlDialect.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace StoredPoints {

namespace {
bool failed(const QSqlQuery &q, QSqlError *error)
{
    const QSqlError e = q.lastError();
    if (!e.isValid() || e.type() == QSqlError::NoError)
        return false;
    if (error)
        *error = e;
    return true;
}
} // namespace

// Rows go in many to a statement: a server answers each statement over the network.
constexpr qsizetype RowsPerStatement = 100;

bool insert(const QSqlDatabase &db, qint64 testId, const TestPoints &points, QSqlError *error)
{
    QSqlQuery q(db);
    qsizetype prepared = 0; // rows of the statement q holds
    for (qsizetype first = 0; first < points.size(); first += RowsPerStatement) {
        const qsizetype rows = std::min(RowsPerStatement, points.size() - first);
        if (rows != prepared) {
            QStringList values(rows, QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?)"));
            if (!q.prepare(QStringLiteral("INSERT INTO TestResult (TestId, StepNo, Time, Temperature, Speed, "
                                          "Shearstress, Gel, Rbfactor) VALUES ")
                           + values.join(QStringLiteral(", ")))) {
                failed(q, error);
                return false;
            }
            prepared = rows;
        }
        for (qsizetype r = 0; r < rows; ++r) {
            const TestPoint &p = points[first + r];
            const int at = int(r) * 8;
            q.bindValue(at, testId);
            q.bindValue(at + 1, p.stepNo);
            q.bindValue(at + 2, p.time);
            q.bindValue(at + 3, p.temperature);
            q.bindValue(at + 4, p.speed);
            q.bindValue(at + 5, p.shearStress);
            q.bindValue(at + 6, p.gel);
            q.bindValue(at + 7, p.rbFactor);
        }
        if (!q.exec()) {
            failed(q, error);
            return false;
        }
    }
    return true;
}

TestPoints read(const QSqlDatabase &db, qint64 testId, QSqlError *error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT StepNo, Time, Temperature, Speed, Shearstress, Gel, Rbfactor FROM TestResult "
                             "WHERE TestId = ? ORDER BY ")
              + SqlDialect::of(db).storedOrder());
    q.addBindValue(testId);
    TestPoints out;
    if (!q.exec()) {
        failed(q, error);
        return out;
    }
    while (q.next()) {
        TestPoint p;
        p.stepNo = q.value(0).toLongLong();
        p.time = q.value(1).toDouble();
        p.temperature = q.value(2).toDouble();
        p.speed = q.value(3).toDouble();
        p.shearStress = q.value(4).toDouble();
        p.gel = q.value(5).toDouble();
        p.rbFactor = q.value(6).toDouble();
        out << p;
    }
    failed(q, error);
    return out;
}

std::optional<QString> testName(const QSqlDatabase &db, qint64 testId, QSqlError *error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT TestName FROM RelatedInfo WHERE TestId = ?"));
    q.addBindValue(testId);
    if (!q.exec()) {
        failed(q, error);
        return std::nullopt;
    }
    if (!q.next()) {
        failed(q, error);
        return std::nullopt;
    }
    return q.value(0).toString();
}

} // namespace StoredPoints
