#pragma once
// The stored tests as the library dialogs see them: the RelatedInfo rows (name, fluid id, sample time,
// company, description) and the deletion of a whole test. Every value is bound, so names may hold quotes
// of either kind. Test names are unique without regard to letter case; the program checks it here.
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

struct RelatedInfoRecord {
    int testId = 0;
    QString testName;
    QString mudId;
    QDateTime sampleTime;   // invalid: none (stored as null)
    QString sampleTimeText; // as read: the display form, or a stored text that is no date-time
    QString companyName;
    QString desc;
};

class TestLibrary {
public:
    explicit TestLibrary(const QSqlDatabase &db);

    // Test names, newest (largest TestId) first; a null name reads as "".
    QStringList testNamesNewestFirst() const;

    // True when a stored name equals `name` after both are converted to upper case.
    bool isNameTaken(const QString &name) const;

    // The TestId a new test gets: the largest stored one + 1 (1 for an empty table).
    int nextTestId() const;

    // The first test with this name (letter case ignored); nullopt when there is none.
    std::optional<RelatedInfoRecord> find(const QString &name) const;
    std::optional<RelatedInfoRecord> findById(int testId) const;

    // Adds a test's RelatedInfo row with the next TestId and returns that id; nullopt on a database error.
    std::optional<int> addTest(const RelatedInfoRecord &record);

    // Rewrites name, fluid id, sample time, company and description of the row with this id. False when
    // the row is missing or on a database error.
    bool updateTest(int testId, const RelatedInfoRecord &record);

    // Deletes the first test with this name: its points, then its row, in one transaction. True also when
    // there is no such test (nothing to delete); false on a database error (nothing is deleted).
    bool deleteTest(const QString &name);

    // The engine's text of the last failure.
    QString lastError() const { return lastError_; }

private:
    std::optional<RelatedInfoRecord> readOne(const QString &where, const QVariant &value) const;

    QSqlDatabase db_;
    mutable QString lastError_;
};
