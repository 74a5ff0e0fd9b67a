#include "realtime/TestResultWriter.h"

#include "realtime/RecordedPoint.h"

#include <QSqlError>
#include <QVariant>

TestResultWriter::TestResultWriter(const QSqlDatabase &db) : db_(db), insert_(db) {}

bool TestResultWriter::append(const RecordedPoint &p)
{
    if (!prepared_) {
        prepared_ = insert_.prepare(QStringLiteral(
            "INSERT INTO TestResult (TestId, StepNo, Time, Temperature, Speed, Shearstress, Gel, Rbfactor) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        if (!prepared_) {
            error_ = insert_.lastError().text();
            return false;
        }
    }
    insert_.bindValue(0, p.testId);
    insert_.bindValue(1, p.stepNo);
    insert_.bindValue(2, p.time);
    insert_.bindValue(3, p.temperature);
    insert_.bindValue(4, p.speed);
    insert_.bindValue(5, p.shearStress);
    insert_.bindValue(6, p.gel);
    insert_.bindValue(7, p.rbFactor);
    if (!insert_.exec()) {
        error_ = insert_.lastError().text();
        insert_.finish();
        return false;
    }
    insert_.finish();
    return true;
}
