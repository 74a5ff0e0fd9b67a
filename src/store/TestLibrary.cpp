#include "store/TestLibrary.h"

#include "platform/Prompts.h"
#include "store/RecordingClaims.h"
#include "store/SampleTime.h"
#include "store/SqlDialect.h"
#include "store/StoreError.h"
#include "store/WriteTransaction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace {

QVariant storedSampleTime(const QDateTime &time)
{
    return time.isValid() ? QVariant(SampleTime::toStored(time)) : QVariant(QMetaType(QMetaType::QString));
}

// After the last row: a read error on the way (a damaged page) ends next() early; the rows read so far
// are then not the whole answer.
QString readError(const QSqlQuery &q)
{
    const QSqlError e = q.lastError();
    return e.isValid() && e.type() != QSqlError::NoError ? StoreError::describe(e) : QString();
}

} // namespace

TestLibrary::TestLibrary(const QSqlDatabase &db) : db_(db) {}

QStringList TestLibrary::testNamesNewestFirst() const
{
    lastError_.clear();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    QStringList names;
    if (!q.exec(QStringLiteral("SELECT TestName FROM RelatedInfo ORDER BY TestId DESC"))) {
        lastError_ = q.lastError().text();
        return names;
    }
    while (q.next())
        names << q.value(0).toString();
    lastError_ = readError(q);
    return names;
}

QStringList TestLibrary::testNamesForPicker(Prompts &prompts) const
{
    QStringList names = testNamesNewestFirst();
    if (!lastError_.isEmpty())
        prompts.message(QStringLiteral("The list of saved tests could not be read completely: %1.\n\nThe tests that "
                                       "could be read are listed. \"Check Database\" in the File menu checks the "
                                       "database file.")
                            .arg(lastError_),
                        QStringLiteral("Database Error"), MsgButtons::Ok, MsgIcon::Critical);
    return names;
}

bool TestLibrary::isNameTaken(const QString &name) const
{
    lastError_.clear();
    return nameTakenIn(name);
}

bool TestLibrary::nameTakenIn(const QString &name) const
{
    const QString wanted = name.toUpper();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT TestName FROM RelatedInfo"))) {
        lastError_ = q.lastError().text();
        return false;
    }
    while (q.next()) {
        if (q.value(0).toString().toUpper() == wanted)
            return true;
    }
    lastError_ = readError(q);
    return false;
}

int TestLibrary::nextTestId() const
{
    lastError_.clear();
    QSqlQuery q(db_);
    // Points left without their row (a program that went on recording a deleted test) keep their id from
    // being given to a new test, which would otherwise show them as its own.
    if (!q.exec(QStringLiteral("SELECT max(m) FROM (SELECT max(TestId) AS m FROM RelatedInfo "
                               "UNION ALL SELECT max(TestId) FROM TestResult) AS ids"))
        || !q.next()) {
        lastError_ = q.lastError().text();
        return 1;
    }
    const qint64 largest = std::max(q.value(0).toLongLong(), RecordingClaims::largestClaimed(db_));
    return int(largest + 1);
}

qint64 TestLibrary::readingCount(int testId) const
{
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT count(*) FROM TestResult WHERE TestId = ?"));
    q.addBindValue(testId);
    if (!q.exec() || !q.next()) {
        lastError_ = q.lastError().text();
        return 0;
    }
    return q.value(0).toLongLong();
}

