#include "store/frmOverlapTestName.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/FormBuilder.h"
#include "platform/Prompts.h"
#include "platform/ProportionalResizer.h"
#include "store/Database.h"
#include "store/TestLibrary.h"

#include <QListWidget>
#include <QPushButton>

using namespace FormBuilder;

frmOverlapTestName::frmOverlapTestName(AppContext &context, QWidget *parent) : QDialog(parent), ctx_(context)
{
    setObjectName(QStringLiteral("frmOverlapTestName"));
    setWindowTitle(QStringLiteral("Overlap Test Selection"));
    setModal(true);

    List1_ = place<QListWidget>(this, QStringLiteral("List1"), QRect(12, 34, 290, 220));
    label(this, QStringLiteral("Please select test to compare:"), QRect(12, 10, 290, 20), List1_);
    cmdOk_ = button<QPushButton>(this, QStringLiteral("cmdOk"), QStringLiteral("&OK"), QRect(318, 34, 100, 30));
    cmdCancel_ =
        button<QPushButton>(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), QRect(318, 72, 100, 30));
    cmdOk_->setDefault(true);
    resize(432, 268);
    new ProportionalResizer(this, ProportionalResizer::Variant::Default, ctx_.state->ScreenFactor);

    connect(cmdOk_, &QPushButton::clicked, this, &frmOverlapTestName::cmdOk_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmOverlapTestName::cmdCancel_Click);
    connect(List1_, &QListWidget::itemDoubleClicked, this, &frmOverlapTestName::List1_DblClick);

    List1_->addItems(TestLibrary(ctx_.database->connection()).testNamesForPicker(*ctx_.prompts));
}

void frmOverlapTestName::choose(AppContext &context, QWidget *parent)
{
    frmOverlapTestName dialog(context, parent);
    dialog.exec();
}

void frmOverlapTestName::cmdOk_Click()
{
    const QListWidgetItem *item = List1_->currentItem();
    if (!item || !item->isSelected() || item->text().isEmpty()) {
        ctx_.prompts->message(QStringLiteral("No test was selected!"), QStringLiteral("No Selection Error."));
        return;
    }
    ctx_.state->OverlapTestName = item->text();
    if (ctx_.state->OverlapTestName != ctx_.state->CurrentTestName) {
        accept();
        return;
    }
    ctx_.prompts->message(QStringLiteral("Test cannot overlap itself!"), QStringLiteral("Selection Error."));
}

void frmOverlapTestName::cmdCancel_Click()
{
    reject();
}

void frmOverlapTestName::List1_DblClick()
{
    cmdOk_Click();
}
