#include "store/SchemaCheck.h"

#include <QSqlField>
#include <QSqlRecord>

namespace SchemaCheck {

QList<Table> required()
{
    return {
        {QStringLiteral("RelatedInfo"),
         {QStringLiteral("TestId"), QStringLiteral("TestName"), QStringLiteral("MudId"), QStringLiteral("SampleTime"),
          QStringLiteral("CompanyName"), QStringLiteral("Desc")}},
        {QStringLiteral("TestResult"),
         {QStringLiteral("TestId"), QStringLiteral("StepNo"), QStringLiteral("Time"), QStringLiteral("Temperature"),
          QStringLiteral("Speed"), QStringLiteral("Shearstress"), QStringLiteral("Gel"), QStringLiteral("Rbfactor")}},
        {QStringLiteral("SequenceName"),
         {QStringLiteral("SequenceId"), QStringLiteral("SequenceName"), QStringLiteral("Rbfactor")}},
        {QStringLiteral("SequenceSetup"),
         {QStringLiteral("SequenceId"), QStringLiteral("StepNo"), QStringLiteral("Time"), QStringLiteral("Temperature"),
          QStringLiteral("Speed"), QStringLiteral("RecordRate")}},
    };
}

namespace {

QString storedName(const QStringList &tables, const QString &wanted)
{
    for (const QString &t : tables) {
        if (t.compare(wanted, Qt::CaseInsensitive) == 0)
            return t;
    }
    return {};
}

bool hasColumn(const QSqlRecord &record, const QString &wanted)
{
    for (int i = 0; i < record.count(); ++i) {
        if (record.fieldName(i).compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

QStringList missing(const QSqlDatabase &db)
{
    const QStringList tables = db.tables(QSql::Tables);
    QStringList out;
    for (const Table &t : required()) {
        const QString name = storedName(tables, t.name);
        if (name.isEmpty()) {
            out << QStringLiteral("table %1").arg(t.name);
            continue;
        }
        const QSqlRecord record = db.record(name);
        for (const QString &c : t.columns) {
            if (!hasColumn(record, c))
                out << QStringLiteral("column %1 of table %2").arg(c, t.name);
        }
    }
    return out;
}

bool isEmpty(const QSqlDatabase &db)
{
    return db.tables(QSql::Tables).isEmpty() && db.tables(QSql::Views).isEmpty();
}

} // namespace SchemaCheck
