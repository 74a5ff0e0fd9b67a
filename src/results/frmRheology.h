#pragma once
// The main window's "Rheology" command: shows the rheology models of the open test (Bingham plastic, gels,
// the pipe and annulus power laws, Herschel-Bulkley by API RP 13D and by least squares) in the current
// unit system, with the flow-curve readings they were computed from. Modal; it only shows.
#include "results/RheologyModels.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

class frmRheology : public QDialog {
    Q_OBJECT
public:
    frmRheology(const QString &testName, const RheologyModels &models, bool si, double screenFactor,
                QWidget *parent = nullptr);

    // Shows the window modally.
    static void showModal(const QString &testName, const RheologyModels &models, bool si, double screenFactor,
                          QWidget *parent);

    QTableWidget *modelsTable() const { return tblModels_; }
    QTableWidget *readingsTable() const { return tblReadings_; }

private:
    void fill(const RheologyModels &models, bool si);

    QLabel *lblSource_ = nullptr;
    QTableWidget *tblModels_ = nullptr;
    QTableWidget *tblReadings_ = nullptr;
    QPushButton *cmdClose_ = nullptr;
};
