#pragma once
// The search dialog ("Test Search"): up to three conditions on the tests' related information, the
// matching tests in a grid (newest first). Double-clicking a test hides the dialog with SearchCancelled
// False, so the open dialog can take the test's name; "Cancel && Return" hides it with SearchCancelled True.
#include "store/TestSearch.h"

#include <QDialog>
#include <array>

struct AppContext;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

class frmSearch : public QDialog {
    Q_OBJECT
public:
    explicit frmSearch(AppContext &context, QWidget *parent = nullptr);

    // True: the caller must ignore the grid.
    bool SearchCancelled = true;

    // The test name (column 0) of the grid's current row; "" when no test row is current.
    QString selectedTestName() const;
    // The conditions as the boxes hold them (k = 0..2).
    std::array<TestSearch::Condition, 3> conditions() const;

    void cmdSearch_Click();
    void cmdClear_Click();
    void MSFlexGrid1_DblClick();
    void Command1_Click();

    // Closing through the frame or Escape is "Cancel && Return".
    void reject() override;

private:
    AppContext &ctx_;
    std::array<QComboBox *, 3> Combo1_{};
    std::array<QComboBox *, 3> cmbmath1_{};
    std::array<QLineEdit *, 3> Text1_{};
    QTableWidget *MSFlexGrid1_ = nullptr;
    QPushButton *cmdSearch_ = nullptr;
    QPushButton *cmdClear_ = nullptr;
    QPushButton *Command1_ = nullptr;
};
