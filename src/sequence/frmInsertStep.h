#pragma once
// "Insert Step": a new step before or after the selected one. The value fields start empty; the step
// number shown is informational (the position comes from the selected table row).
#include "sequence/StepDialog.h"

class QComboBox;

class frmInsertStep : public StepDialog {
    Q_OBJECT
public:
    frmInsertStep(bool si, float rateFactor, double screenFactor, Prompts &prompts, QWidget *parent = nullptr);
    bool insertAfter() const;

private:
    QComboBox *cmbBeforeAfter_;
};
