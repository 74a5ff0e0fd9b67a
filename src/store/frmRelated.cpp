#include "store/frmRelated.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/FormBuilder.h"
#include "platform/ProportionalResizer.h"
#include "store/Database.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

using namespace FormBuilder;

frmRelated::frmRelated(AppContext &context, QWidget *parent)
    : QDialog(parent), ctx_(context), library_(context.database->connection()),
      entry_(*context.state, *context.prompts, *context.clock, library_)
{
    setObjectName(QStringLiteral("frmRelated"));
    setWindowTitle(QStringLiteral("Related Information "));
    setModal(true);

    const int labelX = 12, fieldX = 130, fieldW = 330;
    txtTestName_ = place<QLineEdit>(this, QStringLiteral("txtTestName"), QRect(fieldX, 14, fieldW, 24));
    label(this, QStringLiteral("Test Name:"), QRect(labelX, 16, 115, 20), txtTestName_);
    txtMudId_ = place<QLineEdit>(this, QStringLiteral("txtMudId"), QRect(fieldX, 46, fieldW, 24));
    label(this, QStringLiteral("Fluid ID:"), QRect(labelX, 48, 115, 20), txtMudId_);
    txtSampleTime_ = place<QLineEdit>(this, QStringLiteral("txtSampleTime"), QRect(fieldX, 78, fieldW, 24));
    label(this, QStringLiteral("Sample Time:"), QRect(labelX, 80, 115, 20), txtSampleTime_);
    txtSampleTime_->setPlaceholderText(QStringLiteral("yyyy-mm-dd hh:mm (blank: now)"));
    txtCompanyName_ = place<QLineEdit>(this, QStringLiteral("txtCompanyName"), QRect(fieldX, 110, fieldW, 24));
    label(this, QStringLiteral("Company Name:"), QRect(labelX, 112, 115, 20), txtCompanyName_);
    txtDesc_ = place<QPlainTextEdit>(this, QStringLiteral("txtDesc"), QRect(labelX, 166, 448, 110));
    label(this, QStringLiteral("Description, Notes and Comments:"), QRect(labelX, 144, 300, 20), txtDesc_);
    txtDesc_->setTabChangesFocus(true);
    cmdok_ = button<QPushButton>(this, QStringLiteral("cmdok"), QStringLiteral("&OK"), QRect(250, 288, 100, 30));
    cmdCancel_ =
        button<QPushButton>(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), QRect(360, 288, 100, 30));
    cmdok_->setDefault(true);
    StatusBar1_ = place<QStatusBar>(this, QStringLiteral("StatusBar1"), QRect(0, 328, 472, 22));
    StatusBar1_->setAccessibleName(QStringLiteral("Status"));
    StatusBar1_->setSizeGripEnabled(false);
    // The status is a panel of the bar, so assistive technology reads it as shown.
    statusPanel_ = new QLabel(StatusBar1_);
    statusPanel_->setObjectName(QStringLiteral("Status"));
    valueLabel(statusPanel_, QStringLiteral("Status"));
    StatusBar1_->addWidget(statusPanel_, 1);
    resize(472, 350);
    new ProportionalResizer(this, ProportionalResizer::Variant::Default, ctx_.state->ScreenFactor);

    connect(cmdok_, &QPushButton::clicked, this, &frmRelated::cmdok_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmRelated::cmdCancel_Click);

    const RelatedInfoEntry::Loaded loaded = entry_.load();
    txtTestName_->setText(loaded.fields.testName);
    txtMudId_->setText(loaded.fields.mudId);
    txtSampleTime_->setText(loaded.fields.sampleTime);
    txtCompanyName_->setText(loaded.fields.companyName);
    txtDesc_->setPlainText(loaded.fields.desc);
    txtTestName_->setEnabled(!loaded.nameLocked);
    statusPanel_->setText(ctx_.state->NewTestMode ? QStringLiteral("New test")
                                                  : QStringLiteral("Test: ") + ctx_.state->CurrentTestName);
}

bool frmRelated::run(AppContext &context, QWidget *parent)
{
    frmRelated dialog(context, parent);
    dialog.exec();
    return context.state->RelatedOk;
}

void frmRelated::cmdok_Click()
{
    RelatedInfoFields fields{txtTestName_->text(), txtMudId_->text(), txtSampleTime_->text(), txtCompanyName_->text(),
                             txtDesc_->toPlainText()};
    if (!entry_.accept(fields))
        return;
    txtTestName_->setText(fields.testName);
    txtMudId_->setText(fields.mudId);
    txtSampleTime_->setText(fields.sampleTime);
    accept();
}

void frmRelated::cmdCancel_Click()
{
    reject();
}

void frmRelated::reject()
{
    entry_.cancel();
    QDialog::reject();
}
