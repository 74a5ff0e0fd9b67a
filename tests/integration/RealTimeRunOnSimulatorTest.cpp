// A whole real-time run through QtSerialPort and a pseudo-terminal into the simulated instrument, at twenty
// times the real pace: the sequence is sent, the test named, started, read tick by tick until the
// instrument's end byte, and the database then holds exactly the points the record rates call for.
//
// The kill test runs such a run in a child process (this executable again), kills it with SIGKILL in the
// middle, and checks that every point the child had reported stored is in the database, which passes
// SQLite's integrity check.
#include "link/SequenceDownload.h"
#include "platform/ChartModel.h"
#include "realtime/RealTimeNaming.h"
#include "realtime/RealTimeSession.h"
#include "store/Database.h"
#include "store/SqlDialect.h"
#include "store/TestLibrary.h"
#include "tests/integration/RealTimeScaledClock.h"
#include "tests/integration/SimulatedLine.h"
#include "tests/support/PostgresServer.h"
#include "tests/support/TempDir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QVariant>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

constexpr double kRate = 20.0; // simulated seconds per real second, on both sides of the line
const char *const kChildDirVariable = "K7100_REALTIME_KILL_CHILD_DIR";

struct Step {
    int seconds;
    int temperatureF;
    double rpm;
    int recordRate;
};

// The program, the database and the simulated instrument on one pseudo-terminal.
class SimulatedBench {
public:
    // failures: simulator failure modes ("quiet-after=10:15", ...).
    explicit SimulatedBench(const QString &dbPath, const QStringList &failures = {}) : line(options(failures), clock)
    {
        QString error;
        ok = line.ok && db.open(dbPath, &error);
        lastError = line.ok ? error : line.error;
        ctx.database = &db;
    }

    static SimulatorOptions options(const QStringList &failures)
    {
        SimulatorOptions o;
        o.rate = kRate;
        o.heaterTimeConstant = 0.0;
        o.failures.splitDelayMs = 300; // each message arrives in two pieces, often in different ticks
        for (const QString &f : failures)
            EXPECT_TRUE(o.failures.add(f).isEmpty()) << f.toStdString();
        return o;
    }

    bool addSequence(const QString &name, const QList<Step> &steps)
    {
        QSqlQuery q(db.connection());
        q.prepare(QStringLiteral("INSERT INTO SequenceName (SequenceId, SequenceName, Rbfactor) VALUES (1, ?, 1)"));
        q.addBindValue(name);
        if (!q.exec())
            return false;
        int n = 1;
        for (const Step &s : steps) {
            q.prepare(QStringLiteral("INSERT INTO SequenceSetup VALUES (1, ?, ?, ?, ?, ?)"));
            for (const QVariant &v : {QVariant(n++), QVariant(s.seconds), QVariant(s.temperatureF), QVariant(s.rpm),
                                      QVariant(s.recordRate)})
                q.addBindValue(v);
            if (!q.exec())
                return false;
        }
        state.CurrentSequence = name;
        return true;
    }

    // Sends the sequence and names the test; true when the instrument holds the steps and the test is named.
    bool prepare(const QString &sequence, const QString &testName, RealTimeSession &session)
    {
        if (!SequenceDownload::send(ctx, sequence, 1, progress))
            return false;
        if (!QTest::qWaitFor([&] { return host->simulator().downloadsReceived() == 1; }, 5000))
            return false;
        TestLibrary library(db.connection());
        RealTimeNaming naming(state, prompts, clock, library);
        naming.load();
        RealTimeNamingFields fields{testName,  QString(), QString(), QStringLiteral("Lab"),
                                    QString(), QString(), QString()};
        if (!naming.accept(fields))
            return false;
        session.load();
        session.setNamed(true, naming.testName());
        return true;
    }

    // Ticks the session once a simulated second until it stops (or the real-time limit passes); `afterTick`
    // runs after each tick.
    void run(RealTimeSession &session, int limitMs, const std::function<void()> &afterTick = {})
    {
        session.timer()->stop(); // this loop is the timer, at the simulated pace
        QElapsedTimer limit;
        limit.start();
        while (session.isRunning() && limit.elapsed() < limitMs) {
            clock.wait(1.0, true);
            session.tick();
            if (afterTick)
                afterTick();
        }
    }

    RealTimeScaledClock clock{kRate};
    SimulatedLine line;
    PtyHost *host = &line.host;
    ProgramState &state = line.state;
    ScriptedPrompts &prompts = line.prompts;
    AppContext &ctx = line.ctx;
    bool ok = false;
    QString lastError;
    Database db;
    SilentProgress progress;
};

