#include "store/DatabaseCopy.h"

#include "store/SampleTime.h"
#include "store/SqlDialect.h"
#include "store/StoreError.h"
#include "store/StoredPoints.h"
#include "store/WriteTransaction.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace DatabaseCopy {

namespace {

class ReadFailure {
public:
    explicit ReadFailure(QString message) : message_(std::move(message)) {}
    const QString &message() const { return message_; }

private:
    QString message_;
};

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw ReadFailure(StoreError::describe(q.lastError()));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw ReadFailure(StoreError::describe(q.lastError()));
    return q;
}

void throwIfCut(const QSqlQuery &q)
{
    if (q.lastError().isValid() && q.lastError().type() != QSqlError::NoError)
        throw ReadFailure(StoreError::describe(q.lastError()));
}

// Every id in use in the given tables' id column.
QSet<qint64> idsIn(const QSqlDatabase &db, const QStringList &tables, const QString &column)
{
    QSet<qint64> ids;
    for (const QString &table : tables) {
        QSqlQuery q = run(db, QStringLiteral("SELECT DISTINCT %1 FROM %2").arg(column, table));
        while (q.next())
            ids.insert(q.value(0).toLongLong());
        throwIfCut(q);
    }
    return ids;
}

QSet<QString> namesIn(const QSqlDatabase &db, const QString &table, const QString &column)
{
    QSet<QString> names;
    QSqlQuery q = run(db, QStringLiteral("SELECT %1 FROM %2").arg(column, table));
    while (q.next())
        names.insert(q.value(0).toString().toUpper());
    throwIfCut(q);
    return names;
}

QString labelOf(bool isTest, const QString &name)
{
    return QStringLiteral("%1 \"%2\"").arg(isTest ? QStringLiteral("test") : QStringLiteral("sequence"), name);
}

// The items of one kind in the source, with their target ids and the clashes they make.
void planKind(const QSqlDatabase &from, const QSqlDatabase &to, bool isTest, Plan *plan)
{
    const QString table = isTest ? QStringLiteral("RelatedInfo") : QStringLiteral("SequenceName");
    const QString idColumn = isTest ? QStringLiteral("TestId") : QStringLiteral("SequenceId");
    const QString nameColumn = isTest ? QStringLiteral("TestName") : QStringLiteral("SequenceName");
    const QString rowsTable = isTest ? QStringLiteral("TestResult") : QStringLiteral("SequenceSetup");

    const QSet<QString> taken = namesIn(to, table, nameColumn);
    QSet<qint64> usedIds = idsIn(
        to, isTest ? QStringList{table, rowsTable, QStringLiteral("RecordingClaim")} : QStringList{table, rowsTable},
        idColumn);

    QHash<qint64, qint64> rowCounts;
    QSqlQuery counts = run(from, QStringLiteral("SELECT %1, count(*) FROM %2 GROUP BY %1").arg(idColumn, rowsTable));
    while (counts.next())
        rowCounts.insert(counts.value(0).toLongLong(), counts.value(1).toLongLong());
    throwIfCut(counts);

    QSet<QString> seen;
    QList<Item> items;
    QSqlQuery q = run(from, QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %1").arg(idColumn, nameColumn, table));
    while (q.next()) {
        Item item;
        item.isTest = isTest;
        item.fromId = q.value(0).toLongLong();
        item.name = q.value(1).toString();
        item.rows = rowCounts.value(item.fromId);
        const QString key = item.name.toUpper();
        if (taken.contains(key))
            plan->clashes << labelOf(isTest, item.name);
        else if (seen.contains(key))
            plan->clashes << labelOf(isTest, item.name) + QStringLiteral(" (twice in the source)");
        seen.insert(key);
        // An id free in the target is kept (ids are unique in the source).
        if (item.fromId > 0 && !usedIds.contains(item.fromId))
            item.toId = item.fromId;
        items << item;
    }
    throwIfCut(q);
    // The others get ids beyond every id in use or kept.
    qint64 nextFree = 1;
    for (const qint64 id : std::as_const(usedIds))
        nextFree = std::max(nextFree, id + 1);
    for (const Item &item : std::as_const(items))
        nextFree = std::max(nextFree, item.toId + 1);
    for (Item &item : items) {
        if (item.toId == 0)
            item.toId = nextFree++;
    }
    plan->items << items;
}

// The sample time as the target stores it; a text that is no date-time stays text in a file, and is left
// empty on a server (whose column holds date-times only).
QVariant sampleTimeFor(const QVariant &stored, const SqlDialect &target, const QString &testName, Plan *plan)
{
    QVariant null{QMetaType(QMetaType::QString)};
    if (stored.isNull() || stored.toString().trimmed().isEmpty())
        return null;
    if (const auto time = SampleTime::fromStored(stored))
        return SampleTime::toStored(*time);
    if (target.isSqlite())
        return stored.toString();
    plan->notes << QStringLiteral("test \"%1\": its sample time \"%2\" is no date-time and is left empty")
                       .arg(testName, stored.toString());
    return null;
}

void insert(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw ReadFailure(StoreError::describe(q.lastError()));
}

void copyTest(const QSqlDatabase &from, const QSqlDatabase &to, const Item &item, Plan *plan)
{
    QSqlQuery row = run(from,
                        QStringLiteral("SELECT TestName, MudId, SampleTime, CompanyName, \"Desc\" FROM RelatedInfo "
                                       "WHERE TestId = ?"),
                        {item.fromId});
    if (!row.next())
        throw ReadFailure(QStringLiteral("the test \"%1\" went from the source during the copy").arg(item.name));
    insert(to,
           QStringLiteral("INSERT INTO RelatedInfo (TestId, TestName, MudId, SampleTime, CompanyName, \"Desc\") "
                          "VALUES (?, ?, ?, ?, ?, ?)"),
           {item.toId, row.value(0), row.value(1), sampleTimeFor(row.value(2), SqlDialect::of(to), item.name, plan),
            row.value(3), row.value(4)});
    QSqlError error;
    const TestPoints points = StoredPoints::read(from, item.fromId, &error);
    if (error.isValid() && error.type() != QSqlError::NoError)
        throw ReadFailure(StoreError::describe(error));
    if (!StoredPoints::insert(to, item.toId, points, &error))
        throw ReadFailure(StoreError::describe(error));
}

void copySequence(const QSqlDatabase &from, const QSqlDatabase &to, const Item &item)
{
    QSqlQuery row = run(from, QStringLiteral("SELECT SequenceName, Rbfactor FROM SequenceName WHERE SequenceId = ?"),
                        {item.fromId});
    if (!row.next())
        throw ReadFailure(QStringLiteral("the sequence \"%1\" went from the source during the copy").arg(item.name));
    insert(to, QStringLiteral("INSERT INTO SequenceName (SequenceId, SequenceName, Rbfactor) VALUES (?, ?, ?)"),
           {item.toId, row.value(0), row.value(1)});
    QSqlQuery steps = run(from,
                          QStringLiteral("SELECT StepNo, Time, Temperature, Speed, RecordRate FROM SequenceSetup "
                                         "WHERE SequenceId = ? ORDER BY StepNo"),
                          {item.fromId});
    while (steps.next())
        insert(to,
               QStringLiteral("INSERT INTO SequenceSetup (SequenceId, StepNo, Time, Temperature, Speed, RecordRate) "
                              "VALUES (?, ?, ?, ?, ?, ?)"),
               {item.toId, steps.value(0), steps.value(1), steps.value(2), steps.value(3), steps.value(4)});
    throwIfCut(steps);
}

} // namespace

