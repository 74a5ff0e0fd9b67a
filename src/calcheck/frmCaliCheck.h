#pragma once
// The "Auto Calibration Check" window: the viscosity of the calibration fluid, Start, the five-row result
// table, Return and Export to Excel. Modal; the main window stays visible behind it. The work is done by
// CalibrationSession; this window only shows its texts and forwards the clicks.
//
// From the main window's cmdCalicheck:
//     frmCaliCheck::showModal(context, this);
#include <QDialog>
#include <array>
#include <memory>

struct AppContext;
class CalibrationSession;
class QLabel;
class QLineEdit;
class QPushButton;

class frmCaliCheck : public QDialog {
    Q_OBJECT
public:
    // Shows the window modally and returns when it is closed.
    static void showModal(AppContext &context, QWidget *mainWindow);

    explicit frmCaliCheck(AppContext &context, QWidget *parent = nullptr);
    ~frmCaliCheck() override;

    void cmdStart_Click();
    void cmdReturn_Click();
    void cmdExport_Click();

    CalibrationSession &session() { return *session_; }

    // Return, Escape and the close box all end here: a running check is discarded.
    void reject() override;

private:
    void buildControls();
    void refresh();

    AppContext &context_;
    std::unique_ptr<CalibrationSession> session_;
    QLineEdit *txtVisc_ = nullptr;
    std::array<QLabel *, 5> Stress3_{};
    std::array<QLabel *, 5> lbl3Err_{};
    std::array<QLabel *, 5> lbl3PercentErr_{};
    QPushButton *cmdStart_ = nullptr;
    QPushButton *cmdReturn_ = nullptr;
    QPushButton *cmdExport_ = nullptr;
    QLabel *curStatus_ = nullptr;
};