QList<QPair<int, int>> expectedPoints(const QList<Step> &steps)
{
    QList<QPair<int, int>> out;
    for (int n = 0; n < steps.size(); ++n)
        for (int s = 1; s <= steps[n].seconds; ++s)
            if (s % steps[n].recordRate == 0)
                out << qMakePair(n + 1, s);
    return out;
}

QList<QPair<int, int>> storedPoints(const QSqlDatabase &db, int testId)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT StepNo, Time FROM TestResult WHERE TestId = ? ORDER BY ")
              + SqlDialect::of(db).storedOrder());
    q.addBindValue(testId);
    q.exec();
    QList<QPair<int, int>> out;
    while (q.next())
        out << qMakePair(q.value(0).toInt(), q.value(1).toInt());
    return out;
}

} // namespace

TEST(RealTimeOnSimulator, RunFromNamingToTheEndByteStoresExactlyTheRecordedPoints)
{
    TempDir dir;
    SimulatedBench bench(dir.file(Database::defaultFileName()));
    ASSERT_TRUE(bench.ok) << bench.lastError.toStdString();
    const QList<Step> steps = {{12, 120, 300, 3}, {10, 150, 0, 5}, {7, 100, 600, 7}};
    ASSERT_TRUE(bench.addSequence(QStringLiteral("Short"), steps));

    ChartModel chart;
    RealTimeSession session(bench.ctx, chart);
    ASSERT_TRUE(bench.prepare(QStringLiteral("Short"), QStringLiteral("Simulated run"), session))
        << bench.prompts.messageTexts().join(" | ").toStdString();
    const int testId = bench.state.NewTestId;

    session.start();
    ASSERT_TRUE(session.isRunning()) << bench.prompts.messageTexts().join(" | ").toStdString();
    bench.run(session, 20000);

    EXPECT_FALSE(session.isRunning());
    EXPECT_EQ(bench.prompts.messageTexts(), QStringList{QStringLiteral("Test is finished.")});
    EXPECT_EQ(session.statusText(), QStringLiteral("Test is finished."));
    EXPECT_EQ(session.elapsedCount(), 12 + 10 + 7);
    EXPECT_EQ(storedPoints(bench.db.connection(), testId), expectedPoints(steps));

    QSqlQuery q(bench.db.connection());
    q.prepare(QStringLiteral("SELECT MIN(Speed), MAX(Speed), MIN(Rbfactor), MAX(Rbfactor) FROM TestResult "
                             "WHERE TestId = ? AND StepNo = 2"));
    q.addBindValue(testId);
    ASSERT_TRUE(q.exec() && q.next());
    EXPECT_DOUBLE_EQ(q.value(0).toDouble(), 0.000001) << "the standing rotor's speed";
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 0.000001);
    EXPECT_EQ(q.value(2).toInt(), 1);
    EXPECT_EQ(q.value(3).toInt(), 1);
    EXPECT_EQ(chart.writtenCount(0), 12 + 10 + 7);
}

// Two workstations, each with its own instrument, recording into one database server at the same time.
TEST(RealTimeOnSimulator, TwoWorkstationsRecordIntoOneServerAtOnce_EveryReadingLandsUnderItsOwnTest)
{
    const QString uri = PostgresServer::newTestDatabase();
    ASSERT_FALSE(uri.isEmpty());
    SimulatedBench first(uri);
    SimulatedBench second(uri);
    ASSERT_TRUE(first.ok) << first.lastError.toStdString();
    ASSERT_TRUE(second.ok) << second.lastError.toStdString();
    const QList<Step> steps = {{12, 120, 300, 3}, {10, 150, 0, 5}, {7, 100, 600, 7}};
    ASSERT_TRUE(first.addSequence(QStringLiteral("Short"), steps));
    second.state.CurrentSequence = QStringLiteral("Short"); // the same sequence, stored once on the server

    ChartModel chartA, chartB;
    RealTimeSession a(first.ctx, chartA);
    RealTimeSession b(second.ctx, chartB);
    ASSERT_TRUE(first.prepare(QStringLiteral("Short"), QStringLiteral("Station 1"), a))
        << first.prompts.messageTexts().join(" | ").toStdString();
    ASSERT_TRUE(second.prepare(QStringLiteral("Short"), QStringLiteral("Station 2"), b))
        << second.prompts.messageTexts().join(" | ").toStdString();
    const int idA = first.state.NewTestId;
    const int idB = second.state.NewTestId;
    EXPECT_NE(idA, idB);

    a.start();
    b.start();
    ASSERT_TRUE(a.isRunning() && b.isRunning());
    a.timer()->stop();
    b.timer()->stop();
    QElapsedTimer limit;
    limit.start();
    while ((a.isRunning() || b.isRunning()) && limit.elapsed() < 30000) {
        first.clock.wait(1.0, true);
        if (a.isRunning())
            a.tick();
        if (b.isRunning())
            b.tick();
    }
    for (RealTimeSession *session : {&a, &b}) {
        EXPECT_FALSE(session->isRunning());
        EXPECT_EQ(session->statusText(), QStringLiteral("Test is finished."));
    }
    EXPECT_EQ(storedPoints(first.db.connection(), idA), expectedPoints(steps));
    EXPECT_EQ(storedPoints(first.db.connection(), idB), expectedPoints(steps));
    QSqlQuery q(first.db.connection());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM TestResult")) && q.next());
    EXPECT_EQ(q.value(0).toInt(), 2 * expectedPoints(steps).size());
}

