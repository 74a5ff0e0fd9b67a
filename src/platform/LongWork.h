#pragma once
// Runs work that can take long on a test of a million points (reading it, sorting a chart, writing a
// report) so that the windows keep answering. The program's implementation (ThreadedWork) runs the work
// on a worker thread, keeps the windows repainting meanwhile and shows a progress window once the work
// has taken about half a second; ImmediateWork runs it at once on the calling thread (tests, tools).
//
// The work must not touch anything the user-interface thread owns: no window, no model shown in one, no
// database connection opened there (a connection may only be used by the thread that opened it). It reads
// what it was given, builds its result, and the caller applies that result after run() returns.
#include "platform/WorkProgress.h"

#include <QString>
#include <functional>

class LongWork {
public:
    enum class Stop { NotOffered, Offered };

    virtual ~LongWork() = default;

    // Runs work to its end. label says what is being done ("Opening test ..."). With Stop::Offered the
    // progress window has a Cancel button, which sets WorkProgress::requestStop(); the work should look
    // at stopRequested() now and then and return early. True when the work ran without a stop request.
    // An exception thrown by the work comes out of run() on the calling thread.
    virtual bool run(const QString &label, Stop stop, const std::function<void(WorkProgress &)> &work) = 0;

    // The given runner, or an ImmediateWork when there is none.
    static LongWork &orImmediate(LongWork *work);
};

class ImmediateWork : public LongWork {
public:
    bool run(const QString &label, Stop stop, const std::function<void(WorkProgress &)> &work) override;
};
