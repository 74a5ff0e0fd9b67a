#include "sequence/frmCopyPaste.h"

#include "common/NumberText.h"
#include "platform/FormBuilder.h"
#include "platform/Prompts.h"
#include "platform/ProportionalResizer.h"
#include "sequence/StepRules.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

using namespace FormBuilder;

namespace {
QComboBox *stepBox(QWidget *parent, const QString &name, const QRect &rect, int stepCount)
{
    auto *box = place<QComboBox>(parent, name, rect);
    for (int i = 1; i <= stepCount; ++i)
        box->addItem(QString::number(i));
    box->setCurrentIndex(stepCount > 0 ? 0 : -1);
    return box;
}
} // namespace

frmCopyPaste::frmCopyPaste(int stepCount, double screenFactor, Prompts &prompts, QWidget *parent)
    : QDialog(parent), prompts_(prompts)
{
    setObjectName(QStringLiteral("frmCopyPaste"));
    setWindowTitle(QStringLiteral("Copy & Paste"));

    auto *source = place<QGroupBox>(this, QStringLiteral("FrameSource"), QRect(10, 10, 400, 60));
    source->setTitle(QStringLiteral("Copy source:"));
    cmbCopyfrom_ = stepBox(this, QStringLiteral("cmbCopyfrom"), QRect(110, 35, 80, 24), stepCount);
    label(this, QStringLiteral("From step"), QRect(25, 35, 80, 24), cmbCopyfrom_);
    cmbCopyto_ = stepBox(this, QStringLiteral("cmbCopyto"), QRect(260, 35, 80, 24), stepCount);
    label(this, QStringLiteral("to"), QRect(220, 35, 35, 24), cmbCopyto_);

    auto *target = place<QGroupBox>(this, QStringLiteral("FrameTarget"), QRect(10, 80, 400, 60));
    target->setTitle(QStringLiteral("Paste target:"));
    cmbBeforeAfter_ = place<QComboBox>(this, QStringLiteral("cmbBeforeAfter"), QRect(110, 105, 80, 24));
    cmbBeforeAfter_->addItems({QStringLiteral("after"), QStringLiteral("before")});
    label(this, QStringLiteral("Paste to:"), QRect(25, 105, 80, 24), cmbBeforeAfter_);
    cmbPasteto_ = stepBox(this, QStringLiteral("cmbPasteto"), QRect(290, 105, 80, 24), stepCount);
    label(this, QStringLiteral("step No."), QRect(220, 105, 65, 24), cmbPasteto_);

    txtNewTemperature_ = place<QLineEdit>(this, QStringLiteral("txtNewTemperature"), QRect(250, 155, 90, 24));
    label(this, QStringLiteral("New target temperature (°F):"), QRect(25, 155, 220, 24), txtNewTemperature_);

    auto *ok = button<QPushButton>(this, QStringLiteral("cmdOk"), QStringLiteral("&OK"), QRect(100, 200, 100, 30));
    auto *cancel =
        button<QPushButton>(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), QRect(220, 200, 100, 30));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmCopyPaste::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    source->lower();
    target->lower();

    const QSize design(420, 245);
    resize(design);
    new ProportionalResizer(this, ProportionalResizer::Variant::Default, screenFactor, design);
}

void frmCopyPaste::okClicked()
{
    CopyPasteChoice c;
    c.from = int(NumberText::Val(cmbCopyfrom_->currentText()));
    c.to = int(NumberText::Val(cmbCopyto_->currentText()));
    if (const auto refused = StepRules::checkCopyPaste(c.from, c.to, txtNewTemperature_->text())) {
        prompts_.message(refused->text, refused->title);
        QWidget *focus =
            refused->field == StepField::CopyRange ? static_cast<QWidget *>(cmbCopyto_) : txtNewTemperature_;
        focus->setFocus();
        return;
    }
    c.pasteTo = int(NumberText::Val(cmbPasteto_->currentText()));
    c.after = cmbBeforeAfter_->currentIndex() != 1;
    c.temperature = NumberText::Val(txtNewTemperature_->text());
    choice_ = c;
    accept();
}
