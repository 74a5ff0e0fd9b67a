#include "tests/results/StoredTestFixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

StoredTestFixture::StoredTestFixture()
{
    QString error;
    if (!database_.open(dir_.file(Database::defaultFileName()), &error))
        ADD_FAILURE() << "cannot create the scratch database: " << error.toStdString();
}

void StoredTestFixture::addTest(int testId, const QString &name, const std::vector<StoredPoint> &points)
{
    QSqlDatabase c = db();
    c.transaction();
    QSqlQuery q(c);
    q.prepare("INSERT INTO RelatedInfo VALUES (?, ?, 'N/A', '2024-05-06T07:08:09', 'Lab', '')");
    q.addBindValue(testId);
    q.addBindValue(name);
    if (!q.exec())
        ADD_FAILURE() << q.lastError().text().toStdString();
    q.prepare("INSERT INTO TestResult VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    for (const StoredPoint &p : points) {
        q.addBindValue(testId);
        q.addBindValue(p.stepNo);
        q.addBindValue(p.time);
        q.addBindValue(p.temperature);
        q.addBindValue(p.speed);
        q.addBindValue(p.shearstress);
        q.addBindValue(p.gel);
        q.addBindValue(p.rbfactor);
        if (!q.exec())
            ADD_FAILURE() << q.lastError().text().toStdString();
    }
    c.commit();
}

StoredPoint point(double step, double time, double speed, double stress, double rbfactor, double temperature,
                  double gel)
{
    StoredPoint p;
    p.stepNo = step;
    p.time = time;
    p.speed = speed;
    p.shearstress = stress;
    p.rbfactor = rbfactor;
    p.temperature = temperature;
    p.gel = gel;
    return p;
}
