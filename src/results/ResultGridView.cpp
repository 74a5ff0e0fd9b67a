#include "results/ResultGridView.h"

#include "results/ResultGridModel.h"

#include <QHeaderView>
#include <QTableView>

namespace {

int pixels(const QTableView &view, int twips)
{
    return twips * view.logicalDpiX() / 1440;
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
}
