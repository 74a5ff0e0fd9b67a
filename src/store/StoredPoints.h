#pragma once
// The data points of a test as rows of TestResult: written with every value bound, read back in the
// order they were stored. Inside the caller's transaction.
#include "store/TestPoint.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <optional>

namespace StoredPoints {

// Appends the points under testId. False with the statement's error at the first point refused.
bool insert(const QSqlDatabase &db, qint64 testId, const TestPoints &points, QSqlError *error = nullptr);

// The test's points in the order they were stored. A read error before the last row sets *error (the
// list is then incomplete).
TestPoints read(const QSqlDatabase &db, qint64 testId, QSqlError *error = nullptr);

// The name of the test with this id; nullopt when there is none (or on a read error, set in *error).
std::optional<QString> testName(const QSqlDatabase &db, qint64 testId, QSqlError *error = nullptr);

} // namespace StoredPoints
