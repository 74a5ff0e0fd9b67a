#pragma once
// The naming dialog of a real-time run ("Real Time Test Testname"): test name, fluid id, sample time,
// company, description and the custom rotor-bob choice with its two factors. OK stores the new test at
// once (RealTimeNaming); Cancel, Esc and the window's close box all cancel. Modal; run it with exec().
#include "realtime/RealTimeNaming.h"

#include <QDialog>
#include <memory>

struct AppContext;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QGroupBox;
class TestLibrary;

class frmRealRelated : public QDialog {
    Q_OBJECT
public:
    explicit frmRealRelated(AppContext &context, QWidget *parent = nullptr);
    ~frmRealRelated() override;

    // After the dialog closed: the name and id of the stored test (empty / 0 when cancelled).
    QString testName() const;
    int testId() const;

public slots:
    void cmdOk_Click();
    void cmdCancel_Click();
    void Option1_Click();
    void Option2_Click();
    void reject() override;

private:
    void showFactorFields(bool visible);

    AppContext &context_;
    std::unique_ptr<TestLibrary> library_;
    std::unique_ptr<RealTimeNaming> naming_;
    QLineEdit *txtTestName_ = nullptr;
    QLineEdit *txtMudId_ = nullptr;
    QLineEdit *txtSampleTime_ = nullptr;
    QLineEdit *txtCompanyName_ = nullptr;
    QPlainTextEdit *txtDesc_ = nullptr;
    QGroupBox *frameCustom_ = nullptr;
    QRadioButton *Option1_ = nullptr;
    QRadioButton *Option2_ = nullptr;
    QLineEdit *txtStressFactor_ = nullptr;
    QLineEdit *txtRateFactor_ = nullptr;
    QList<QWidget *> factorWidgets_; // the two fields, their captions, unit notes and the note label
};
