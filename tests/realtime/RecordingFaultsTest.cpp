// The real-time recording under the faults of a lab: another program holding the database, a full disk,
// a test deleted by another program, two programs recording into one file, an instrument that goes quiet,
// and the program ending during a run. Each case checks exactly which readings are in the database
// afterwards (and in the recovery file, read back and imported).
#include "realtime/TestResultWriter.h"
#include "store/DatabaseCommands.h"
#include "store/RecordingClaims.h"
#include "store/RecoveredTests.h"
#include "store/RecoveryFile.h"
#include "store/TestLibrary.h"
#include "tests/realtime/SessionFixture.h"

#include <QDir>
#include <QSqlError>
#include <QTimer>

namespace {

// Another program on the same database file.
class OtherProgram {
public:
    explicit OtherProgram(const QString &path) { EXPECT_TRUE(connection.open(path, 0)); }
    bool exec(const QString &sql)
    {
        QSqlQuery q(connection.db());
        const bool ok = q.exec(sql);
        EXPECT_TRUE(ok) << sql.toStdString() << ": " << q.lastError().text().toStdString();
        return ok;
    }
    void lock() { exec(QStringLiteral("BEGIN EXCLUSIVE")); }
    void unlock() { exec(QStringLiteral("ROLLBACK")); }
    Connection connection;
};

Rows rowsOf(const TestPoints &points)
{
    Rows out;
    for (const TestPoint &p : points)
        out << QList<double>{double(p.stepNo), p.time, p.temperature, p.speed, p.shearStress, p.gel, p.rbFactor};
    return out;
}

class RecordingFaultsTest : public RealTimeSessionFixture {
protected:
    QString dbPath() const { return fx.database.path(); }

    // The disk has no room beyond the pages the database has now: SQLite answers SQLITE_FULL to the
    // recording's next write that needs a page.
    void fillTheDisk()
    {
        QSqlQuery pragma(session->writer()->connection());
        ASSERT_TRUE(pragma.exec(QStringLiteral("PRAGMA page_count")) && pragma.next());
        const int pages = pragma.value(0).toInt();
        ASSERT_TRUE(pragma.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages)));
    }

    // Readings of step 1 every 10 s from `from` to `to`: far more than the last page of the table takes.
    static QByteArray burst(int from, int to, QList<int> *seconds)
    {
        QByteArray bytes;
        for (int s = from; s <= to; s += 10) {
            bytes += stepOne(s);
            *seconds << s;
        }
        return bytes;
    }

    QStringList recoveryFiles() const
    {
        return QDir(fx.dir.path()).entryList({QStringLiteral("K7100 recovered - *.csv")}, QDir::Files);
    }
};

} // namespace

TEST_F(RecordingFaultsTest, DatabaseHeldByAnotherProgram_ReadingsWaitInOrderAndAreStoredWhenItIsFree)
{
    startRunning();
    deliver(stepOne(10));
    OtherProgram backup(dbPath());

    for (int episode = 1; episode <= 2; ++episode) {
        SCOPED_TRACE(episode);
        const int base = episode * 100;
        backup.lock();
        // Several seconds of the run while the file is held: every tick goes on, nothing is stored.
        for (int s = base; s <= base + 40; s += 5)
            deliver(stepOne(s)); // record rate 10: base, +10, ... +40 are kept
        EXPECT_TRUE(session->isRunning());
        EXPECT_EQ(session->waitingCount(), 5);
        EXPECT_EQ(session->waitingText(), QStringLiteral("5 readings waiting for the database"));
        EXPECT_EQ(session->readouts()[2], QString::number(base + 40)) << "the display goes on";
        // One notice a stoppage, none modal.
        EXPECT_EQ(fx.prompts.noticeTexts().size(), episode);
        EXPECT_TRUE(fx.prompts.noticeTexts().last().contains(QStringLiteral("in use by another program")));
        EXPECT_TRUE(fx.prompts.messageTexts().isEmpty());

        backup.unlock();
        deliver(stepOne(base + 50));
        EXPECT_EQ(session->waitingCount(), 0);
        EXPECT_TRUE(session->waitingText().isEmpty());
    }
    EXPECT_EQ(rows(), stepOneRows({10, 100, 110, 120, 130, 140, 150, 200, 210, 220, 230, 240, 250}));
    EXPECT_EQ(session->storedCount(), 13);
    session->stop();
    EXPECT_TRUE(recoveryFiles().isEmpty());
}

