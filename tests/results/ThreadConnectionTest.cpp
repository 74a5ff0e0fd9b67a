// Reading a stored test on a worker thread: through a connection of the worker's own, and once more on the
// calling thread when that connection cannot be opened; the open, overlay and grid paths through it.
#include "results/ThreadConnection.h"
#include "common/ProgramState.h"
#include "results/ResultGridModel.h"
#include "results/ResultQuery.h"
#include "tests/results/StoredTestFixture.h"
#include "tests/support/OtherThreadWork.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct ThreadConnectionTest : ::testing::Test {
    StoredTestFixture store;
    OtherThreadWork work;
    ProgramState state;

    ThreadConnectionTest()
    {
        store.addTest(1, "Mud A", {point(1, 10, 600, 300, 2), point(1, 20, 600, 310, 2), point(2, 10, 3, 40, 2)});
        state.CurrentTestName = QStringLiteral("Mud A");
    }

    // Takes the database file away from new connections: the open one keeps reading it, a new one fails.
    void replaceFileByFolder()
    {
        const QString path = store.database().path();
        ASSERT_TRUE(QFile::rename(path, path + QStringLiteral(".moved")));
        ASSERT_TRUE(QDir().mkdir(path));
    }
};

} // namespace

TEST_F(ThreadConnectionTest, AWorkerReadsThroughAConnectionOfItsOwn)
{
    QString usedName;
    QThread *usedOn = nullptr;
    int rows = 0;
    ThreadConnection::read(work, QStringLiteral("Reading"), store.db(), [&](const QSqlDatabase &db, WorkProgress &) {
        usedName = db.connectionName();
        usedOn = QThread::currentThread();
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM TestResult")) && q.next());
        rows = q.value(0).toInt();
    });
    EXPECT_NE(usedOn, QThread::currentThread());
    EXPECT_NE(usedName, store.db().connectionName());
    EXPECT_EQ(rows, 3);
    EXPECT_FALSE(QSqlDatabase::contains(usedName)) << "the worker's connection is removed afterwards";

    // Made on the connection's own thread it is that connection.
    const ThreadConnection here(store.db(), QThread::currentThread());
    EXPECT_EQ(here.connection().connectionName(), store.db().connectionName());
}

TEST_F(ThreadConnectionTest, WhenTheWorkersConnectionCannotOpenTheTestIsReadHere)
{
    replaceFileByFolder();
    ResultGridModel grid;
    ResultQuery query(store.db(), state);
    EXPECT_EQ(grid.LoadResultGrid(query, work, QStringLiteral("Reading test")), 3);
    EXPECT_EQ(state.RotorBob, 2) << "dosql's rotor-bob state reaches the program's state";
    EXPECT_EQ(work.labels, QStringList{QStringLiteral("Reading test")});
}

TEST_F(ThreadConnectionTest, TheGridLoadOnAWorkerGivesWhatDosqlGivesHere)
{
    ResultGridModel grid;
    ResultQuery query(store.db(), state);
    state.RateFactor = 7.0f; // dosql resets it and sets the test's own
    ASSERT_EQ(grid.LoadResultGrid(query, work, QStringLiteral("Reading test")), 3);
    ProgramState here;
    here.CurrentTestName = state.CurrentTestName;
    const ResultTable expected = ResultQuery(store.db(), here).dosql();
    ASSERT_EQ(grid.results().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(grid.results()[i].v, expected[i].v);
    EXPECT_EQ(RotorBobState::of(state).RateFactor, here.RateFactor);
    EXPECT_EQ(state.RotorBob, here.RotorBob);
    EXPECT_EQ(grid.derived().LastStep, 2);
}
