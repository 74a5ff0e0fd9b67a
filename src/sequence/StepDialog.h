#pragma once
// What the edit and insert dialogs share: the step fields with their labels and tool tips, the coupling
// of speed and shear rate when either field is left, and the checks of OK. A refused field keeps the
// dialog open with the focus on that field. Cancel, Escape and the window frame all cancel.
#include "sequence/StepRules.h"

#include <QDialog>
#include <QStringList>
#include <optional>

class Prompts;
class QGroupBox;
class QLineEdit;
class QPushButton;

class StepDialog : public QDialog {
    Q_OBJECT
public:
    // The grid row's cells as displayed: step number, time, temperature, speed, shear rate, record rate.
    void setFieldTexts(const QStringList &cells);
    void setStepNoText(const QString &text);

    // The accepted values (temperature in °F); empty until OK passed.
    const std::optional<StepValues> &values() const { return values_; }

    QLineEdit *field(StepField f) const;

public slots:
    void leaveSpeed();
    void leaveShearRate();
    void okClicked();

protected:
    StepDialog(StepDialogKind kind, const QString &caption, const QString &stepNoLabel, bool si, float rateFactor,
               double screenFactor, Prompts &prompts, QWidget *parent);
    // Adds a labelled control below the fields (the insert dialog's position box).
    void addRow(const QString &labelText, QWidget *control);
    // Places the frame and the buttons under the rows; subclasses call it at the end of their constructor.
    void finishLayout();

private:
    void refuse(const StepRefusal &r);
    QLineEdit *addField(const QString &objectName, const QString &labelText, const QString &toolTip);

    StepDialogKind kind_;
    bool si_;
    float rateFactor_;
    double screenFactor_;
    Prompts &prompts_;
    int nextRowY_;
    QGroupBox *frame_;
    QLineEdit *txtStepNo_;
    QLineEdit *txtTime_;
    QLineEdit *txtTemp_;
    QLineEdit *txtSpeed_;
    QLineEdit *txtShearrate_;
    QLineEdit *txtRecordRate_;
    QPushButton *cmdOk_ = nullptr;
    QPushButton *cmdCancel_ = nullptr;
    std::optional<StepValues> values_;
};