// The child half of the kill test: a long run that reports each stored count on stdout until it is killed.
TEST(RealTimeOnSimulator, KillChild)
{
    const QString dirPath = qEnvironmentVariable(kChildDirVariable);
    if (dirPath.isEmpty())
        GTEST_SKIP() << "run by RealTimeOnSimulator.KilledMidRunKeepsEveryStoredPoint";
    SimulatedBench bench(dirPath + QStringLiteral("/") + Database::defaultFileName());
    ASSERT_TRUE(bench.ok);
    ASSERT_TRUE(bench.addSequence(QStringLiteral("Long"), {{3600, 120, 300, 1}}));
    ChartModel chart;
    RealTimeSession session(bench.ctx, chart);
    ASSERT_TRUE(bench.prepare(QStringLiteral("Long"), QStringLiteral("Killed run"), session));
    session.start();
    ASSERT_TRUE(session.isRunning());
    std::printf("testid %d\n", bench.state.NewTestId);
    std::fflush(stdout);
    bench.run(session, 60000, [&] {
        std::printf("stored %lld\n", static_cast<long long>(session.storedCount()));
        std::fflush(stdout);
    });
}

TEST(RealTimeOnSimulator, KilledMidRunKeepsEveryStoredPoint)
{
    if (!qEnvironmentVariableIsEmpty(kChildDirVariable))
        GTEST_SKIP();
    TempDir dir;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildDirVariable), dir.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=RealTimeOnSimulator.KillChild")});
    ASSERT_TRUE(child.waitForStarted(5000));

    int testId = 0;
    qint64 reported = 0;
    QByteArray pending;
    QElapsedTimer limit;
    limit.start();
    while (reported < 25 && limit.elapsed() < 60000 && child.state() == QProcess::Running) {
        child.waitForReadyRead(200);
        pending += child.readAllStandardOutput();
        qsizetype eol;
        while ((eol = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(eol).trimmed();
            pending.remove(0, eol + 1);
            if (line.startsWith("testid "))
                testId = line.mid(7).toInt();
            else if (line.startsWith("stored "))
                reported = line.mid(7).toLongLong();
        }
    }
    ASSERT_EQ(child.state(), QProcess::Running) << child.readAllStandardError().toStdString();
    ASSERT_GE(reported, 25);
    // Somewhere inside the next simulated second: between ticks or while a point is being written.
    QTest::qWait(int(QRandomGenerator::global()->bounded(50)));
    child.kill(); // SIGKILL: no handler, no flush, no clean close
    ASSERT_TRUE(child.waitForFinished(5000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

    Database db;
    QString error;
    ASSERT_TRUE(db.open(dir.file(Database::defaultFileName()), &error)) << error.toStdString();
    QSqlQuery q(db.connection());
    ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("ok"));

    // Every point reported stored is there, in order; at most the points of the tick under way when the
    // child died come on top.
    const QList<QPair<int, int>> stored = storedPoints(db.connection(), testId);
    RecordProperty("reported_stored", int(reported));
    RecordProperty("found_stored", int(stored.size()));
    ASSERT_GE(stored.size(), reported);
    EXPECT_LE(stored.size(), reported + 40);
    for (int i = 0; i < stored.size(); ++i)
        EXPECT_EQ(stored[i], qMakePair(1, i + 1)) << "point " << i;
}

TEST(RealTimeOnSimulator, InstrumentGoesQuietMidRun_StatusSaysSinceWhenAndTheRunGoesOn)
{
    TempDir dir;
    SimulatedBench bench(dir.file(Database::defaultFileName()), {QStringLiteral("quiet-after=10:15")});
    ASSERT_TRUE(bench.ok) << bench.lastError.toStdString();
    const QList<Step> steps = {{40, 120, 300, 1}};
    ASSERT_TRUE(bench.addSequence(QStringLiteral("Quiet"), steps));
    ChartModel chart;
    RealTimeSession session(bench.ctx, chart);
    ASSERT_TRUE(bench.prepare(QStringLiteral("Quiet"), QStringLiteral("Quiet run"), session));
    const int testId = bench.state.NewTestId;
    session.start();
    ASSERT_TRUE(session.isRunning());
    QStringList statuses;
    bench.run(session, 20000, [&] {
        if (statuses.isEmpty() || statuses.last() != session.statusText())
            statuses << session.statusText();
    });
    EXPECT_FALSE(session.isRunning());
    // In progress, then quiet (since the tenth reading), then in progress again until the end.
    ASSERT_EQ(statuses.size(), 4) << statuses.join(" | ").toStdString();
    EXPECT_EQ(statuses[0], RealTimeSession::inProgressText());
    EXPECT_TRUE(statuses[1].startsWith(QStringLiteral("No data from the K7100 since "))) << statuses[1].toStdString();
    EXPECT_EQ(statuses[2], RealTimeSession::inProgressText());
    EXPECT_EQ(statuses[3], RealTimeSession::finishedText());
    QList<QPair<int, int>> expected;
    for (int s = 1; s <= 40; ++s)
        if (s <= 10 || s > 25)
            expected << qMakePair(1, s);
    EXPECT_EQ(storedPoints(bench.db.connection(), testId), expected);
    EXPECT_EQ(bench.prompts.messageTexts(), QStringList{RealTimeSession::finishedText()});
}

TEST(RealTimeOnSimulator, Sqlite3ShellHoldsTheDatabaseForThreeSeconds_EveryReadingIsStored)
{
    TempDir dir;
    SimulatedBench bench(dir.file(Database::defaultFileName()));
    ASSERT_TRUE(bench.ok) << bench.lastError.toStdString();
    const QList<Step> steps = {{140, 120, 300, 1}}; // 7 s at twenty times the pace
    ASSERT_TRUE(bench.addSequence(QStringLiteral("Long"), steps));
    ChartModel chart;
    RealTimeSession session(bench.ctx, chart);
    ASSERT_TRUE(bench.prepare(QStringLiteral("Long"), QStringLiteral("Held run"), session));
    const int testId = bench.state.NewTestId;
    session.start();
    ASSERT_TRUE(session.isRunning());

    // Another process on the file: once a few readings are stored it takes the write lock, holds it for
    // three seconds, then lets go.
    QProcess shell;
    shell.setProcessChannelMode(QProcess::MergedChannels);
    shell.start(QStringLiteral("sqlite3"), {bench.db.path()});
    ASSERT_TRUE(shell.waitForStarted(5000)) << "the sqlite3 shell is needed (Debian package sqlite3)";
    QElapsedTimer held;
    QByteArray said;
    qsizetype mostWaiting = 0;
    bool released = false;
    bench.run(session, 30000, [&] {
        said += shell.readAll();
        mostWaiting = std::max(mostWaiting, session.waitingCount());
        if (!held.isValid() && session.storedCount() >= 10) {
            shell.write(".timeout 5000\nBEGIN EXCLUSIVE;\nSELECT 'held';\n");
            held.start();
        } else if (held.isValid() && !released && said.contains("held") && held.elapsed() >= 3000) {
            shell.write("COMMIT;\n");
            released = true;
        }
    });
    shell.write(".quit\n");
    shell.waitForFinished(5000);
    EXPECT_TRUE(released) << said.toStdString();
    EXPECT_FALSE(session.isRunning());
    EXPECT_GT(mostWaiting, 10) << "readings waited while the shell held the file";
    EXPECT_EQ(storedPoints(bench.db.connection(), testId), expectedPoints(steps));
    EXPECT_EQ(bench.prompts.messageTexts(), QStringList{RealTimeSession::finishedText()});
    ASSERT_EQ(bench.prompts.noticeTexts().size(), 1);
    EXPECT_TRUE(bench.prompts.noticeTexts()[0].contains(QStringLiteral("in use by another program")));
}
