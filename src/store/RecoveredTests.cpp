#include "store/RecoveredTests.h"

#include "store/StoreError.h"
#include "store/StoredPoints.h"
#include "store/TestLibrary.h"
#include "store/WriteTransaction.h"

#include <QSet>

namespace RecoveredTests {

namespace {

Outcome failed(const QString &error)
{
    Outcome o;
    o.error = error;
    return o;
}

// Inside the open transaction: a new test under a free name with all the points; a marked name says that
// the test is not the one recorded under its own name.
Outcome addAsNew(const QSqlDatabase &db, const RecoveredTest &test, bool marked)
{
    TestLibrary library(db);
    RelatedInfoRecord info = test.info;
    info.testName = library.freeName(test.info.testName, marked);
    if (!library.lastError().isEmpty())
        return failed(library.lastError());
    const std::optional<int> id = library.addTestInTransaction(info);
    if (!id)
        return failed(library.lastError());
    QSqlError error;
    if (!StoredPoints::insert(db, *id, test.points, &error))
        return failed(StoreError::describe(error));
    Outcome o;
    o.kind = Outcome::Kind::StoredAsNew;
    o.testName = info.testName;
    o.added = test.points.size();
    return o;
}

Outcome addToStored(const QSqlDatabase &db, const RecoveredTest &test, const QString &storedName)
{
    QSqlError error;
    const TestPoints stored = StoredPoints::read(db, test.info.testId, &error);
    if (error.isValid() && error.type() != QSqlError::NoError)
        return failed(StoreError::describe(error));
    QSet<QPair<qint64, double>> present;
    for (const TestPoint &p : stored)
        present.insert({p.stepNo, p.time});
    TestPoints missing;
    for (const TestPoint &p : test.points) {
        if (!present.contains({p.stepNo, p.time}))
            missing << p;
    }
    if (!StoredPoints::insert(db, test.info.testId, missing, &error))
        return failed(StoreError::describe(error));
    Outcome o;
    o.kind = Outcome::Kind::AddedToTest;
    o.testName = storedName;
    o.added = missing.size();
    o.alreadyStored = test.points.size() - missing.size();
    return o;
}

Outcome commitOrFail(WriteTransaction &transaction, Outcome outcome)
{
    if (!outcome.ok())
        return outcome;
    if (!transaction.commit())
        return failed(StoreError::describe(transaction.error()));
    return outcome;
}

} // namespace

Outcome restore(const QSqlDatabase &db, const RecoveredTest &test)
{
    WriteTransaction transaction(db);
    if (!transaction.isOpen())
        return failed(StoreError::describe(transaction.error()));
    QSqlError error;
    const std::optional<QString> stored =
        test.info.testId > 0 ? StoredPoints::testName(db, test.info.testId, &error) : std::nullopt;
    if (error.isValid() && error.type() != QSqlError::NoError)
        return failed(StoreError::describe(error));
    if (stored && stored->compare(test.info.testName, Qt::CaseInsensitive) == 0)
        return commitOrFail(transaction, addToStored(db, test, *stored));
    return commitOrFail(transaction, addAsNew(db, test, false));
}

Outcome storeAsNew(const QSqlDatabase &db, const RecoveredTest &test)
{
    WriteTransaction transaction(db);
    if (!transaction.isOpen())
        return failed(StoreError::describe(transaction.error()));
    return commitOrFail(transaction, addAsNew(db, test, true));
}

QString importedText(const Outcome &o)
{
    switch (o.kind) {
    case Outcome::Kind::AddedToTest:
        return o.alreadyStored == 0
            ? QStringLiteral("%1 readings were added to the test %2.").arg(o.added).arg(o.testName)
            : QStringLiteral("%1 readings were added to the test %2; %3 were stored in it already.")
                  .arg(o.added)
                  .arg(o.testName)
                  .arg(o.alreadyStored);
    case Outcome::Kind::StoredAsNew:
        return QStringLiteral("The %1 readings were stored as the test %2.").arg(o.added).arg(o.testName);
    case Outcome::Kind::Failed: break;
    }
    return QStringLiteral("The readings could not be stored: %1").arg(o.error);
}

} // namespace RecoveredTests
