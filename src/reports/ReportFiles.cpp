#include "reports/ReportFiles.h"

#include "common/ProgramState.h"
#include "reports/BriefReport.h"
#include "reports/DetailReport.h"
#include "reports/ReportSource.h"
#include "reports/RheologySheet.h"
#include "reports/TextReport.h"
#include "results/DerivedValues.h"
#include "results/ResultGridModel.h"
#include "results/RheologyModels.h"

#include <QStringList>

namespace {

QString csvField(QString text)
{
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))
        || text.contains(QLatin1Char('\r'))) {
        text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

} // namespace

namespace ReportFiles {

WorkbookModel detailWorkbook(const ReportedTestInfo &info, const ResultTable &rows, bool si,
                             const DerivedValues &derived, WorkProgress *progress)
{
    WorkbookModel book = DetailReport::build(info, rows, si, DetailReport::DerivedCells::from(derived), progress);
    RheologySheet::add(book, info, RheologyModels::compute(rows, derived), si);
    return book;
}

WorkbookModel detailWorkbook(const ReportSource &source)
{
    return detailWorkbook(source.info, source.rows, source.si, source.derived);
}

WorkbookModel briefWorkbook(const ReportSource &source)
{
    return BriefReport::build(source.info, source.rows, source.si);
}

QByteArray textReport(const ReportSource &source)
{
    return TextReport::build(source.info, source.rows, source.si);
}

QByteArray csv(const ReportSource &source)
{
    QStringList headings = ResultGridModel::headerTexts(source.si ? UnitsSI : UnitsEI);
    for (QString &h : headings)
        h = csvField(h.simplified());
    QString text = headings.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    QByteArray out = text.toUtf8();
    QStringList fields;
    for (const ResultRow &row : source.rows) {
        fields.clear();
        for (int c = 0; c < ResultRow::Count; ++c) {
            QString cell = ResultGridModel::cellText(row, c);
            if (cell.endsWith(QLatin1Char('.')))
                cell.chop(1);
            fields << cell;
        }
        out += fields.join(QLatin1Char(',')).toUtf8();
        out += "\r\n";
    }
    return out;
}

} // namespace ReportFiles
