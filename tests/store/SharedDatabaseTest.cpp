// Several programs on one database, on a file and on a server alike: new TestIds chosen inside the
// transaction that stores them, two runs recording at once, a test being recorded elsewhere kept from
// deletion, and a test stored by one program seen by another.
#include "realtime/RecordedPoint.h"
#include "realtime/TestResultWriter.h"
#include "store/Connection.h"
#include "store/RecordingClaims.h"
#include "store/StoredPoints.h"
#include "store/TestLibrary.h"
#include "store/WriteTransaction.h"
#include "tests/store/LibraryFixture.h"
#include "tests/support/VirtualClock.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

#include <thread>

namespace {

class SharedDatabase : public EngineTest {
protected:
    LibraryFixture fx{GetParam()};
};
K7_ON_BOTH_ENGINES(SharedDatabase);

RelatedInfoRecord named(const QString &name)
{
    return RelatedInfoRecord{0, name, "N/A", {}, {}, {}, {}};
}

RecordedPoint reading(qint64 testId, int n)
{
    RecordedPoint p;
    p.testId = testId;
    p.stepNo = 1 + n / 100;
    p.time = n;
    p.temperature = 120;
    p.speed = 300;
    p.shearStress = n * 0.5;
    p.gel = 0;
    p.rbFactor = 1;
    return p;
}

} // namespace

TEST_P(SharedDatabase, ANewTestIdIsChosenInsideTheTransactionAndSkipsIdsThatStillHavePoints)
{
    TestLibrary library(fx.db());
    // Points left without their test (another program went on recording a deleted test).
    QSqlQuery q(fx.db());
    ASSERT_TRUE(q.exec("INSERT INTO TestResult (TestId, StepNo, Time) VALUES (12, 1, 10)"));
    fx.addTest(3, "three", 1);
    EXPECT_EQ(library.nextTestId(), 13);
    const auto id = library.addTest(named("new"));
    ASSERT_TRUE(id);
    EXPECT_EQ(*id, 13);
    EXPECT_EQ(StoredPoints::read(fx.db(), *id).size(), 0);

    // Program B is storing a test of its own right now: A cannot take an id until B is done, and then
    // takes the next one.
    Connection programB;
    ASSERT_TRUE(programB.open(fx.location(), 100));
    TestLibrary libraryB(programB.db());
    WriteTransaction inB(programB.db());
    ASSERT_TRUE(inB.isOpen());
    const auto idB = libraryB.addTestInTransaction(named("from B"));
    ASSERT_TRUE(idB);
    Connection programA;
    ASSERT_TRUE(programA.open(fx.location(), 100));
    TestLibrary libraryA(programA.db());
    EXPECT_FALSE(libraryA.addTest(named("from A")));
    EXPECT_TRUE(libraryA.lastError().startsWith("the database is in use by another program"))
        << libraryA.lastError().toStdString();
    ASSERT_TRUE(inB.commit());
    const auto idA = libraryA.addTest(named("from A"));
    ASSERT_TRUE(idA);
    EXPECT_EQ(*idA, *idB + 1);
    // The same name from two programs: the second is refused inside its transaction.
    EXPECT_FALSE(libraryB.addTest(named("FROM A")));
}

TEST_P(SharedDatabase, TwoWorkstationsAddingTestsAtOnceGetDistinctIds)
{
    constexpr int perWorkstation = 25;
    auto workstation = [&](const QString &prefix, QList<int> *ids, QString *error) {
        Connection connection;
        if (!connection.open(fx.location(), 20000, Connection::Mode::ReadWrite, error))
            return;
        TestLibrary library(connection.db());
        for (int i = 0; i < perWorkstation; ++i) {
            const auto id = library.addTest(named(QString("%1 %2").arg(prefix).arg(i)));
            if (!id) {
                *error = library.lastError();
                return;
            }
            *ids << *id;
        }
    };
    QList<int> idsA, idsB;
    QString errorA, errorB;
    std::thread a(workstation, QStringLiteral("A"), &idsA, &errorA);
    std::thread b(workstation, QStringLiteral("B"), &idsB, &errorB);
    a.join();
    b.join();
    EXPECT_TRUE(errorA.isEmpty()) << errorA.toStdString();
    EXPECT_TRUE(errorB.isEmpty()) << errorB.toStdString();
    QList<int> all = idsA + idsB;
    std::sort(all.begin(), all.end());
    ASSERT_EQ(all.size(), 2 * perWorkstation);
    EXPECT_TRUE(std::adjacent_find(all.begin(), all.end()) == all.end()) << "an id was given twice";
    EXPECT_EQ(fx.count("SELECT count(DISTINCT TestId) FROM RelatedInfo"), 2 * perWorkstation);
    // Each workstation's own tests are the ones it was given ids for.
    TestLibrary library(fx.db());
    for (int i = 0; i < perWorkstation; ++i) {
        EXPECT_EQ(library.find(QString("A %1").arg(i))->testId, idsA[i]);
        EXPECT_EQ(library.find(QString("B %1").arg(i))->testId, idsB[i]);
    }
}

