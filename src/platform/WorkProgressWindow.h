#pragma once
// The small window long work shows after half a second: what is being done, a bar of how far it is (a
// moving bar while the amount is unknown) and, when the work can be stopped, a Cancel button. Cancel,
// Escape and the close box ask the work to stop; the window stays until the work has ended, so nothing
// else can be started meanwhile.
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class WorkProgress;

class WorkProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit WorkProgressWindow(QWidget *parent = nullptr);

    // Shows a new work: its label, whether Cancel is offered, the progress it reports.
    void follow(const QString &label, bool stopOffered, WorkProgress *progress);
    // Reads the followed progress into the bar.
    void updateProgress();

    QString label() const;
    QProgressBar *bar() const { return bar_; }
    QPushButton *cancelButton() const { return cancel_; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void stop();

    QLabel *label_ = nullptr;
    QProgressBar *bar_ = nullptr;
    QPushButton *cancel_ = nullptr;
    WorkProgress *progress_ = nullptr;
    bool stopOffered_ = false;
};
