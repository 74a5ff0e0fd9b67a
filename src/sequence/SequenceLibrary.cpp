#include "sequence/SequenceLibrary.h"

#include "store/SqlDialect.h"
#include "store/WriteTransaction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q(db);
    if (!q.prepare(sql))
        throw SequenceStoreError(q.lastError().text().toStdString());
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw SequenceStoreError(q.lastError().text().toStdString());
    return q;
}

// After the last row: a read error (a damaged page) also ends next(); the rows so far are not the list.
void throwIfCut(const QSqlQuery &q)
{
    if (q.lastError().isValid())
        throw SequenceStoreError(q.lastError().text().toStdString());
}

SequenceEntry entryOf(const QSqlQuery &q)
{
    return {q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt()};
}

} // namespace

// Commits on commit(), rolls back when left early (a statement threw). It holds the write lock from the
// start, so that the next SequenceId read inside it is still free when the row goes in.
class SequenceLibrary::Transaction {
public:
    explicit Transaction(QSqlDatabase &db) : transaction_(db)
    {
        if (!transaction_.isOpen())
            throw SequenceStoreError(transaction_.error().text().toStdString());
    }
    void commit()
    {
        if (!transaction_.commit())
            throw SequenceStoreError(transaction_.error().text().toStdString());
    }

private:
    WriteTransaction transaction_;
};

QList<SequenceEntry> SequenceLibrary::sequences() const
{
    QSqlQuery q = run(db_,
                      QStringLiteral("SELECT SequenceId, SequenceName, Rbfactor FROM SequenceName "
                                     "ORDER BY SequenceId"));
    QList<SequenceEntry> out;
    while (q.next())
        out << entryOf(q);
    throwIfCut(q);
    return out;
}

std::optional<SequenceEntry> SequenceLibrary::byName(const QString &name) const
{
    // Exact comparison: the column's own collation ignores case, the list shows names as stored.
    QSqlQuery q = run(db_,
                      QStringLiteral("SELECT SequenceId, SequenceName, Rbfactor FROM SequenceName "
                                     "WHERE ")
                          + SqlDialect::of(db_).exactlyEquals(QStringLiteral("SequenceName"))
                          + QStringLiteral(" ORDER BY SequenceId LIMIT 1"),
                      {name});
    if (q.next())
        return entryOf(q);
    return std::nullopt;
}

