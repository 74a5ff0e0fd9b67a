#pragma once
// The printed step list: a heading, then one line per step with the first five table columns, each
// cell padded with blanks to 19 characters. A page holds the heading and table rows 1 to 39, every
// further page 40 rows. Pages are built as text lines (testable as they are) and drawn in a fixed-pitch
// font so the columns line up.
#include <QList>
#include <QString>
#include <QStringList>

class Prompts;
class QPrinter;

class StepListPrinter {
public:
    static constexpr int ColumnWidth = 19;
    static constexpr int PrintedColumns = 5; // the record rate is not printed
    static constexpr int RowsPerPage = 40;

    // One line of the list from a table row's cells.
    static QString rowLine(const QStringList &cells);
    // The pages of one copy; `rows` are the step table's rows (cells as displayed), step 1 first.
    static QList<QStringList> pages(const QString &sequenceName, const QList<QStringList> &rows);

    // Asks for a printer and prints; false when the dialog was cancelled (nothing printed, no message).
    static bool print(Prompts &prompts, const QString &sequenceName, const QList<QStringList> &rows);
    // Draws the pages on a printer that is already set up (each requested copy in turn).
    static void draw(QPrinter &printer, const QList<QStringList> &pages);
};
