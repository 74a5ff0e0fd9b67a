#pragma once
// "Copy & Paste": a range of steps and where its copy goes, with the temperature every copied step gets.
#include "sequence/SequenceCommands.h"

#include <QDialog>
#include <optional>

class Prompts;
class QComboBox;
class QLineEdit;

class frmCopyPaste : public QDialog {
    Q_OBJECT
public:
    frmCopyPaste(int stepCount, double screenFactor, Prompts &prompts, QWidget *parent = nullptr);
    // Set when OK passed its checks.
    const std::optional<CopyPasteChoice> &choice() const { return choice_; }

public slots:
    void okClicked();

private:
    Prompts &prompts_;
    QComboBox *cmbCopyfrom_;
    QComboBox *cmbCopyto_;
    QComboBox *cmbBeforeAfter_;
    QComboBox *cmbPasteto_;
    QLineEdit *txtNewTemperature_;
    std::optional<CopyPasteChoice> choice_;
};
