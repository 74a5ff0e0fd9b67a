#include "realtime/SequenceSteps.h"

#include "store/SqlDialect.h"

#include "common/NumberText.h"
#include "common/RecordRate.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <charconv>

namespace {

double shortestSingleValue(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return QByteArray(text, int(result.ptr - text)).toDouble();
}

} // namespace

bool SequenceSteps::load(const QSqlDatabase &db, const QString &sequenceName, bool si, float rateFactor,
                         QList<SequenceStepRow> *rows, QString *error)
{
    rows->clear();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT StepNo, Time, Temperature, Speed, RecordRate FROM SequenceSetup "
                             "WHERE SequenceId = (SELECT SequenceId FROM SequenceName WHERE ")
              + SqlDialect::of(db).nameEquals(QStringLiteral("SequenceName"))
              + QStringLiteral(" "
                               "ORDER BY SequenceId LIMIT 1) ORDER BY StepNo"));
    q.addBindValue(sequenceName);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    const double factor = shortestSingleValue(rateFactor);
    while (q.next()) {
        SequenceStepRow r;
        r.stepNo = q.value(0).toLongLong();
        r.time = q.value(1).toDouble();
        const double f = q.value(2).toDouble();
        r.temperature = si ? (f - 32) * 5.0 / 9.0 : f;
        r.speed = q.value(3).toDouble();
        r.shearRate = r.speed / RpmPerReciprocalSecond * factor;
        r.recordRate = RecordRate::seconds(q.value(4).toDouble());
        rows->append(r);
    }
    // A read error also ends next(): part of a sequence is not the sequence.
    if (q.lastError().isValid()) {
        if (error)
            *error = q.lastError().text();
        rows->clear();
        return false;
    }
    return true;
}

RecordRates SequenceSteps::recordRates(const QList<SequenceStepRow> &rows)
{
    RecordRates rates;
    for (int n = 0; n < rows.size(); ++n)
        rates.set(n + 1, rows[n].recordRate);
    return rates;
}

QStringList SequenceSteps::gridHeader(bool si)
{
    return {QStringLiteral("Step No"),
            QStringLiteral("Elaps Time\n(S)"),
            si ? QStringLiteral("Temp\n(C°)") : QStringLiteral("Temp\n(F°)"),
            QStringLiteral("Speed \n(Rpm)"),
            QStringLiteral("Shear Rate\n (1/S)"),
            QStringLiteral("Record Rate\n(Sec/Datum)")};
}

QStringList SequenceSteps::gridCells(const SequenceStepRow &row)
{
    using NumberText::Format;
    using NumberText::Text;
    return {Text(double(row.stepNo)),
            Text(row.time),
            Format(row.temperature, QStringLiteral("###.0")),
            Format(row.speed, QStringLiteral("###0.00")),
            Format(row.shearRate, QStringLiteral("###0.00")),
            Text(double(row.recordRate))};
}
