// A run recording into a database on a PostgreSQL server that is stopped and started again in the middle
// of the run: the readings wait in memory, the status bar says why, and once the server is back every
// reading is stored, once and in order.
#include "tests/realtime/SessionFixture.h"
#include "tests/support/PostgresServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

namespace {

class ServerRecordingTest : public RealTimeSessionFixture {
protected:
    void SetUp() override
    {
        QString error;
        server = PostgresServer::shared(&error);
        ASSERT_NE(server, nullptr) << error.toStdString();
        const QString uri = PostgresServer::newTestDatabase();
        ASSERT_TRUE(fx.database.open(uri, &error)) << error.toStdString();
        RealTimeSessionFixture::SetUp();
    }

    // Ticks of the run, one reading each, until nothing waits (the writer reconnects on its own schedule,
    // which is real time); the seconds of the readings delivered go to *seconds.
    void deliverUntilStored(int from, QList<int> *seconds)
    {
        QElapsedTimer waited;
        waited.start();
        for (int s = from; session->waitingCount() > 0 && waited.elapsed() < 20000; s += 10) {
            deliver(stepOne(s));
            *seconds << s;
            if (session->waitingCount() > 0)
                QThread::msleep(200);
        }
    }

    PostgresServer *server = nullptr;
};

} // namespace

TEST_F(ServerRecordingTest, ServerStoppedAndStartedAgainMidRun_ReadingsWaitAndAreStoredOnceInOrder)
{
    startRunning();
    deliver(stepOne(10));
    ASSERT_EQ(rows(), stepOneRows({10}));

    QString error;
    ASSERT_TRUE(server->stop(&error)) << error.toStdString();
    QList<int> seconds{10};
    for (int s = 100; s <= 140; s += 5) {
        deliver(stepOne(s)); // record rate 10: 100, 110, ... 140 are kept
        if (s % 10 == 0)
            seconds << s;
    }
    EXPECT_TRUE(session->isRunning());
    EXPECT_EQ(session->waitingCount(), 5);
    EXPECT_EQ(session->waitingText(),
              QStringLiteral("5 readings waiting: the connection to the database server was lost; reconnecting"));
    ASSERT_EQ(fx.prompts.noticeTexts().size(), 1);
    EXPECT_TRUE(fx.prompts.noticeTexts()[0].contains(QStringLiteral("the connection to the database server was lost")))
        << fx.prompts.noticeTexts()[0].toStdString();
    EXPECT_TRUE(fx.prompts.messageTexts().isEmpty());

    ASSERT_TRUE(server->restart(&error)) << error.toStdString();
    deliverUntilStored(150, &seconds);
    EXPECT_EQ(session->waitingCount(), 0);
    EXPECT_TRUE(session->waitingText().isEmpty());
    ASSERT_TRUE(fx.database.reconnectIfLost(&error)) << error.toStdString();
    EXPECT_EQ(rows(), stepOneRows(seconds));
    session->stop();
    EXPECT_EQ(rows(), stepOneRows(seconds));
    EXPECT_TRUE(QDir(fx.dir.path()).entryList({QStringLiteral("K7100 recovered - *.csv")}, QDir::Files).isEmpty());
}
