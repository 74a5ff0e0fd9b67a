// Writes the sample workbooks the independent read-back check (check_workbooks.py) opens: for each
// sample an .xlsx written by XlsxWriter and a .json dump of the WorkbookModel it was written from.
// Usage: reports_readback_samples <output folder>
#include "platform/WorkbookModel.h"
#include "platform/XlsxWriter.h"
#include "reports/BriefReport.h"
#include "reports/DetailReport.h"
#include "reports/ReportFiles.h"
#include "results/DerivedValues.h"
#include "tests/reports/ReportFixtures.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

const char *lineName(BorderLine line)
{
    switch (line) {
    case BorderLine::None: return "none";
    case BorderLine::Thin: return "thin";
    case BorderLine::Medium: return "medium";
    case BorderLine::Thick: return "thick";
    }
    return "none";
}

QJsonObject dump(const WorkbookModel::Sheet &sheet)
{
    QJsonArray cells;
    for (int r = 1; r <= sheet.lastRow(); ++r) {
        const auto &row = sheet.row(r);
        for (int c = 1; c <= int(row.size()); ++c) {
            const WorkbookCell &cell = row[size_t(c - 1)];
            const CellStyle &st = sheet.styles()[cell.style];
            QJsonObject o{{"row", r}, {"column", c}};
            switch (cell.kind) {
            case WorkbookCell::Kind::Blank: o["kind"] = "blank"; break;
            case WorkbookCell::Kind::Number:
                o["kind"] = "number";
                o["value"] = cell.number;
                break;
            case WorkbookCell::Kind::Text:
                o["kind"] = "text";
                o["value"] = QString::fromUtf8(sheet.text(cell).data(), qsizetype(sheet.text(cell).size()));
                break;
            }
            o["numberFormat"] = QString::fromStdString(st.numberFormat);
            o["bold"] = st.bold;
            o["fill"] = st.filled ? QStringLiteral("%1").arg(st.fillRgb, 6, 16, QLatin1Char('0')).toUpper() : QString();
            o["left"] = lineName(st.left);
            o["top"] = lineName(st.top);
            o["bottom"] = lineName(st.bottom);
            o["right"] = lineName(st.right);
            cells.append(o);
        }
    }
    QJsonArray widths;
    for (double w : sheet.columnWidths())
        widths.append(w);
    const PageSetup &p = sheet.pageSetup();
    return QJsonObject{
        {"name", sheet.name()},
        {"cells", cells},
        {"widths", widths},
        {"page",
         QJsonObject{{"landscape", p.landscape},
                     {"fitWide", p.fitPagesWide},
                     {"fitTall", p.fitPagesTall},
                     {"titleFirst", p.titleFirstRow},
                     {"titleLast", p.titleLastRow}}},
    };
}

bool writeSample(const QDir &out, const QString &name, const WorkbookModel &book)
{
    QString error;
    if (!XlsxWriter::write(book, out.filePath(name + ".xlsx"), &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(error));
        return false;
    }
    QJsonArray sheets;
    for (const auto &s : book.sheets())
        sheets.append(dump(s));
    QFile json(out.filePath(name + ".json"));
    if (!json.open(QIODevice::WriteOnly))
        return false;
    json.write(QJsonDocument(QJsonObject{{"sheets", sheets}}).toJson());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: reports_readback_samples <output folder>\n");
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral(".")))
        return 1;
    for (const QString &f : out.entryList({"*.xlsx", "*.json"}, QDir::Files))
        out.remove(f);

    ReportedTestInfo formulaLike = ReportFixtures::eiInfo();
    formulaLike.testName = QStringLiteral("=SUM(1,2)");
    formulaLike.mudId = QStringLiteral("+5");
    formulaLike.companyName = QStringLiteral("@lab");
    formulaLike.desc = QStringLiteral("-3 dB");

    DetailReport::DerivedCells derived;
    derived.pvYp = {{7, 20, 20.5}};
    derived.gel10s = {{9, 7.5}};
    derived.gel10m = {{13, 12.345678}};
    derived.gel30m = {{17, 15.2}};

    bool ok = true;
    ok &= writeSample(out, "detail_ei",
                      DetailReport::build(formulaLike, ReportFixtures::fannSixSpeedRows(), false, derived));
    ok &= writeSample(out, "detail_si",
                      DetailReport::build(ReportFixtures::siInfo(), ReportFixtures::siRows(), true, {}));
    ok &= writeSample(
        out, "detail_one_row",
        DetailReport::build(ReportFixtures::eiInfo(), ReportFixtures::table({{1, 10, 100, 5, 3, 2, 60}}), false, {}));
    // The detailed workbook as the program writes it, with its second sheet of rheology models.
    const ResultTable sixSpeeds = ReportFixtures::fannSixSpeedRows();
    ok &= writeSample(out, "detail_with_rheology_si",
                      ReportFiles::detailWorkbook(ReportFixtures::siInfo(), sixSpeeds, true,
                                                  DerivedValues::fromResults(sixSpeeds, 2)));
    ok &= writeSample(out, "brief_ei", BriefReport::build(ReportFixtures::eiInfo(), ReportFixtures::eiRows(), false));
    ok &= writeSample(out, "brief_si", BriefReport::build(ReportFixtures::siInfo(), ReportFixtures::siRows(), true));
    return ok ? 0 : 1;
}
