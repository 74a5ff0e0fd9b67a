#include "platform/ThreadedWork.h"

#include "platform/WorkProgressWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <exception>
#include <memory>

ThreadedWork::ThreadedWork(QObject *parent) : QObject(parent)
{
    linger_ = new QTimer(this);
    linger_->setSingleShot(true);
    connect(linger_, &QTimer::timeout, this, &ThreadedWork::closeWindow);
}

ThreadedWork::~ThreadedWork()
{
    delete window_;
}

void ThreadedWork::closeWindow()
{
    if (window_) {
        window_->close();
        window_->deleteLater();
    }
    window_ = nullptr;
}

bool ThreadedWork::run(const QString &label, Stop stop, const std::function<void(WorkProgress &)> &work)
{
    // Work started while other work is waited for (from a timer, say) runs at once: one worker at a time.
    if (busy_)
        return ImmediateWork().run(label, stop, work);
    busy_ = true;
    struct Idle {
        bool &busy;
        ~Idle() { busy = false; }
    } idle{busy_};

    WorkProgress progress;
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
        // Posted after `finished` is set: a loop that saw it unset is still woken by this.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    }));
    thread->setObjectName(QStringLiteral("k7100-work"));
    thread->start();

    if (window_) {
        // The window of the part before is still up: this part takes it over.
        linger_->stop();
        window_->follow(label, stop == Stop::Offered, &progress);
        emit progressShown(label);
    } else {
        QTimer wait;
        wait.setSingleShot(true);
        connect(&wait, &QTimer::timeout, &loop, &QEventLoop::quit);
        wait.start(showDelayMs_);
        while (!finished.load() && wait.isActive())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        if (!finished.load()) {
            window_ = new WorkProgressWindow(QApplication::activeWindow());
            window_->follow(label, stop == Stop::Offered, &progress);
            window_->show();
            emit progressShown(label);
        }
    }
    if (!finished.load()) {
        window_->follow(label, stop == Stop::Offered, &progress);
        QTimer poll;
        poll.setInterval(100);
        connect(&poll, &QTimer::timeout, window_, &WorkProgressWindow::updateProgress);
        poll.start();
        while (!finished.load())
            loop.exec();
    }
    thread->wait();
    if (window_) {
        // The window no longer follows this work's progress, which ends here.
        window_->follow(label, false, nullptr);
        linger_->start(lingerMs_);
    }
    if (failure)
        std::rethrow_exception(failure);
    return !progress.stopRequested();
}
