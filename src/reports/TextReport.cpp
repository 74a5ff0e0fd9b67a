#include "reports/TextReport.h"

#include "common/NumberText.h"
#include "platform/WorkProgress.h"
#include "reports/ReportValues.h"
#include "reports/ReportedTestInfo.h"
#include "reports/TotalTime.h"
#include "reports/Windows1252.h"

#include <QString>
#include <QStringList>

namespace {

const QString kEol = QStringLiteral("\r\n");

// A related value that is null or empty reads "Null", as the lab's earlier reports printed it.
QString relatedText(const std::optional<QString> &value)
{
    return value && !value->isEmpty() ? *value : QStringLiteral("Null");
}

QString headingLine(bool si)
{
    const QStringList fields{
        QStringLiteral("Step No"),
        QStringLiteral("Elaps time (sec)"),
        si ? QStringLiteral("Temperature (°C)") : QStringLiteral("Temperature (°F)"),
        QStringLiteral("Shear Rate (1/s)"),
        QStringLiteral("speed (rpm)"),
        si ? QStringLiteral("Shear Stress (dyn/cm2)") : QStringLiteral("Shear Stress (lb/100ft2)"),
        QStringLiteral("viscosity (cp)"),
        si ? QStringLiteral("Gel (dyn/cm2)") : QStringLiteral("Gel (lb/100ft2)"),
        QStringLiteral("RB factor"),
        QStringLiteral("Fann® 35 F1 Reading (deg)"),
        QStringLiteral("Fann® 35 F1 Gel Dial Read (deg)"),
    };
    return fields.join(QLatin1Char(','));
}

} // namespace

QByteArray TextReport::build(const ReportedTestInfo &info, const ResultTable &rows, bool si, WorkProgress *progress)
{
    QString head;
    head += QStringLiteral("Test Report of K7100DAQ.") + kEol;
    head += kEol;
    head += QStringLiteral("Test Name:,") + relatedText(info.testName) + kEol;
    head += QStringLiteral("Fluid ID:     ,") + relatedText(info.mudId) + kEol;
    head += QStringLiteral("Sample Time:  ,") + relatedText(info.sampleTime) + kEol;
    head += QStringLiteral("Company:,") + relatedText(info.companyName) + kEol;
    head += QStringLiteral("Description:   ,") + relatedText(info.desc) + kEol;
    head += kEol;
    head += kEol;
    head += QStringLiteral("Results") + kEol;
    head += headingLine(si) + kEol;

    QByteArray out = Windows1252::encode(head);
    out.reserve(out.size() + static_cast<qsizetype>(rows.size()) * 80);

    using NumberText::Format;
    if (progress)
        progress->beginPart(static_cast<qint64>(rows.size()));
    TotalTime elapsed;
    QString line;
    qint64 done = 0;
    for (const ResultRow &f : rows) {
        if (progress && progress->checkpoint(done++))
            return out;
        line.clear();
        line += Format(f[ResultRow::Step], QStringLiteral("##0")) + QLatin1Char(',');
        line +=
            Format(elapsed.next(f[ResultRow::Step], f[ResultRow::Time]), QStringLiteral("###0.#")) + QLatin1Char(',');
        line += Format(f[ResultRow::Temperature], QStringLiteral("##0.#")) + QLatin1Char(',');
        line += Format(f[ResultRow::ShearRate], QStringLiteral("###0.##")) + QLatin1Char(',');
        line += Format(f[ResultRow::Speed], QStringLiteral("###0.##")) + QLatin1Char(',');
        line += Format(f[ResultRow::ShearStress], QStringLiteral("##0.###")) + QLatin1Char(',');
        line += Format(f[ResultRow::Viscosity], QStringLiteral("####0.00#")) + QLatin1Char(',');
        line += Format(f[ResultRow::Gel], QStringLiteral("##0.###")) + QLatin1Char(',');
        line += Format(f[ResultRow::RotorBob], QStringLiteral("###0.###")) + QLatin1Char(',');
        line += Format(f[ResultRow::Fann], QStringLiteral("###0.###")) + QLatin1Char(',');
        line += Format(ReportValues::gelDialReading(f[ResultRow::Gel], si), QStringLiteral("####0.0##"));
        line += kEol;
        out += line.toLatin1(); // digits, signs and points only
    }
    return out;
}