bool SequenceLibrary::nameTaken(const QString &name) const
{
    // Compared here rather than in SQL so that letters beyond ASCII fold too.
    for (const SequenceEntry &e : sequences())
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

int SequenceLibrary::nextSequenceId() const
{
    QSqlQuery q = run(db_, QStringLiteral("SELECT SequenceId FROM SequenceName ORDER BY SequenceId DESC LIMIT 1"));
    return q.next() ? q.value(0).toInt() + 1 : 1;
}

void SequenceLibrary::insertRow(int sequenceId, const SequenceStep &s)
{
    run(db_,
        QStringLiteral("INSERT INTO SequenceSetup (SequenceId, StepNo, Time, Temperature, Speed, RecordRate) "
                       "VALUES (?, ?, ?, ?, ?, ?)"),
        {sequenceId, s.stepNo, s.time, s.temperature, s.speed, s.recordRate});
}

void SequenceLibrary::shiftSteps(int sequenceId, int fromStep, int by)
{
    run(db_, QStringLiteral("UPDATE SequenceSetup SET StepNo = StepNo + ? WHERE SequenceId = ? AND StepNo >= ?"),
        {by, sequenceId, fromStep});
}

int SequenceLibrary::create(const QString &name, int rotorBob)
{
    return create(name, rotorBob, {defaultFirstStep()});
}

int SequenceLibrary::create(const QString &name, int rotorBob, const QList<SequenceStep> &steps)
{
    Transaction t(db_);
    const int id = nextSequenceId();
    run(db_, QStringLiteral("INSERT INTO SequenceName (SequenceId, SequenceName, Rbfactor) VALUES (?, ?, ?)"),
        {id, name, rotorBob});
    for (const SequenceStep &s : steps)
        insertRow(id, s);
    t.commit();
    return id;
}

int SequenceLibrary::copy(int sourceId, const QString &name, int rotorBob, std::optional<double> temperature)
{
    // The stored (Fahrenheit) values are copied, so a copy made on a Celsius screen does not drift.
    const QList<SequenceStep> source = steps(sourceId);
    Transaction t(db_);
    const int id = nextSequenceId();
    run(db_, QStringLiteral("INSERT INTO SequenceName (SequenceId, SequenceName, Rbfactor) VALUES (?, ?, ?)"),
        {id, name, rotorBob});
    for (SequenceStep s : source) {
        if (temperature)
            s.temperature = *temperature;
        insertRow(id, s);
    }
    t.commit();
    return id;
}

void SequenceLibrary::remove(int sequenceId)
{
    Transaction t(db_);
    run(db_, QStringLiteral("DELETE FROM SequenceSetup WHERE SequenceId = ?"), {sequenceId});
    run(db_, QStringLiteral("DELETE FROM SequenceName WHERE SequenceId = ?"), {sequenceId});
    t.commit();
}

QList<SequenceStep> SequenceLibrary::steps(int sequenceId) const
{
    QSqlQuery q = run(db_,
                      QStringLiteral("SELECT StepNo, Time, Temperature, Speed, RecordRate FROM SequenceSetup "
                                     "WHERE SequenceId = ? ORDER BY StepNo"),
                      {sequenceId});
    QList<SequenceStep> out;
    while (q.next())
        out << SequenceStep{q.value(0).toInt(), q.value(1).toDouble(), q.value(2).toDouble(), q.value(3).toDouble(),
                            q.value(4).toDouble()};
    throwIfCut(q);
    return out;
}

int SequenceLibrary::stepCount(int sequenceId) const
{
    QSqlQuery q = run(db_, QStringLiteral("SELECT count(*) FROM SequenceSetup WHERE SequenceId = ?"), {sequenceId});
    return q.next() ? q.value(0).toInt() : 0;
}

void SequenceLibrary::updateStep(int sequenceId, int stepNo, const StepValues &v)
{
    run(db_,
        QStringLiteral("UPDATE SequenceSetup SET Temperature = ?, Speed = ?, Time = ?, RecordRate = ? "
                       "WHERE SequenceId = ? AND StepNo = ?"),
        {v.temperature, v.speed, v.time, v.recordRate, sequenceId, stepNo});
}

void SequenceLibrary::insertStep(int sequenceId, int position, const StepValues &v)
{
    Transaction t(db_);
    shiftSteps(sequenceId, position, 1);
    insertRow(sequenceId, {position, v.time, v.temperature, v.speed, v.recordRate});
    t.commit();
}

void SequenceLibrary::pasteSteps(int sequenceId, int first, int last, int position, double temperature)
{
    // Taken before the renumbering, so a target inside the source range still copies the original steps.
    QList<SequenceStep> copied;
    for (const SequenceStep &s : steps(sequenceId))
        if (s.stepNo >= first && s.stepNo <= last)
            copied << s;
    Transaction t(db_);
    shiftSteps(sequenceId, position, int(copied.size()));
    int stepNo = position;
    for (SequenceStep s : copied) {
        s.stepNo = stepNo++;
        s.temperature = temperature;
        insertRow(sequenceId, s);
    }
    t.commit();
}

void SequenceLibrary::deleteSteps(int sequenceId, int first, int last)
{
    Transaction t(db_);
    run(db_, QStringLiteral("DELETE FROM SequenceSetup WHERE SequenceId = ? AND StepNo >= ? AND StepNo <= ?"),
        {sequenceId, first, last});
    run(db_, QStringLiteral("UPDATE SequenceSetup SET StepNo = StepNo - ? WHERE SequenceId = ? AND StepNo > ?"),
        {last - first + 1, sequenceId, last});
    t.commit();
}
