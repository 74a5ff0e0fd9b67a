#pragma once
// The About box: program name, version and date, and a small drawing of the instrument's rotor and bob.
#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(double screenFactor, QWidget *parent = nullptr);

    void Command1_Click();

private:
    QWidget *Picture1_;
    QLabel *Label1_;
    QLabel *Label2_;
    QPushButton *Command1_;
};
