#include "store/TestLibrary.h"

#include "store/SampleTime.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QVariant storedSampleTime(const QDateTime &time)
{
    return time.isValid() ? QVariant(SampleTime::toStored(time)) : QVariant(QMetaType(QMetaType::QString));
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
    return names;
}

bool TestLibrary::isNameTaken(const QString &name) const
{
    lastError_.clear();
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
    return false;
}

int TestLibrary::nextTestId() const
{
    lastError_.clear();
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("SELECT max(TestId) FROM RelatedInfo")) || !q.next()) {
        lastError_ = q.lastError().text();
        return 1;
    }
    return q.value(0).toInt() + 1;
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
    return readOne(QStringLiteral("TestName = ?"), name);
}

std::optional<RelatedInfoRecord> TestLibrary::findById(int testId) const
{
    return readOne(QStringLiteral("TestId = ?"), testId);
}

std::optional<int> TestLibrary::addTest(const RelatedInfoRecord &record)
{
    const int id = nextTestId();
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
        lastError_ = q.lastError().text();
        return std::nullopt;
    }
    return id;
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

bool TestLibrary::deleteTest(const QString &name)
{
    const std::optional<RelatedInfoRecord> test = find(name);
    if (!test)
        return lastError_.isEmpty(); // no such test: nothing to delete
    if (!db_.transaction()) {
        lastError_ = db_.lastError().text();
        return false;
    }
    QSqlQuery q(db_);
    // The points first, then the row, as one change: an interrupted delete leaves the whole test.
    for (const char *statement :
         {"DELETE FROM TestResult WHERE TestId = ?", "DELETE FROM RelatedInfo WHERE TestId = ?"}) {
        q.prepare(QString::fromLatin1(statement));
        q.addBindValue(test->testId);
        if (!q.exec()) {
            lastError_ = q.lastError().text();
            db_.rollback();
            return false;
        }
    }
    if (!db_.commit()) {
        lastError_ = db_.lastError().text();
        db_.rollback();
        return false;
    }
    return true;
}
