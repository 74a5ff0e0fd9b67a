// Long work run by the program's runner: on a thread of its own while the windows' event loop keeps
// turning, a progress window once it takes long, Cancel that asks the work to stop, and the work's
// exceptions back on the calling thread. The work and the test meet through semaphores, never through
// sleeps, so nothing here depends on how fast the machine is.
#include "platform/ThreadedWork.h"
#include "platform/WorkProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>

TEST(ThreadedWork, TheWorkRunsOnAnotherThreadWhileTheEventLoopTurns)
{
    ThreadedWork work;
    QThread *workThread = nullptr;
    QSemaphore tick;
    // The work can only end once a timer of this thread has fired: the loop must turn meanwhile.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] { tick.release(); });
    timer.start(0);
    const bool ran = work.run(QStringLiteral("Reading"), LongWork::Stop::NotOffered, [&](WorkProgress &) {
        workThread = QThread::currentThread();
        tick.acquire();
    });
    EXPECT_TRUE(ran);
    ASSERT_NE(workThread, nullptr);
    EXPECT_NE(workThread, QThread::currentThread());
}

TEST(ThreadedWork, QuickWorkShowsNoProgressWindow)
{
    ThreadedWork work;
    int shown = 0;
    QObject::connect(&work, &ThreadedWork::progressShown, [&] { ++shown; });
    int result = 0;
    EXPECT_TRUE(work.run(QStringLiteral("Quick"), LongWork::Stop::Offered, [&](WorkProgress &) { result = 42; }));
    EXPECT_EQ(result, 42);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(work.progressWindow(), nullptr);
}

TEST(ThreadedWork, LongWorkShowsItsProgressAndCancelAsksItToStop)
{
    ThreadedWork work;
    work.setShowDelay(0);
    work.setLingerTime(0);
    QSemaphore reported;
    QString label;
    QString barState;
    bool cancelVisible = false;
    QObject::connect(&work, &ThreadedWork::progressShown, [&] {
        // Seen by the user once the work has said how far it is: the label, the bar, then Cancel.
        QTimer::singleShot(0, [&] {
            reported.acquire();
            WorkProgressWindow *window = work.progressWindow();
            ASSERT_NE(window, nullptr);
            window->updateProgress();
            label = window->label();
            barState = QStringLiteral("%1/%2").arg(window->bar()->value()).arg(window->bar()->maximum());
            cancelVisible = window->cancelButton()->isVisible();
            EXPECT_TRUE(window->isModal());
            EXPECT_FALSE(window->bar()->accessibleName().isEmpty());
            window->cancelButton()->click();
        });
    });
    qint64 stoppedAt = -1;
    const bool ran = work.run(QStringLiteral("Writing the detailed workbook..."), LongWork::Stop::Offered,
                              [&](WorkProgress &progress) {
                                  progress.beginPart(1000);
                                  progress.setDone(250);
                                  reported.release();
                                  while (!progress.stopRequested())
                                      QThread::yieldCurrentThread();
                                  stoppedAt = progress.done();
                              });
    EXPECT_FALSE(ran);
    EXPECT_EQ(stoppedAt, 250);
    EXPECT_EQ(label, QStringLiteral("Writing the detailed workbook..."));
    EXPECT_EQ(barState, QStringLiteral("250/1000"));
    EXPECT_TRUE(cancelVisible);
}

TEST(ThreadedWork, WithoutCancelTheWindowCannotBeClosedBeforeTheWorkEnds)
{
    ThreadedWork work;
    work.setShowDelay(0);
    QSemaphore release;
    bool stopRequested = true;
    bool cancelVisible = true;
    QObject::connect(&work, &ThreadedWork::progressShown, [&] {
        QTimer::singleShot(0, [&] {
            WorkProgressWindow *window = work.progressWindow();
            ASSERT_NE(window, nullptr);
            cancelVisible = window->cancelButton()->isVisible();
            window->reject(); // Escape
            EXPECT_TRUE(window->isVisible());
            release.release();
        });
    });
    EXPECT_TRUE(work.run(QStringLiteral("Drawing the chart..."), LongWork::Stop::NotOffered, [&](WorkProgress &p) {
        release.acquire();
        stopRequested = p.stopRequested();
    }));
    EXPECT_FALSE(stopRequested);
    EXPECT_FALSE(cancelVisible);
}

TEST(ThreadedWork, TheNextPartOfACommandTakesOverTheWindowAndItGoesAfterwards)
{
    ThreadedWork work;
    work.setShowDelay(0);
    work.setLingerTime(10000); // only the next part or the end of the wait below closes it
    int shown = 0;
    QObject::connect(&work, &ThreadedWork::progressShown, [&] { ++shown; });
    QSemaphore go;
    QObject::connect(&work, &ThreadedWork::progressShown, [&] { QTimer::singleShot(0, [&] { go.release(); }); });
    work.run(QStringLiteral("Reading test"), LongWork::Stop::NotOffered, [&](WorkProgress &) { go.acquire(); });
    QPointer<WorkProgressWindow> first = work.progressWindow();
    ASSERT_TRUE(first);
    QString secondLabel;
    QTimer::singleShot(0, [&] {
        secondLabel = work.progressWindow() ? work.progressWindow()->label() : QString();
        go.release();
    });
    work.run(QStringLiteral("Drawing the chart..."), LongWork::Stop::NotOffered, [&](WorkProgress &) { go.acquire(); });
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(work.progressWindow(), first.data());
    EXPECT_EQ(secondLabel, QStringLiteral("Drawing the chart..."));

    work.setLingerTime(0);
    work.run(QString(), LongWork::Stop::NotOffered, [](WorkProgress &) {});
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }, 5000));
    EXPECT_EQ(work.progressWindow(), nullptr);
}

TEST(ThreadedWork, AnExceptionOfTheWorkComesOutOnTheCallingThread)
{
    ThreadedWork work;
    EXPECT_THROW(work.run(QStringLiteral("Failing"), LongWork::Stop::NotOffered,
                          [](WorkProgress &) { throw std::runtime_error("disk gone"); }),
                 std::runtime_error);
}

TEST(ThreadedWork, WorkStartedWhileWaitingRunsAtOnce)
{
    ThreadedWork work;
    QThread *innerThread = nullptr;
    QSemaphore done;
    QTimer::singleShot(0, [&] {
        work.run(QStringLiteral("Inner"), LongWork::Stop::NotOffered,
                 [&](WorkProgress &) { innerThread = QThread::currentThread(); });
        done.release();
    });
    work.run(QStringLiteral("Outer"), LongWork::Stop::NotOffered, [&](WorkProgress &) { done.acquire(); });
    EXPECT_EQ(innerThread, QThread::currentThread());
}