std::optional<RelatedInfoRecord> TestLibrary::readOne(const QString &where, const QVariant &value) const
{
    lastError_.clear();
    QSqlQuery q(db_);
    q.prepare(
        QStringLiteral("SELECT TestId, TestName, MudId, SampleTime, CompanyName, \"Desc\" FROM RelatedInfo WHERE ")
        + where + QStringLiteral(" ORDER BY TestId LIMIT 1"));
    q.addBindValue(value);
    if (!q.exec()) {
        lastError_ = q.lastError().text();
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    RelatedInfoRecord r;
    r.testId = q.value(0).toInt();
    r.testName = q.value(1).toString();
    r.mudId = q.value(2).toString();
    r.sampleTime = SampleTime::fromStored(q.value(3)).value_or(QDateTime());
    r.sampleTimeText = SampleTime::displayStored(q.value(3));
    r.companyName = q.value(4).toString();
    r.desc = q.value(5).toString();
    return r;
}

std::optional<RelatedInfoRecord> TestLibrary::find(const QString &name) const
{
    return readOne(SqlDialect::of(db_).nameEquals(QStringLiteral("TestName")), name);
}

std::optional<RelatedInfoRecord> TestLibrary::findById(int testId) const
{
    return readOne(QStringLiteral("TestId = ?"), testId);
}

std::optional<int> TestLibrary::addTest(const RelatedInfoRecord &record)
{
    lastError_.clear();
    WriteTransaction transaction(db_);
    if (!transaction.isOpen()) {
        lastError_ = StoreError::describe(transaction.error());
        return std::nullopt;
    }
    const std::optional<int> id = addTestInTransaction(record);
    if (!id)
        return std::nullopt;
    if (!transaction.commit()) {
        lastError_ = StoreError::describe(transaction.error());
        return std::nullopt;
    }
    return id;
}

std::optional<int> TestLibrary::addTestInTransaction(const RelatedInfoRecord &record)
{
    lastError_.clear();
    if (nameTakenIn(record.testName)) {
        if (lastError_.isEmpty())
            lastError_ = QStringLiteral("a test named %1 was stored meanwhile").arg(record.testName);
        return std::nullopt;
    }
    const int id = nextTestId();
    if (!lastError_.isEmpty())
        return std::nullopt;
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("INSERT INTO RelatedInfo (TestId, TestName, MudId, SampleTime, CompanyName, \"Desc\") "
                             "VALUES (?, ?, ?, ?, ?, ?)"));
    q.addBindValue(id);
    q.addBindValue(record.testName);
    q.addBindValue(record.mudId);
    q.addBindValue(storedSampleTime(record.sampleTime));
    q.addBindValue(record.companyName);
    q.addBindValue(record.desc);
    if (!q.exec()) {
        lastError_ = StoreError::describe(q.lastError());
        return std::nullopt;
    }
    return id;
}

QString TestLibrary::freeName(const QString &name, bool marked) const
{
    if (!marked && !isNameTaken(name))
        return name;
    for (int n = 1;; ++n) {
        QString candidate =
            n == 1 ? QStringLiteral("%1 (recovered)").arg(name) : QStringLiteral("%1 (recovered %2)").arg(name).arg(n);
        if (!isNameTaken(candidate) || !lastError_.isEmpty())
            return candidate;
    }
}

bool TestLibrary::updateTest(int testId, const RelatedInfoRecord &record)
{
    lastError_.clear();
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("UPDATE RelatedInfo SET TestName = ?, MudId = ?, SampleTime = ?, CompanyName = ?, "
                             "\"Desc\" = ? WHERE TestId = ?"));
    q.addBindValue(record.testName);
    q.addBindValue(record.mudId);
    q.addBindValue(storedSampleTime(record.sampleTime));
    q.addBindValue(record.companyName);
    q.addBindValue(record.desc);
    q.addBindValue(testId);
    if (!q.exec()) {
        lastError_ = q.lastError().text();
        return false;
    }
    return q.numRowsAffected() > 0;
}

TestLibrary::DeleteOutcome TestLibrary::deleteTest(const QString &name)
{
    lastError_.clear();
    WriteTransaction transaction(db_);
    if (!transaction.isOpen()) {
        lastError_ = StoreError::describe(transaction.error());
        return DeleteOutcome::Failed;
    }
    const std::optional<RelatedInfoRecord> test = find(name);
    if (!test)
        return lastError_.isEmpty() ? DeleteOutcome::NotFound : DeleteOutcome::Failed;
    QSqlError error;
    if (RecordingClaims::liveOwner(db_, test->testId, RecordingClaims::now(), &error)) {
        lastError_ = RecordingClaims::beingRecordedText(test->testName);
        return DeleteOutcome::BeingRecorded;
    }
    if (error.isValid() && error.type() != QSqlError::NoError) {
        lastError_ = StoreError::describe(error);
        return DeleteOutcome::Failed;
    }
    QSqlQuery q(db_);
    // The points first, then the row, as one change: an interrupted delete leaves the whole test. A stale
    // claim of a program that ended without releasing it goes with the test.
    for (const char *statement : {"DELETE FROM TestResult WHERE TestId = ?", "DELETE FROM RelatedInfo WHERE TestId = ?",
                                  "DELETE FROM RecordingClaim WHERE TestId = ?"}) {
        q.prepare(QString::fromLatin1(statement));
        q.addBindValue(test->testId);
        if (!q.exec()) {
            lastError_ = StoreError::describe(q.lastError());
            return DeleteOutcome::Failed;
        }
    }
    q.finish();
    if (!transaction.commit()) {
        lastError_ = StoreError::describe(transaction.error());
        return DeleteOutcome::Failed;
    }
    return DeleteOutcome::Deleted;
}
