#pragma once
// Makes the databases the open-test benchmark reads: a lab-sized one (many ordinary tests) and one that
// holds a single test. Files are made once and reused; they are not part of the tests.
#include <QString>

struct BenchTestSpec {
    int testId;
    QString name;
    int points;
};

class BenchDatabase {
public:
    // Ensures `path` exists with `ordinaryTests` tests of `ordinaryPoints` points each, plus the special
    // tests inserted halfway through (so their rows sit between the others, not at the end).
    static bool ensure(const QString &path, int ordinaryTests, int ordinaryPoints, const QList<BenchTestSpec> &special,
                       QString *error);
};
