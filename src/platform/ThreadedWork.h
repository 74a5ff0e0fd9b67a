#pragma once
// The program's LongWork. The work runs on a thread of its own while the calling (user-interface) thread
// turns its event loop, so windows keep repainting and timers keep ticking; user input waits until the
// work is done. Once the work has taken showDelay() (half a second), an application-modal progress window
// says what is being done, how far it is, and offers Cancel when the caller allows it.
//
// A command of several parts (the open command reads the test, then draws its chart) shows one window:
// a window still up when the next work starts within lingerTime() is taken over by it.
#include "platform/LongWork.h"
#include "platform/WorkProgressWindow.h"

#include <QObject>
#include <QPointer>

class QTimer;

class ThreadedWork : public QObject, public LongWork {
    Q_OBJECT
public:
    explicit ThreadedWork(QObject *parent = nullptr);
    ~ThreadedWork() override;

    bool run(const QString &label, Stop stop, const std::function<void(WorkProgress &)> &work) override;

    void setShowDelay(int ms) { showDelayMs_ = ms; }
    int showDelay() const { return showDelayMs_; }
    void setLingerTime(int ms) { lingerMs_ = ms; }
    int lingerTime() const { return lingerMs_; }

    // The progress window while it is shown (for tests and screenshots).
    WorkProgressWindow *progressWindow() const { return window_; }

signals:
    // The progress window came up for a work, or was taken over by the next part (it shows `label`).
    void progressShown(const QString &label);

private:
    void closeWindow();

    int showDelayMs_ = 500;
    int lingerMs_ = 200;
    bool busy_ = false;
    QPointer<WorkProgressWindow> window_;
    QTimer *linger_ = nullptr;
};