qint64 Plan::tests() const
{
    return std::count_if(items.begin(), items.end(), [](const Item &i) { return i.isTest; });
}

qint64 Plan::readings() const
{
    qint64 n = 0;
    for (const Item &i : items)
        n += i.isTest ? i.rows : 0;
    return n;
}

qint64 Plan::sequences() const
{
    return items.size() - tests();
}

bool plan(const QSqlDatabase &from, const QSqlDatabase &to, Plan *out, QString *error)
{
    *out = Plan();
    try {
        planKind(from, to, true, out);
        planKind(from, to, false, out);
    } catch (const ReadFailure &failure) {
        if (error)
            *error = failure.message();
        return false;
    }
    return true;
}

bool copy(const QSqlDatabase &from, const QSqlDatabase &to, Plan *out, QString *error)
{
    WriteTransaction transaction(to);
    if (!transaction.isOpen()) {
        if (error)
            *error = StoreError::describe(transaction.error());
        return false;
    }
    if (!plan(from, to, out, error) || !out->clashes.isEmpty())
        return false;
    try {
        for (const Item &item : out->items) {
            if (item.isTest)
                copyTest(from, to, item, out);
            else
                copySequence(from, to, item);
        }
    } catch (const ReadFailure &failure) {
        transaction.rollback();
        if (error)
            *error = failure.message();
        return false;
    }
    if (!transaction.commit()) {
        if (error)
            *error = StoreError::describe(transaction.error());
        return false;
    }
    return true;
}

QString describe(const Item &item)
{
    const QString rows = item.isTest ? (item.rows == 1 ? QStringLiteral("reading") : QStringLiteral("readings"))
                                     : (item.rows == 1 ? QStringLiteral("step") : QStringLiteral("steps"));
    return QStringLiteral("%1 (id %2 -> %3, %4 %5)")
        .arg(labelOf(item.isTest, item.name))
        .arg(item.fromId)
        .arg(item.toId)
        .arg(item.rows)
        .arg(rows);
}

} // namespace DatabaseCopy
