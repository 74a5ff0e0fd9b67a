#include "reports/ReportedTestInfo.h"

#include "store/SampleTime.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

std::optional<QString> textOf(const QVariant &v)
{
    if (v.isNull())
        return std::nullopt;
    return v.toString();
}

} // namespace

std::optional<ReportedTestInfo> ReportedTestInfo::load(const QSqlDatabase &db, int testId)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT TestId, TestName, MudId, SampleTime, CompanyName, \"Desc\" FROM RelatedInfo WHERE TestId = ?"));
    q.addBindValue(testId);
    if (!q.exec() || !q.next())
        return std::nullopt;
    ReportedTestInfo r;
    r.testId = q.value(0).toInt();
    r.testName = textOf(q.value(1));
    r.mudId = textOf(q.value(2));
    // Printed as the dialogs show it ("2024-05-06 07:08:09"), not in its stored form.
    if (!q.value(3).isNull())
        r.sampleTime = SampleTime::displayStored(q.value(3));
    r.companyName = textOf(q.value(4));
    r.desc = textOf(q.value(5));
    return r;
}
