#pragma once
// The sequences and their steps in the database (tables SequenceName and SequenceSetup). Every statement
// binds its values, so names with quotes of either kind are stored as typed. Changes that touch several
// rows (renumbering plus insert, a copy, a deletion) run in one transaction: they happen completely or not
// at all. A failing statement throws SequenceStoreError with the engine's message.
#include "sequence/SequenceStep.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <stdexcept>

struct SequenceEntry {
    int id = 0;
    QString name;
    int rotorBob = 1; // stored Rbfactor code
};

class SequenceStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SequenceLibrary {
public:
    explicit SequenceLibrary(const QSqlDatabase &db) : db_(db) {}

    // All sequences in SequenceId order (the order of the setup screen's list).
    QList<SequenceEntry> sequences() const;
    // The first sequence whose name equals `name` exactly (a trailing blank makes another name).
    std::optional<SequenceEntry> byName(const QString &name) const;
    // True when a stored name equals `name` without regard to letter case.
    bool nameTaken(const QString &name) const;
    // One above the id of the last sequence in id order; 1 for an empty library.
    int nextSequenceId() const;

    // New sequence with the default first step (600 s, 100 °F, 100 rpm, every 10 s); returns its id.
    int create(const QString &name, int rotorBob);
    // New sequence with the given steps (numbered as given); returns its id.
    int create(const QString &name, int rotorBob, const QList<SequenceStep> &steps);
    static SequenceStep defaultFirstStep() { return {1, 600, 100, 100, 10}; }

    // Copy of a sequence's steps under a new name; with `temperature` every step gets that target (°F).
    int copy(int sourceId, const QString &name, int rotorBob, std::optional<double> temperature);

    // Removes the sequence's steps, then its row.
    void remove(int sequenceId);

    QList<SequenceStep> steps(int sequenceId) const;
    int stepCount(int sequenceId) const;

    void updateStep(int sequenceId, int stepNo, const StepValues &values);
    // Moves steps numbered `position` and up by one and stores the new step as `position`.
    void insertStep(int sequenceId, int position, const StepValues &values);
    // Copies steps first..last (as stored before anything moves) to `position`, all with `temperature`.
    void pasteSteps(int sequenceId, int first, int last, int position, double temperature);
    // Removes steps first..last and closes the gap.
    void deleteSteps(int sequenceId, int first, int last);

private:
    class Transaction;
    void insertRow(int sequenceId, const SequenceStep &step);
    void shiftSteps(int sequenceId, int fromStep, int by);
    QSqlDatabase db_;
};
