#include "reports/ReportSource.h"

#include "common/ProgramState.h"
#include "results/ResultQuery.h"

#include <QSqlError>
#include <QSqlQuery>

ReportSource ReportSource::of(const ReportedTestInfo &info, ResultTable rows, const DerivedValues &derived, bool si)
{
    ReportSource s;
    s.info = info;
    s.rows = std::move(rows);
    s.derived = derived;
    s.models = RheologyModels::compute(s.rows, s.derived);
    s.si = si;
    return s;
}

std::optional<ReportSource> ReportSource::load(const QSqlDatabase &db, const QString &testName, int unitSystem,
                                               QString *error)
{
    // A state of its own: reading a test for a report changes nothing the windows share.
    ProgramState state;
    state.UnitSystem = unitSystem == UnitsSI ? UnitsSI : UnitsEI;
    ResultQuery query(db, state);
    auto fail = [&](const QString &message) -> std::optional<ReportSource> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    const std::optional<int> id = query.testId(testName);
    const std::optional<ReportedTestInfo> info = id ? ReportedTestInfo::load(db, *id) : std::nullopt;
    if (!info) {
        QSqlQuery check(db);
        if (!check.exec(QStringLiteral("SELECT count(*) FROM RelatedInfo")) || !check.next())
            return fail(QStringLiteral("the tests could not be read (%1)").arg(check.lastError().text().simplified()));
        return fail(QStringLiteral("no test named \"%1\"").arg(testName));
    }
    state.CurrentTestName = info->testName.value_or(testName);
    ResultTable rows = query.dosql();
    // The rows are read without error reports; a count of its own tells a test read only in part.
    QSqlQuery count(db);
    count.prepare(QStringLiteral("SELECT count(*) FROM TestResult WHERE TestId = ?"));
    count.addBindValue(*id);
    if (!count.exec() || !count.next())
        return fail(QStringLiteral("the readings of \"%1\" could not be read (%2)")
                        .arg(testName, count.lastError().text().simplified()));
    if (count.value(0).toLongLong() != qint64(rows.size()))
        return fail(QStringLiteral("only %1 of the %2 readings of \"%3\" could be read")
                        .arg(rows.size())
                        .arg(count.value(0).toLongLong())
                        .arg(testName));
    const DerivedValues derived = DerivedValues::fromResults(rows, state.UnitSystem);
    return of(*info, std::move(rows), derived, state.isSI());
}
