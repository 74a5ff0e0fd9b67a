#include "sequence/StepListPrinter.h"

#include "platform/Prompts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

QString StepListPrinter::rowLine(const QStringList &cells)
{
    QString line;
    for (int c = 0; c < PrintedColumns && c < cells.size(); ++c)
        line += cells[c].leftJustified(ColumnWidth, QLatin1Char(' '), false);
    return line;
}

QList<QStringList> StepListPrinter::pages(const QString &sequenceName, const QList<QStringList> &rows)
{
    QList<QStringList> out;
    QStringList page{QStringLiteral("Below is the list of the test steps of ") + sequenceName, QString(),
                     QStringLiteral("Step No   Elaps Time(S) Temperature(°F) Speed(Rpm)    Shear Rate(1/S)")};
    for (int r = 1; r <= rows.size(); ++r) {
        page << rowLine(rows[r - 1]);
        // A new page after table rows 39, 79, ...; none after the last row (no blank trailing page).
        if ((r + 1) % RowsPerPage == 0 && r < rows.size()) {
            out << page;
            page.clear();
        }
    }
    out << page;
    return out;
}

void StepListPrinter::draw(QPrinter &printer, const QList<QStringList> &pages)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(9);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    const double lineHeight = metrics.lineSpacing();
    // Printers that cannot make copies themselves get the pages once per copy.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    bool first = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (const QStringList &page : pages) {
            if (!first)
                printer.newPage();
            first = false;
            double y = metrics.ascent();
            for (const QString &line : page) {
                painter.drawText(QPointF(0, y), line);
                y += lineHeight;
            }
        }
    }
    painter.end();
}

bool StepListPrinter::print(Prompts &prompts, const QString &sequenceName, const QList<QStringList> &rows)
{
    QPrinter printer;
    if (!prompts.printDialog(printer, QStringLiteral("Print")))
        return false;
    draw(printer, pages(sequenceName, rows));
    return true;
}
