#pragma once
// How far a long piece of work has come, and whether the user asked to stop it. The work writes it from
// whatever thread it runs on; the progress window reads it and sets the stop request from the
// user-interface thread. Every member is safe to use from two threads at once.
#include <QtGlobal>
#include <atomic>

class WorkProgress {
public:
    // The amount of work in any unit (rows, cells, bytes); 0 while unknown.
    void setTotal(qint64 total) { total_.store(total, std::memory_order_relaxed); }
    qint64 total() const { return total_.load(std::memory_order_relaxed); }
    void setDone(qint64 done) { done_.store(done, std::memory_order_relaxed); }
    qint64 done() const { return done_.load(std::memory_order_relaxed); }
    // Starts a new part of the work, counted from 0 again.
    void beginPart(qint64 total)
    {
        setDone(0);
        setTotal(total);
    }

    // Done per thousand, or -1 while the total is unknown.
    int perMille() const;

    void requestStop() { stop_.store(true, std::memory_order_relaxed); }
    bool stopRequested() const { return stop_.load(std::memory_order_relaxed); }

    // For a loop over many small items: at every 1024th item stores how many are done and tells whether
    // to stop (true: end the loop); in between it costs one test.
    bool checkpoint(qint64 done)
    {
        if ((done & 1023) != 0)
            return false;
        setDone(done);
        return stopRequested();
    }

private:
    std::atomic<qint64> total_{0};
    std::atomic<qint64> done_{0};
    std::atomic<bool> stop_{false};
};
