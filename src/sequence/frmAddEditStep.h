#pragma once
// "Input Step Parameters": edits the selected step. The fields start with the step table row as shown.
#include "sequence/StepDialog.h"

class frmAddEditStep : public StepDialog {
    Q_OBJECT
public:
    frmAddEditStep(bool si, float rateFactor, double screenFactor, Prompts &prompts, QWidget *parent = nullptr);
};