TEST_F(RecordingFaultsTest, DiskFull_ReadingsWaitAndStopWritesThemToARecoveryFileThatImportsBack)
{
    startRunning();
    deliver(stepOne(10));
    fillTheDisk();
    // All the readings of the tick wait; none is stored in part.
    QList<int> seconds;
    deliver(burst(20, 3000, &seconds));
    ASSERT_TRUE(session->isRunning());
    EXPECT_EQ(session->waitingCount(), seconds.size());
    EXPECT_EQ(rows(), stepOneRows({10}));
    ASSERT_EQ(fx.prompts.noticeTexts().size(), 1);
    EXPECT_TRUE(fx.prompts.noticeTexts()[0].contains(QStringLiteral("the disk is full")));

    session->stop();
    EXPECT_FALSE(session->isRunning());
    ASSERT_EQ(recoveryFiles().size(), 1);
    const QString file = fx.dir.file(recoveryFiles()[0]);
    EXPECT_EQ(session->recoveryFile(), file);
    ASSERT_EQ(fx.prompts.messageTexts().size(), 1);
    const QString told = fx.prompts.messageTexts()[0];
    EXPECT_TRUE(told.startsWith(QStringLiteral("%1 readings of the test Run A could not be stored in the database: "
                                               "the disk is full")
                                    .arg(seconds.size())));
    EXPECT_TRUE(told.contains(QDir::toNativeSeparators(file)));
    EXPECT_TRUE(told.contains(QStringLiteral("Import Recovered Test...")));

    QString error;
    const std::optional<RecoveredTest> recovered = RecoveryFile::read(file, &error);
    ASSERT_TRUE(recovered) << error.toStdString();
    EXPECT_EQ(recovered->info.testName, QStringLiteral("Run A"));
    EXPECT_EQ(recovered->info.testId, 7);
    EXPECT_EQ(rowsOf(recovered->points), stepOneRows(seconds));

    // Room again (a new connection has no page limit): the File menu's import puts them into the test.
    fx.prompts.clear();
    fx.prompts.fileAnswers = {file};
    DatabaseCommands::importRecoveredTest(fx.context);
    EXPECT_EQ(fx.prompts.messageTexts(),
              QStringList{QStringLiteral("%1 readings were added to the test Run A.").arg(seconds.size())});
    EXPECT_EQ(rows(), stepOneRows(QList<int>{10} + seconds));
    // Importing the same file again adds nothing.
    EXPECT_EQ(RecoveredTests::restore(fx.db(), *recovered).added, 0);
    EXPECT_EQ(rows().size(), seconds.size() + 1);
}

TEST_F(RecordingFaultsTest, StopWhileReadingsWait_TriesAgainAndStoresThemOnceTheDatabaseIsFree)
{
    startRunning();
    OtherProgram other(dbPath());
    other.lock();
    deliver(stepOne(10));
    deliver(stepOne(20));
    ASSERT_EQ(session->waitingCount(), 2);
    // The other program lets go during the second of Stop's tries.
    fx.clock.onAdvance([&other, done = false](double) mutable {
        if (!done)
            other.unlock();
        done = true;
    });
    fx.prompts.clear();
    session->stop();
    EXPECT_EQ(rows(), stepOneRows({10, 20}));
    EXPECT_TRUE(recoveryFiles().isEmpty());
    EXPECT_TRUE(fx.prompts.messageTexts().isEmpty());
}

TEST_F(RecordingFaultsTest, EndOfTestAndProgramEndWithReadingsWaiting_LeaveRecoveryFiles)
{
    struct Case {
        const char *name;
        bool endByte; // else the program ends (the session goes) during the run
    };
    for (const Case c : {Case{"end byte", true}, Case{"program ends", false}}) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (const QString &f : recoveryFiles())
            QFile::remove(fx.dir.file(f));
        fx.storeTestRow(7, QStringLiteral("Run A"));
        QSqlQuery(fx.db()).exec(QStringLiteral("DELETE FROM TestResult"));
        startRunning();
        fillTheDisk();
        QList<int> seconds;
        deliver(burst(10, 3000, &seconds));
        if (c.endByte) {
            deliver(QByteArray(1, 8));
            fx.clock.advance(1.0);
            session->tick();
            EXPECT_FALSE(session->isRunning());
            const QStringList told = fx.prompts.messageTexts();
            ASSERT_EQ(told.size(), 2);
            EXPECT_TRUE(told[0].startsWith(
                QStringLiteral("%1 readings of the test Run A could not be stored").arg(seconds.size())));
            EXPECT_EQ(told[1], QStringLiteral("Test is finished."));
        } else {
            session.reset();
        }
        ASSERT_EQ(recoveryFiles().size(), 1);
        const auto recovered = RecoveryFile::read(fx.dir.file(recoveryFiles()[0]));
        ASSERT_TRUE(recovered);
        EXPECT_EQ(rowsOf(recovered->points), stepOneRows(seconds));
        EXPECT_TRUE(recovered->reason.contains(QStringLiteral("the disk is full")));
        EXPECT_TRUE(rows().isEmpty());
    }
}

