#include "sequence/frmInsertStep.h"

#include <QComboBox>

frmInsertStep::frmInsertStep(bool si, float rateFactor, double screenFactor, Prompts &prompts, QWidget *parent)
    : StepDialog(StepDialogKind::Insert, QStringLiteral("Insert Step"), QStringLiteral("Step No:"), si, rateFactor,
                 screenFactor, prompts, parent)
{
    setObjectName(QStringLiteral("frmInsertStep"));
    cmbBeforeAfter_ = new QComboBox;
    cmbBeforeAfter_->setObjectName(QStringLiteral("cmbBeforeAfter"));
    cmbBeforeAfter_->addItems({QStringLiteral("after"), QStringLiteral("before")});
    cmbBeforeAfter_->setCurrentIndex(0);
    addRow(QStringLiteral("Insert"), cmbBeforeAfter_);
    setStepNoText(QStringLiteral("1"));
    finishLayout();
}

bool frmInsertStep::insertAfter() const
{
    return cmbBeforeAfter_->currentIndex() != 1;
}