TEST_P(SharedDatabase, TwoRunsRecordingAtOnceStoreEveryReadingUnderTheirOwnTest)
{
    TestLibrary library(fx.db());
    const auto first = library.addTest(named("run one"));
    const auto second = library.addTest(named("run two"));
    ASSERT_TRUE(first && second);
    constexpr int readings = 600;
    auto run = [&](qint64 testId, const QString &name, qint64 *written) {
        TestResultWriter writer(fx.location(), testId, name);
        writer.begin();
        VirtualClock clock;
        for (int n = 0; n < readings; ++n) {
            writer.append(reading(testId, n));
            if (n % 7 == 6)
                writer.flush(); // one tick
        }
        writer.finish(clock, 20);
        *written = writer.written();
    };
    qint64 writtenOne = 0, writtenTwo = 0;
    std::thread one(run, *first, QStringLiteral("run one"), &writtenOne);
    std::thread two(run, *second, QStringLiteral("run two"), &writtenTwo);
    one.join();
    two.join();
    EXPECT_EQ(writtenOne, readings);
    EXPECT_EQ(writtenTwo, readings);
    for (const int id : {*first, *second}) {
        SCOPED_TRACE(id);
        const TestPoints points = StoredPoints::read(fx.db(), id);
        ASSERT_EQ(points.size(), readings);
        for (int n = 0; n < readings; ++n) {
            ASSERT_EQ(points[n].time, n) << "in the order taken";
            ASSERT_EQ(points[n].shearStress, n * 0.5);
        }
    }
    EXPECT_EQ(fx.count("SELECT count(*) FROM TestResult"), 2 * readings);
}

TEST_P(SharedDatabase, ATestBeingRecordedElsewhereCannotBeDeletedUntilItsRunEnds)
{
    TestLibrary library(fx.db());
    const auto id = library.addTest(named("Recording"));
    ASSERT_TRUE(id);
    VirtualClock clock;
    {
        // The run of another program, on a connection of its own.
        TestResultWriter writer(fx.location(), *id, "Recording");
        ASSERT_EQ(writer.begin(), TestResultWriter::State::Written);
        writer.append(reading(*id, 0));
        ASSERT_EQ(writer.flush(), TestResultWriter::State::Written);
        EXPECT_EQ(library.deleteTest("recording"), TestLibrary::DeleteOutcome::BeingRecorded);
        EXPECT_TRUE(library.lastError().contains("is being recorded right now"));
        EXPECT_EQ(fx.count("SELECT count(*) FROM TestResult"), 1);
        writer.finish(clock);
    }
    EXPECT_EQ(library.deleteTest("recording"), TestLibrary::DeleteOutcome::Deleted);
    EXPECT_EQ(fx.count("SELECT count(*) FROM TestResult"), 0);
}

TEST_P(SharedDatabase, AClaimBlocksDeletingOnlyWhileItsProgramIsAlive)
{
    struct Case {
        const char *name;
        qint64 heartbeatAge;
        TestLibrary::DeleteOutcome outcome;
    };
    const Case cases[] = {
        {"renewed just now", 0, TestLibrary::DeleteOutcome::BeingRecorded},
        {"renewed a minute ago", 60, TestLibrary::DeleteOutcome::BeingRecorded},
        {"program killed long ago", RecordingClaims::StaleSeconds + 1, TestLibrary::DeleteOutcome::Deleted},
    };
    int id = 1;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fx.addTest(id, QString("t%1").arg(id), 4);
        ASSERT_TRUE(RecordingClaims::renew(fx.db(), id, "other-pc/99/x", RecordingClaims::now() - c.heartbeatAge));
        TestLibrary library(fx.db());
        EXPECT_EQ(library.deleteTest(QString("t%1").arg(id)), c.outcome);
        const bool deleted = c.outcome == TestLibrary::DeleteOutcome::Deleted;
        EXPECT_EQ(fx.count(QString("SELECT count(*) FROM TestResult WHERE TestId = %1").arg(id)), deleted ? 0 : 4);
        EXPECT_EQ(fx.count(QString("SELECT count(*) FROM RecordingClaim WHERE TestId = %1").arg(id)), deleted ? 0 : 1);
        ++id;
    }
}

TEST_P(SharedDatabase, ATestStoredByOneProgramIsListedByAnotherAlreadyConnected)
{
    Connection other;
    ASSERT_TRUE(other.open(fx.location(), 1000));
    TestLibrary otherLibrary(other.db());
    EXPECT_TRUE(otherLibrary.testNamesNewestFirst().isEmpty());
    TestLibrary library(fx.db());
    ASSERT_TRUE(library.addTest(named("Stored here")));
    EXPECT_EQ(otherLibrary.testNamesNewestFirst(), QStringList{"Stored here"});
    EXPECT_TRUE(otherLibrary.find("STORED HERE").has_value());
}
