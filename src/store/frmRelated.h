#pragma once
// The related-information dialog ("Related Information "): names and describes a test being stored
// (NewTestMode True) or edits the description of the open test. The work is RelatedInfoEntry's; this
// window shows the fields and the outcome.
#include "store/RelatedInfoEntry.h"
#include "store/TestLibrary.h"

#include <QDialog>

struct AppContext;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

class frmRelated : public QDialog {
    Q_OBJECT
public:
    explicit frmRelated(AppContext &context, QWidget *parent = nullptr);

    // The main window's "Related &Information" command and the retrieve command: shows the dialog
    // modally and returns RelatedOk. With NewTestMode True a confirmed dialog has stored the new test's
    // row and set CurrentTestName and NewTestId.
    static bool run(AppContext &context, QWidget *parent);

    void cmdok_Click();
    void cmdCancel_Click();

    // Closing through the frame or Escape is Cancel.
    void reject() override;

private:
    AppContext &ctx_;
    TestLibrary library_;
    RelatedInfoEntry entry_;
    QLineEdit *txtTestName_ = nullptr;
    QLineEdit *txtMudId_ = nullptr;
    QLineEdit *txtSampleTime_ = nullptr;
    QLineEdit *txtCompanyName_ = nullptr;
    QPlainTextEdit *txtDesc_ = nullptr;
    QPushButton *cmdok_ = nullptr;
    QPushButton *cmdCancel_ = nullptr;
    QStatusBar *StatusBar1_ = nullptr;
    QLabel *statusPanel_ = nullptr;
};
