#pragma once
// Stored Fann-style tests in a database, for the tests of the rheology outputs (window, reports, command
// line): each step has a speed and the dial reading its last point shows; the stored stress is the dial
// reading × 5.11 dyn/cm2 (rotor-bob R1-B1), two points a step, the first at 90 % of the reading.
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <gtest/gtest.h>

#include <vector>

namespace FannTests {

struct Step {
    double speed;
    double dial;
    double time = 60;  // time of the step's last point
    double gelDyn = 0; // gel column (dyn/cm2) of the step's last point
};

// The "API Standard" sequence of a water-based mud: 600/300/200/100/6/3 rpm (60, 40, 32, 23, 8, 7), then a
// stir, a 10-second rest and the 3 rpm gel reading (12), a stir, a 10-minute rest and the gel reading (18).
inline std::vector<Step> waterBasedMud()
{
    return {{600, 60}, {300, 40},   {200, 32},
            {100, 23}, {6, 8},      {3, 7},
            {600, 61}, {0, 0, 10},  {3, 12, 60, 12 * 5.11},
            {600, 61}, {0, 0, 600}, {3, 18, 60, 18 * 5.11}};
}

inline std::vector<Step> oilBasedMud()
{
    return {{600, 85}, {300, 50}, {200, 38}, {100, 25}, {6, 9}, {3, 8}};
}

// Adds a test (RelatedInfo row and points) in one transaction.
inline void add(const QSqlDatabase &db, int testId, const QString &name, const std::vector<Step> &steps,
                const QString &mudId = QStringLiteral("WBM-7"), int pointsPerStep = 2)
{
    QSqlDatabase c = db;
    ASSERT_TRUE(c.transaction());
    QSqlQuery q(c);
    q.prepare(QStringLiteral("INSERT INTO RelatedInfo VALUES (?, ?, ?, '2024-05-06T07:08:09', 'Mud Lab', "
                             "'Daily check, rig 7')"));
    q.addBindValue(testId);
    q.addBindValue(name);
    q.addBindValue(mudId);
    ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
    q.prepare(QStringLiteral("INSERT INTO TestResult VALUES (?, ?, ?, 120, ?, ?, ?, 1)"));
    int stepNo = 1;
    for (const Step &s : steps) {
        for (int i = 0; i < pointsPerStep; ++i) {
            const bool last = i == pointsPerStep - 1;
            q.addBindValue(testId);
            q.addBindValue(stepNo);
            q.addBindValue(last ? s.time : s.time * i / pointsPerStep);
            q.addBindValue(s.speed);
            q.addBindValue((last ? s.dial : s.dial * 0.9) * 5.11);
            q.addBindValue(last ? s.gelDyn : 0.0);
            ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
        }
        ++stepNo;
    }
    ASSERT_TRUE(c.commit());
}

} // namespace FannTests
