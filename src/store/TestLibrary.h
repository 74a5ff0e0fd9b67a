#pragma once
// The stored tests as the library dialogs see them: the RelatedInfo rows (name, fluid id, sample time,
// company, description) and the deletion of a whole test. Every value is bound, so names may hold quotes
// of either kind. Test names are unique without regard to letter case; the program checks it here.
//
// Several programs may share the database file: a new test's TestId is chosen inside the transaction that
// stores it (so two programs never get the same one) and never one that still has data points; a test that
// a running program is recording cannot be deleted. A list that stops at a read error (a damaged file) is
// not passed off as complete: lastError() then tells what happened.
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

class Prompts;

// A stored test's RelatedInfo row as the library dialogs and the recording code use it.
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
    // The same for the test pickers: a list cut short by a read error is shown as far as it goes, and the
    // user is told that it is incomplete.
    QStringList testNamesForPicker(Prompts &prompts) const;

    // True when a stored name equals `name` after both are converted to upper case.
    bool isNameTaken(const QString &name) const;

    // The TestId a new test would get now: one more than the largest id of any stored test, data point or
    // recording claim (1 for an empty database).
    int nextTestId() const;

    // Number of data points stored for the test.
    qint64 readingCount(int testId) const;

    // The first test with this name (letter case ignored); nullopt when there is none.
    std::optional<RelatedInfoRecord> find(const QString &name) const;
    std::optional<RelatedInfoRecord> findById(int testId) const;

    // Adds a test's RelatedInfo row with the next TestId and returns that id, all in one transaction;
    // nullopt when the name was taken meanwhile (by another program) or on a database error.
    std::optional<int> addTest(const RelatedInfoRecord &record);
    // The same inside the caller's WriteTransaction (nothing is committed here).
    std::optional<int> addTestInTransaction(const RelatedInfoRecord &record);

    // `name` when no stored test has it (and `marked` is false), else the first free one of
    // "<name> (recovered)", "<name> (recovered 2)", ...
    QString freeName(const QString &name, bool marked = false) const;

    // Rewrites name, fluid id, sample time, company and description of the row with this id. False when
    // the row is missing or on a database error.
    bool updateTest(int testId, const RelatedInfoRecord &record);

    // Deletes the first test with this name: its points, then its row, in one transaction.
    enum class DeleteOutcome {
        Deleted,
        NotFound,      // no such test: nothing to delete
        BeingRecorded, // a running program records it (lastError() holds the text for the user)
        Failed         // database error, nothing deleted
    };
    DeleteOutcome deleteTest(const QString &name);

    // The engine's text of the last failure.
    QString lastError() const { return lastError_; }

private:
    std::optional<RelatedInfoRecord> readOne(const QString &where, const QVariant &value) const;
    bool nameTakenIn(const QString &name) const;

    QSqlDatabase db_;
    mutable QString lastError_;
};