TEST_F(RecordingFaultsTest, AnotherProgramCannotDeleteTheTestBeingRecorded)
{
    startRunning();
    deliver(stepOne(10));
    Database other;
    ASSERT_TRUE(other.open(dbPath()));
    TestLibrary library(other.connection());
    EXPECT_EQ(library.deleteTest(QStringLiteral("Run A")), TestLibrary::DeleteOutcome::BeingRecorded);
    EXPECT_EQ(library.lastError(), RecordingClaims::beingRecordedText(QStringLiteral("Run A")));
    deliver(stepOne(20));
    EXPECT_EQ(rows(), stepOneRows({10, 20}));

    // Once the run has ended the claim is gone and the test can be deleted.
    session->stop();
    EXPECT_EQ(library.deleteTest(QStringLiteral("Run A")), TestLibrary::DeleteOutcome::Deleted);
    EXPECT_TRUE(rows().isEmpty());
}

TEST_F(RecordingFaultsTest, TestDeletedByAToolThatIgnoresClaims_StopsTheRunAndKeepsItsReadingsUnderANewName)
{
    startRunning();
    deliver(stepOne(10));
    OtherProgram shell(dbPath()); // an sqlite3 shell, say
    shell.exec(QStringLiteral("DELETE FROM TestResult WHERE TestId = 7"));
    shell.exec(QStringLiteral("DELETE FROM RelatedInfo WHERE TestId = 7"));
    FakeSerialPort *port = fx.port;

    deliver(stepOne(20) + stepOne(30));
    EXPECT_FALSE(session->isRunning());
    EXPECT_EQ(port->written(), QByteArray(1, 5) + QByteArray(1, 6)) << "the instrument is stopped";
    ASSERT_EQ(fx.prompts.messageTexts().size(), 1);
    EXPECT_EQ(fx.prompts.messageTexts()[0],
              QStringLiteral("The test Run A was deleted from the database by another program while it was being "
                             "recorded, so the run was stopped. The 2 readings not yet stored were kept as the test "
                             "Run A (recovered)."));
    // Nothing is left under the old id, where it would show up in the next new test.
    EXPECT_TRUE(rows(7).isEmpty());
    TestLibrary library(fx.db());
    const auto kept = library.find(QStringLiteral("Run A (recovered)"));
    ASSERT_TRUE(kept);
    EXPECT_NE(kept->testId, 7);
    EXPECT_EQ(rows(kept->testId), stepOneRows({20, 30}));
    const std::optional<int> next = library.addTest(RelatedInfoRecord{0, QStringLiteral("Next"), {}, {}, {}, {}, {}});
    ASSERT_TRUE(next);
    EXPECT_TRUE(rows(*next).isEmpty());
}

