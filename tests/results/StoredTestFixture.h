#pragma once
// A scratch K7100.db holding hand-made stored tests, for the result-statement and grid tests.
#include "results/ResultQuery.h"
#include "store/Database.h"
#include "tests/support/TempDir.h"

#include <QString>
#include <vector>

class StoredTestFixture {
public:
    StoredTestFixture();

    QSqlDatabase db() const { return database_.connection(); }
    Database &database() { return database_; }

    // Adds a RelatedInfo row and its points (written in the order given) in one transaction.
    void addTest(int testId, const QString &name, const std::vector<StoredPoint> &points);

private:
    TempDir dir_;
    Database database_;
};

// A point with the given step, time, speed and stress; temperature 100 degF, gel 0.
StoredPoint point(double step, double time, double speed, double stress, double rbfactor = 1, double temperature = 100,
                  double gel = 0);
