#include "store/StoredPoints.h"

#include "store/SqlDialect.h"

#include <QSqlQuery>
#include <QVariant>

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

bool insert(const QSqlDatabase &db, qint64 testId, const TestPoints &points, QSqlError *error)
{
    QSqlQuery q(db);
    if (!q.prepare(QStringLiteral("INSERT INTO TestResult (TestId, StepNo, Time, Temperature, Speed, Shearstress, "
                                  "Gel, Rbfactor) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"))) {
        failed(q, error);
        return false;
    }
    for (const TestPoint &p : points) {
        q.bindValue(0, testId);
        q.bindValue(1, p.stepNo);
        q.bindValue(2, p.time);
        q.bindValue(3, p.temperature);
        q.bindValue(4, p.speed);
        q.bindValue(5, p.shearStress);
        q.bindValue(6, p.gel);
        q.bindValue(7, p.rbFactor);
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