TEST_F(RecordingFaultsTest, TwoProgramsRecordingIntoOneFile_EachStoresEveryReadingUnderItsOwnTest)
{
    // Program B: its own connection, state, prompts and instrument, on the same file.
    Database dbB;
    ASSERT_TRUE(dbB.open(dbPath()));
    ProgramState stateB = fx.state;
    ScriptedPrompts promptsB;
    AppContext ctxB = fx.context;
    ctxB.database = &dbB;
    ctxB.state = &stateB;
    ctxB.prompts = &promptsB;
    FakeSerialPort *portB = nullptr;
    ctxB.makePort = [&] {
        auto p = std::make_unique<FakeSerialPort>(&fx.clock);
        portB = p.get();
        p->responder = [p = p.get()](const QByteArray &bytes) {
            if (bytes == QByteArray(1, 5))
                p->feed(message({1, 1, 70, 0, 0, 0, 1}));
        };
        return p;
    };
    ChartModel chartB;
    RealTimeSession sessionB(ctxB, chartB);
    sessionB.load();

    // Both name a test at the same time; each gets its own id.
    const auto idA = TestLibrary(fx.db()).addTest(RelatedInfoRecord{0, QStringLiteral("A"), {}, {}, {}, {}, {}});
    const auto idB =
        TestLibrary(dbB.connection()).addTest(RelatedInfoRecord{0, QStringLiteral("B"), {}, {}, {}, {}, {}});
    ASSERT_TRUE(idA && idB);
    ASSERT_NE(*idA, *idB);
    fx.state.RelatedOk = stateB.RelatedOk = true;
    fx.state.NewTestId = *idA;
    stateB.NewTestId = *idB;
    session->setNamed(true, QStringLiteral("A"));
    sessionB.setNamed(true, QStringLiteral("B"));
    session->start();
    sessionB.start();
    ASSERT_TRUE(session->isRunning() && sessionB.isRunning());

    QList<int> seconds;
    for (int s = 10; s <= 300; s += 10) {
        fx.port->feed(stepOne(s, 100 + s));
        portB->feed(stepOne(s, 500 + s));
        fx.clock.advance(1.0);
        session->tick();
        sessionB.tick();
        seconds << s;
    }
    session->stop();
    sessionB.stop();
    Rows expectA, expectB;
    for (int s : seconds) {
        expectA << stepOneRow(s, 100 + s);
        expectB << stepOneRow(s, 500 + s);
    }
    EXPECT_EQ(rows(*idA), expectA);
    EXPECT_EQ(rows(*idB), expectB);
    EXPECT_TRUE(fx.prompts.records.isEmpty());
    EXPECT_TRUE(promptsB.records.isEmpty());
}

TEST_F(RecordingFaultsTest, SilentInstrument_StatusSaysSinceWhenAndClearsWhenDataReturns)
{
    startRunning();
    deliver(stepOne(10));
    const QString lastData = fx.clock.currentDateTime().toString(QStringLiteral("hh:mm:ss"));
    for (int quiet = 1; quiet <= 12; ++quiet) {
        deliver(QByteArray());
        const bool told = quiet >= 10;
        EXPECT_EQ(session->statusText(),
                  told ? QStringLiteral("No data from the K7100 since %1").arg(lastData)
                       : QStringLiteral("Test in progress ..."))
            << quiet;
    }
    EXPECT_TRUE(session->isRunning()) << "a quiet line does not stop the run";
    EXPECT_TRUE(session->timer()->isActive());
    deliver(stepOne(20));
    EXPECT_EQ(session->statusText(), QStringLiteral("Test in progress ..."));
    EXPECT_EQ(rows(), stepOneRows({10, 20}));
    EXPECT_TRUE(fx.prompts.records.isEmpty());
}

TEST_F(RecordingFaultsTest, BackupDuringARunAndTheDatabaseFileAloneAfterIt_HoldEveryStoredReading)
{
    startRunning();
    deliver(stepOne(10));
    deliver(stepOne(20));
    // File > Back Up Database... while the run goes on (the main window's command, the same database).
    const QString backup = fx.dir.file(QStringLiteral("during.db"));
    fx.prompts.fileAnswers = {backup};
    DatabaseCommands::backUpDatabase(fx.context);
    ASSERT_EQ(fx.prompts.messageTexts().size(), 1);
    EXPECT_TRUE(fx.prompts.messageTexts()[0].contains(QStringLiteral("The copy was checked and is complete")));
    deliver(stepOne(30));
    session->stop();

    // The operator copies K7100.db alone (no -wal beside it) while the program still has it open.
    const QString copy = fx.dir.file(QStringLiteral("copy.db"));
    ASSERT_TRUE(QFile::copy(dbPath(), copy));
    for (const auto &[file, seconds] :
         {std::pair{backup, QList<int>{10, 20}}, std::pair{copy, QList<int>{10, 20, 30}}}) {
        Connection c;
        ASSERT_TRUE(c.open(file, 1000, Connection::Mode::ReadOnly));
        QSqlQuery q(c.db());
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT StepNo, Time, Temperature, Speed, Shearstress, Gel, Rbfactor "
                                          "FROM TestResult WHERE TestId = 7 ORDER BY rowid")));
        Rows stored;
        while (q.next()) {
            QList<double> r;
            for (int i = 0; i < 7; ++i)
                r << q.value(i).toDouble();
            stored << r;
        }
        EXPECT_EQ(stored, stepOneRows(seconds)) << file.toStdString();
    }
}
