#pragma once
// Puts data points that could not be stored at the time back into the database, in one transaction:
// from a recovery file ("Import Recovered Test..."), or when a recording finds that its test was deleted
// meanwhile (its points are kept under a new name instead of being left without a test).
#include "store/RecoveryFile.h"

#include <QSqlDatabase>
#include <QString>

namespace RecoveredTests {

struct Outcome {
    enum class Kind {
        AddedToTest, // into the stored test the points came from
        StoredAsNew, // as a new test
        Failed
    };
    Kind kind = Kind::Failed;
    QString testName; // where the points are now
    qsizetype added = 0;
    qsizetype alreadyStored = 0; // points the test held already (a file imported twice)
    QString error;               // plain words and the engine's text, when Failed

    bool ok() const { return kind != Kind::Failed; }
};

// The points go back into the test they came from while it is stored (same TestId and name); points it
// holds already (same step and time) are skipped, so importing a file twice adds nothing. Otherwise a new
// test is made under the file's name, or "<name> (recovered)" when that name is taken.
Outcome restore(const QSqlDatabase &db, const RecoveredTest &test);

// A new test named "<name> (recovered)" (or "(recovered 2)" ... when taken), with the points.
Outcome storeAsNew(const QSqlDatabase &db, const RecoveredTest &test);

// What the operator is told after an import.
QString importedText(const Outcome &outcome);

} // namespace RecoveredTests
