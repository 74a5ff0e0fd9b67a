#include "sequence/StepDialog.h"

#include "platform/FormBuilder.h"
#include "platform/Prompts.h"
#include "platform/ProportionalResizer.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace FormBuilder;

namespace {
constexpr int kLeft = 25;
constexpr int kLabelWidth = 170;
constexpr int kFieldLeft = 200;
constexpr int kFieldWidth = 150;
constexpr int kRowHeight = 24;
constexpr int kRowStep = 34;
constexpr int kFirstRowY = 35;
constexpr int kWidth = 380;
} // namespace

StepDialog::StepDialog(StepDialogKind kind, const QString &caption, const QString &stepNoLabel, bool si,
                       float rateFactor, double screenFactor, Prompts &prompts, QWidget *parent)
    : QDialog(parent), kind_(kind), si_(si), rateFactor_(rateFactor), screenFactor_(screenFactor), prompts_(prompts),
      nextRowY_(kFirstRowY)
{
    setWindowTitle(caption);
    frame_ = new QGroupBox(QStringLiteral("Test parameters:"), this);
    frame_->setObjectName(QStringLiteral("Frame1"));

    txtStepNo_ = addField(QStringLiteral("txtStepNo"), stepNoLabel, {});
    txtStepNo_->setReadOnly(true);
    txtTime_ = addField(QStringLiteral("txtTime"), QStringLiteral("Step time (S):"),
                        QStringLiteral("Enter a number >0 and <6300"));
    txtTemp_ = addField(QStringLiteral("txtTemp"), StepRules::temperatureLabel(si), {});
    txtSpeed_ = addField(QStringLiteral("txtSpeed"), QStringLiteral("Speed (Rpm):"),
                         QStringLiteral("Enter a number >=0 and <=600.00"));
    txtShearrate_ = addField(QStringLiteral("txtShearrate"), QStringLiteral("Shear rate (1/S):"), {});
    txtRecordRate_ = addField(QStringLiteral("txtRecordRate"), QStringLiteral("Record rate (Sec/Data):"),
                              QStringLiteral("Integer, >=1"));

    connect(txtSpeed_, &QLineEdit::editingFinished, this, &StepDialog::leaveSpeed);
    connect(txtShearrate_, &QLineEdit::editingFinished, this, &StepDialog::leaveShearRate);
}

QLineEdit *StepDialog::addField(const QString &objectName, const QString &labelText, const QString &toolTip)
{
    auto *edit = place<QLineEdit>(this, objectName, QRect(kFieldLeft, nextRowY_, kFieldWidth, kRowHeight));
    if (!toolTip.isEmpty())
        edit->setToolTip(toolTip);
    QLabel *l = label(this, labelText, QRect(kLeft, nextRowY_, kLabelWidth, kRowHeight), edit);
    if (objectName == QLatin1String("txtTemp"))
        l->setObjectName(QStringLiteral("lblTemp"));
    nextRowY_ += kRowStep;
    return edit;
}

void StepDialog::addRow(const QString &labelText, QWidget *control)
{
    control->setParent(this);
    control->setGeometry(kFieldLeft, nextRowY_, kFieldWidth, kRowHeight);
    label(this, labelText, QRect(kLeft, nextRowY_, kLabelWidth, kRowHeight), control);
    nextRowY_ += kRowStep;
}

void StepDialog::finishLayout()
{
    frame_->setGeometry(10, 10, kWidth - 20, nextRowY_ - 10);
    frame_->lower();
    const int buttonsY = nextRowY_ + 12;
    cmdOk_ = button<QPushButton>(this, QStringLiteral("cmdOk"), QStringLiteral("&OK"),
                                 QRect(kWidth / 2 - 110, buttonsY, 100, 30));
    cmdCancel_ = button<QPushButton>(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"),
                                     QRect(kWidth / 2 + 10, buttonsY, 100, 30));
    cmdOk_->setDefault(true);
    connect(cmdOk_, &QPushButton::clicked, this, &StepDialog::okClicked);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    const QSize design(kWidth, buttonsY + 45);
    resize(design);
    new ProportionalResizer(this, ProportionalResizer::Variant::Default, screenFactor_, design);
}

QLineEdit *StepDialog::field(StepField f) const
{
    switch (f) {
    case StepField::Time: return txtTime_;
    case StepField::Temperature: return txtTemp_;
    case StepField::Speed: return txtSpeed_;
    case StepField::ShearRate: return txtShearrate_;
    case StepField::RecordRate: return txtRecordRate_;
    case StepField::CopyRange: break;
    }
    return nullptr;
}

void StepDialog::setFieldTexts(const QStringList &cells)
{
    QLineEdit *order[] = {txtStepNo_, txtTime_, txtTemp_, txtSpeed_, txtShearrate_, txtRecordRate_};
    for (int i = 0; i < 6 && i < cells.size(); ++i)
        order[i]->setText(cells[i]);
}

void StepDialog::setStepNoText(const QString &text)
{
    txtStepNo_->setText(text);
}

void StepDialog::refuse(const StepRefusal &r)
{
    prompts_.message(r.text, r.title);
    if (QLineEdit *f = field(r.field)) {
        f->setFocus();
        f->selectAll();
    }
}

void StepDialog::leaveSpeed()
{
    const Coupling c = StepRules::speedLeft(txtSpeed_->text(), rateFactor_);
    if (c.otherText)
        txtShearrate_->setText(*c.otherText);
    if (c.refusal)
        refuse(*c.refusal);
}

void StepDialog::leaveShearRate()
{
    const Coupling c = StepRules::shearRateLeft(txtShearrate_->text(), rateFactor_);
    if (c.otherText)
        txtSpeed_->setText(*c.otherText);
    if (c.refusal)
        refuse(*c.refusal);
}

void StepDialog::okClicked()
{
    const StepFieldTexts texts{txtTime_->text(), txtTemp_->text(), txtSpeed_->text(), txtShearrate_->text(),
                               txtRecordRate_->text()};
    const StepCheck check = StepRules::check(texts, kind_, si_);
    if (check.refusal) {
        refuse(*check.refusal);
        return;
    }
    values_ = check.values;
    accept();
}
