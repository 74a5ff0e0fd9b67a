#include "results/frmRheology.h"

#include "platform/FormBuilder.h"
#include "platform/ProportionalResizer.h"
#include "results/RheologyTable.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

using namespace FormBuilder;

namespace {

void setCell(QTableWidget *table, int row, int column, const QString &text, bool right = false)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (right)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, column, item);
}

QTableWidget *newTable(QWidget *parent, const QString &name, const QRect &rect, const QStringList &headings)
{
    auto *table = place<QTableWidget>(parent, name, rect);
    table->setColumnCount(int(headings.size()));
    table->setHorizontalHeaderLabels(headings);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setStretchLastSection(true);
    // One text line a row, so the whole model table fits without scrolling.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return table;
}

} // namespace

frmRheology::frmRheology(const QString &testName, const RheologyModels &models, bool si, double screenFactor,
                         QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRheology"));
    setWindowTitle(QStringLiteral("Rheology - ") + testName);
    setModal(true);

    lblSource_ = place<QLabel>(this, QStringLiteral("lblSource"), QRect(12, 8, 596, 36));
    lblSource_->setWordWrap(true);
    tblModels_ = newTable(
        this, QStringLiteral("tblModels"), QRect(12, 70, 596, 410),
        {QStringLiteral("Model"), QStringLiteral("Parameter"), QStringLiteral("Value"), QStringLiteral("Unit")});
    label(this, QStringLiteral("&Models:"), QRect(12, 48, 300, 20), tblModels_);
    tblModels_->setAccessibleName(QStringLiteral("Rheology models"));
    tblReadings_ =
        newTable(this, QStringLiteral("tblReadings"), QRect(12, 514, 596, 170), RheologyTable::readingHeadings());
    label(this, QStringLiteral("Flow curve &readings:"), QRect(12, 492, 300, 20), tblReadings_);
    cmdClose_ =
        button<QPushButton>(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"), QRect(508, 696, 100, 30));
    cmdClose_->setDefault(true);
    cmdClose_->setFocus();
    connect(cmdClose_, &QPushButton::clicked, this, &QDialog::accept);
    resize(620, 738);
    new ProportionalResizer(this, ProportionalResizer::Variant::Default, screenFactor);

    fill(models, si);
}

void frmRheology::fill(const RheologyModels &models, bool si)
{
    const auto &readings = models.flowCurve.readings;
    QString source = readings.empty()
        ? QStringLiteral("The test has no flow curve (no step with a turning rotor): the models are not available.")
        : QStringLiteral("From the last reading of steps %1 to %2 as Fann 35 dial readings.")
              .arg(readings.front().step)
              .arg(readings.back().step);
    source += si ? QStringLiteral(" Stresses in dyn/cm2 (a dial degree is 5.11 dyn/cm2).")
                 : QStringLiteral(" Stresses in lb/100ft2 (a dial degree is read as 1 lb/100ft2).");
    lblSource_->setText(source);

    const std::vector<RheologyModelRows> rows = RheologyTable::models(models, si);
    int count = 0;
    for (const RheologyModelRows &m : rows)
        count += int(m.parameters.size());
    tblModels_->setRowCount(count);
    int r = 0;
    for (const RheologyModelRows &m : rows) {
        bool first = true;
        for (const RheologyParameter &p : m.parameters) {
            setCell(tblModels_, r, 0, first ? m.model : QString());
            setCell(tblModels_, r, 1, p.name);
            setCell(tblModels_, r, 2, p.text(), true);
            setCell(tblModels_, r, 3, p.unit);
            first = false;
            ++r;
        }
    }
    tblModels_->resizeColumnsToContents();

    tblReadings_->setRowCount(int(readings.size()));
    for (int i = 0; i < int(readings.size()); ++i) {
        const QStringList cells = RheologyTable::readingCells(readings[size_t(i)]);
        for (int c = 0; c < cells.size(); ++c)
            setCell(tblReadings_, i, c, cells.at(c), true);
    }
    tblReadings_->resizeColumnsToContents();
}

void frmRheology::showModal(const QString &testName, const RheologyModels &models, bool si, double screenFactor,
                            QWidget *parent)
{
    frmRheology dialog(testName, models, si, screenFactor, parent);
    dialog.exec();
}
