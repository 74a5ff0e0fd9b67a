#include "store/TestSearch.h"

#include "store/SqlDialect.h"

#include "store/SampleTime.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

namespace {

const QString kWrong = QStringLiteral("Wrong search string.  ");

QString likePattern(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// The SQL operator of an operator box entry.
QString sqlOperator(int op)
{
    return TestSearch::operatorTexts().value(op).trimmed();
}

} // namespace

QStringList TestSearch::columnNames()
{
    return {QStringLiteral("TestId"),     QStringLiteral("TestName"),    QStringLiteral("MudId"),
            QStringLiteral("SampleTime"), QStringLiteral("CompanyName"), QStringLiteral("Desc")};
}

QStringList TestSearch::operatorTexts()
{
    return {QStringLiteral(" > "), QStringLiteral(" >= "), QStringLiteral(" < "),   QStringLiteral(" <= "),
            QStringLiteral(" = "), QStringLiteral(" <> "), QStringLiteral(" Like ")};
}

TestSearch::TestSearch(const QSqlDatabase &db, const QLocale &locale) : db_(db), locale_(locale) {}

bool TestSearch::checkTable(QString *error) const
{
    QSqlQuery q(db_);
    if (q.exec(QStringLiteral("SELECT * FROM RelatedInfo LIMIT 0")))
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

TestSearch::Result TestSearch::run(const std::array<Condition, 3> &conditions) const
{
    Result result;
    auto refuse = [&](const QString &reason) {
        result.ok = false;
        result.error = kWrong + reason;
        return result;
    };

    const SqlDialect dialect = SqlDialect::of(db_);
    QStringList clauses;
    QVariantList values;
    for (size_t k = 0; k < conditions.size(); ++k) {
        const Condition &c = conditions[k];
        const QString value = c.value.trimmed();
        if (value.isEmpty()) {
            if (k == 0)
                break; // without condition 1 the others do not count
            continue;
        }
        if (c.column < 0 || c.column >= columnNames().size() || c.op < 0 || c.op >= operatorTexts().size())
            return refuse(QStringLiteral("Choose a column and an operator from the lists."));
        const QString column = columnNames()[c.column];
        if (c.op == OpLike) {
            // The sample time is searched as it is shown (a blank between date and time).
            const QString field = c.column == SampleTimeColumn ? dialect.sampleTimeText()
                : c.column == TestIdColumn                     ? QStringLiteral("CAST(TestId AS TEXT)")
                                                               : SqlDialect::column(column);
            clauses << dialect.like(field);
            values << likePattern(value);
        } else if (c.column == TestIdColumn) {
            bool isNumber = false;
            const double number = value.toDouble(&isNumber);
            if (!isNumber)
                return refuse(QStringLiteral("\"%1\" is not a number; TestId is compared with a number.").arg(value));
            clauses << dialect.numberCompare(QStringLiteral("TestId"), sqlOperator(c.op));
            values << number;
        } else if (c.column == SampleTimeColumn) {
            const auto time = SampleTime::parse(value, locale_);
            if (!time)
                return refuse(QStringLiteral("\"%1\" is not a date; enter the sample time as yyyy-mm-dd hh:mm "
                                             "or in your usual date format.")
                                  .arg(value));
            clauses << dialect.sampleTimeCompare(sqlOperator(c.op));
            values << SampleTime::toStored(*time);
        } else {
            clauses << dialect.textCompare(column, sqlOperator(c.op));
            values << value;
        }
    }

    QString sql = QStringLiteral("SELECT TestId, TestName, MudId, SampleTime, CompanyName, \"Desc\" FROM RelatedInfo");
    if (!clauses.isEmpty())
        sql += QStringLiteral(" WHERE ") + clauses.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY TestId DESC");

    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        return refuse(q.lastError().text());
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        return refuse(q.lastError().text());
    while (q.next()) {
        QStringList row;
        for (int c = 1; c <= 5; ++c)
            row << (c == SampleTimeColumn ? SampleTime::displayStored(q.value(c)) : q.value(c).toString());
        result.rows << row;
    }
    // A read error also ends next(): part of the list would pass for the whole answer.
    if (q.lastError().isValid()) {
        result.rows.clear();
        return refuse(q.lastError().text());
    }
    if (!result.rows.isEmpty())
        result.header = columnNames().mid(1);
    return result;
}
