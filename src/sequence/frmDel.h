#pragma once
// "Delete Step": the first and last step of the range to delete.
#include <QDialog>

class QComboBox;

class frmDel : public QDialog {
    Q_OBJECT
public:
    frmDel(int stepCount, double screenFactor, QWidget *parent = nullptr);
    // The chosen range; valid once the dialog was accepted.
    int delFrom() const;
    int delTo() const;

private:
    QComboBox *cmbDELfrom_;
    QComboBox *cmbDELto_;
};
