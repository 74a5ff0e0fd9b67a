#pragma once
// Test clock: time moves only when someone waits on it or a test advances it. Listeners run at every
// advance (a fake instrument uses them to answer "after 0.2 s").
#include "platform/Clock.h"

#include <QList>
#include <functional>

class VirtualClock : public Clock {
public:
    double now() const override { return now_; }
    QDateTime currentDateTime() const override { return start_.addMSecs(qint64(now_ * 1000.0)); }
    void wait(double seconds, bool userInput) override;

    void advance(double seconds);
    void setStartDateTime(const QDateTime &dt) { start_ = dt; }
    void onAdvance(std::function<void(double now)> listener) { listeners_.append(std::move(listener)); }

    // Every wait the code under test made: (start time, seconds, with user input).
    struct Wait {
        double at;
        double seconds;
        bool userInput;
    };
    QList<Wait> waits;

private:
    double now_ = 1000.0;
    QDateTime start_ = QDateTime(QDate(2026, 1, 15), QTime(9, 0, 0));
    QList<std::function<void(double)>> listeners_;
};
