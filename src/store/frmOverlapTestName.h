#pragma once
// The overlap selection dialog ("Overlap Test Selection"): pick a stored test to draw over the open one.
// Leaves the name in OverlapTestName; Cancel leaves OverlapTestName as it was.
#include <QDialog>

struct AppContext;
class QListWidget;
class QPushButton;

class frmOverlapTestName : public QDialog {
    Q_OBJECT
public:
    explicit frmOverlapTestName(AppContext &context, QWidget *parent = nullptr);

    // The overlap command's entry: shows the dialog modally; afterwards OverlapTestName holds the choice.
    static void choose(AppContext &context, QWidget *parent);

    void cmdOk_Click();
    void cmdCancel_Click();
    void List1_DblClick();

private:
    AppContext &ctx_;
    QListWidget *List1_ = nullptr;
    QPushButton *cmdOk_ = nullptr;
    QPushButton *cmdCancel_ = nullptr;
};
