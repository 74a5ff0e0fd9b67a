#include "store/frmSearch.h"
#include "common/ProgramInfo.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/FormBuilder.h"
#include "platform/Prompts.h"
#include "platform/ProportionalResizer.h"
#include "store/Database.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace FormBuilder;

namespace {

const int kGridWidthsTwips[] = {3000, 2000, 2000, 1500, 3000};

} // namespace

frmSearch::frmSearch(AppContext &context, QWidget *parent) : QDialog(parent), ctx_(context)
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("Test Search"));
    setModal(true);

    auto *heading = new QLabel(QStringLiteral("TEST INFORMATION :"), this);
    heading->setGeometry(12, 8, 300, 20);
    for (int k = 0; k < 3; ++k) {
        const QString index = QStringLiteral("(%1)").arg(k + 1);
        auto *frame = place<QGroupBox>(this, QStringLiteral("Frame1") + index, QRect(12, 30 + k * 62, 560, 56));
        frame->setTitle(QStringLiteral("Test Infomation"));
        Combo1_[k] = place<QComboBox>(frame, QStringLiteral("Combo1") + index, QRect(10, 22, 180, 24));
        cmbmath1_[k] = place<QComboBox>(frame, QStringLiteral("cmbmath1") + index, QRect(200, 22, 90, 24));
        Text1_[k] = place<QLineEdit>(frame, QStringLiteral("Text1") + index, QRect(300, 22, 250, 24));
        Combo1_[k]->addItems(TestSearch::columnNames());
        cmbmath1_[k]->addItems(TestSearch::operatorTexts());
        Combo1_[k]->setAccessibleName(QStringLiteral("Column of condition %1").arg(k + 1));
        cmbmath1_[k]->setAccessibleName(QStringLiteral("Operator of condition %1").arg(k + 1));
        Text1_[k]->setAccessibleName(QStringLiteral("Value of condition %1").arg(k + 1));
    }
    cmdSearch_ =
        button<QPushButton>(this, QStringLiteral("cmdSearch"), QStringLiteral("SEARCH"), QRect(590, 36, 150, 30));
    cmdClear_ = button<QPushButton>(this, QStringLiteral("cmdClear"), QStringLiteral("CLEAR"), QRect(590, 76, 150, 30));
    Command1_ = button<QPushButton>(this, QStringLiteral("Command1"), QStringLiteral("Cancel && Return"),
                                    QRect(590, 116, 150, 30));
    cmdSearch_->setDefault(true);

    MSFlexGrid1_ = place<QTableWidget>(this, QStringLiteral("MSFlexGrid1"), QRect(12, 244, 728, 250));
    label(this, QStringLiteral("RESULT LIST :"), QRect(12, 222, 300, 20), MSFlexGrid1_);
    MSFlexGrid1_->setColumnCount(5);
    MSFlexGrid1_->setHorizontalHeaderLabels(QStringList(5, QString()));
    MSFlexGrid1_->verticalHeader()->hide();
    MSFlexGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSFlexGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int c = 0; c < 5; ++c)
        MSFlexGrid1_->setColumnWidth(c, kGridWidthsTwips[c] * logicalDpiX() / 1440);
    resize(752, 506);
    new ProportionalResizer(this, ProportionalResizer::Variant::Default, ctx_.state->ScreenFactor);

    connect(cmdSearch_, &QPushButton::clicked, this, &frmSearch::cmdSearch_Click);
    connect(cmdClear_, &QPushButton::clicked, this, &frmSearch::cmdClear_Click);
    connect(Command1_, &QPushButton::clicked, this, &frmSearch::Command1_Click);
    connect(MSFlexGrid1_, &QTableWidget::cellDoubleClicked, this, &frmSearch::MSFlexGrid1_DblClick);

    QString error;
    if (!TestSearch(ctx_.database->connection()).checkTable(&error))
        ctx_.prompts->message(QStringLiteral("ERROR: ") + error, ProgramInfo::name());
    cmdClear_Click();
    SearchCancelled = true;
}

std::array<TestSearch::Condition, 3> frmSearch::conditions() const
{
    std::array<TestSearch::Condition, 3> out;
    for (int k = 0; k < 3; ++k)
        out[k] = {Combo1_[k]->currentIndex(), cmbmath1_[k]->currentIndex(), Text1_[k]->text()};
    return out;
}

QString frmSearch::selectedTestName() const
{
    const int row = MSFlexGrid1_->currentRow();
    if (row < 0 || row >= MSFlexGrid1_->rowCount())
        return {};
    const QTableWidgetItem *item = MSFlexGrid1_->item(row, 0);
    return item ? item->text() : QString();
}

void frmSearch::cmdClear_Click()
{
    for (int k = 0; k < 3; ++k) {
        Combo1_[k]->setCurrentIndex(0);
        cmbmath1_[k]->setCurrentIndex(0);
        Text1_[k]->clear();
    }
    SearchCancelled = true;
}

void frmSearch::cmdSearch_Click()
{
    MSFlexGrid1_->setRowCount(0);
    const TestSearch::Result result = TestSearch(ctx_.database->connection()).run(conditions());
    if (!result.ok) {
        ctx_.prompts->message(result.error, ProgramInfo::name());
        return;
    }
    if (result.rows.isEmpty())
        return;
    MSFlexGrid1_->setHorizontalHeaderLabels(result.header);
    MSFlexGrid1_->setRowCount(static_cast<int>(result.rows.size()));
    for (int r = 0; r < result.rows.size(); ++r)
        for (int c = 0; c < result.rows[r].size(); ++c)
            MSFlexGrid1_->setItem(r, c, new QTableWidgetItem(result.rows[r][c]));
    MSFlexGrid1_->setCurrentCell(0, 0);
}

void frmSearch::MSFlexGrid1_DblClick()
{
    // Only a test row can be taken (not the header, not an empty grid).
    if (MSFlexGrid1_->currentRow() < 0)
        return;
    SearchCancelled = false;
    accept();
}

void frmSearch::Command1_Click()
{
    reject();
}

void frmSearch::reject()
{
    SearchCancelled = true;
    QDialog::reject();
}
