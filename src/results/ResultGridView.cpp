#include "results/ResultGridView.h"

#include "results/ResultGridModel.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>

namespace {

int pixels(const QTableView &view, int twips)
{
    return twips * view.logicalDpiX() / 1440;
}

// The classic width is kept as the least; a column whose header line is wider (fonts differ from the
// ones the layout was drawn with) is widened so that no unit is cut off. Header lines are short, so
// this costs nothing when the units change.
void fitHeaderWidths(QTableView &view)
{
    QHeaderView *header = view.horizontalHeader();
    const QFontMetrics metrics(header->font());
    const int least = pixels(view, ResultGridModel::ColumnWidthTwips);
    const int padding = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin) + 6;
    QAbstractItemModel *model = view.model();
    for (int c = 0; model && c < model->columnCount(); ++c) {
        int widest = 0;
        const QStringList lines = model->headerData(c, Qt::Horizontal).toString().split(QLatin1Char('\n'));
        for (const QString &line : lines)
            widest = qMax(widest, metrics.horizontalAdvance(line));
        header->resizeSection(c, qMax(least, widest + padding));
    }
}

} // namespace

void ResultGridView::setUp(QTableView &view, ResultGridModel &model)
{
    view.setObjectName(QStringLiteral("MSFlexGrid1"));
    view.setToolTip(QStringLiteral("This table lists the test results."));
    view.setAccessibleName(QStringLiteral("Test results"));
    view.setAccessibleDescription(QStringLiteral("This table lists the test results."));
    view.setModel(&model);
    view.setWordWrap(false);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 6);
    QHeaderView *header = view.horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultSectionSize(pixels(view, ResultGridModel::ColumnWidthTwips));
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setMinimumHeight(pixels(view, ResultGridModel::HeaderHeightTwips));
    fitHeaderWidths(view);
    QObject::connect(&model, &QAbstractItemModel::headerDataChanged, &view, [&view] { fitHeaderWidths(view); });
}
