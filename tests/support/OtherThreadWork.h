#pragma once
// Long work for tests of logic: runs the work on a thread of its own and waits for it, so a test sees
// what the work does away from the thread that owns the database connection (no event loop, no window).
#include "platform/LongWork.h"

#include <QStringList>
#include <exception>
#include <thread>

class OtherThreadWork : public LongWork {
public:
    QStringList labels; // every work run, in order

    bool run(const QString &label, Stop, const std::function<void(WorkProgress &)> &work) override
    {
        labels << label;
        WorkProgress progress;
        std::exception_ptr failure;
        std::thread thread([&] {
            try {
                work(progress);
            } catch (...) {
                failure = std::current_exception();
            }
        });
        thread.join();
        if (failure)
            std::rethrow_exception(failure);
        return !progress.stopRequested();
    }
};
