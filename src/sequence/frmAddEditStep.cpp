#include "sequence/frmAddEditStep.h"

frmAddEditStep::frmAddEditStep(bool si, float rateFactor, double screenFactor, Prompts &prompts, QWidget *parent)
    : StepDialog(StepDialogKind::Edit, QStringLiteral("Input Step Parameters"), QStringLiteral("Step No.:"), si,
                 rateFactor, screenFactor, prompts, parent)
{
    setObjectName(QStringLiteral("frmAddEditStep"));
    finishLayout();
}
