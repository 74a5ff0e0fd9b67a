// Retrieving the instrument's stored test: the two requests, the reply checks and their messages, the
// record parser (any non-digit separator, empty fields, the 101-record limit), the custom-factor reply and
// the rows stored.
#include "link/StoredTestUpload.h"
#include "store/Database.h"
#include "store/RecoveredTests.h"
#include "store/RecoveryFile.h"
#include "store/StoredPoints.h"
#include "store/TestLibrary.h"
#include "tests/link/LinkFixture.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QSqlQuery>

namespace {

QByteArray records(int count, const char *separator = ",")
{
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += QByteArray("1") + separator + QByteArray::number(i * 30) + separator + "120" + separator + "150"
            + separator + "0" + separator + "30000" + separator + "1" + separator;
    return out;
}

class StoredTestUploadTest : public LinkFixture {
protected:
    // The instrument answers byte 8 with reply8 and byte 1 with reply1, 0.1 s after each request.
    void answer(const QByteArray &reply8, const QByteArray &reply1)
    {
        configurePort = [this, reply8, reply1](FakeSerialPort &port) {
            FakeSerialPort *p = &port;
            port.responder = [this, p, reply8, reply1](const QByteArray &bytes) {
                if (bytes == QByteArray(1, 8) && !reply8.isEmpty())
                    p->feed(reply8, clock.now() + 0.1);
                if (bytes == QByteArray(1, 1) && !reply1.isEmpty())
                    p->feed(reply1, clock.now() + 0.1);
            };
        };
    }
    QStringList statuses;
    std::optional<StoredTestUploadResult> run()
    {
        return StoredTestUpload::run(ctx, [this](const QString &s) { statuses << s; });
    }
};

} // namespace

TEST_F(StoredTestUploadTest, TwoRecordExample_ParsesWithAnySeparator)
{
    for (const QByteArray &reply : {QByteArray("1,30,120,150,0,30000,1,1,60,121,152,0,30000,1,\x02"),
                                    QByteArray("1;30;120;150;0;30000;1;1;60;121;152;0;30000;1;\x02"),
                                    QByteArray("1 30 120 150 0 30000 1x1 60 121 152 0 30000 1\r\x02")}) {
        SCOPED_TRACE(reply.constData());
        answer("\x02", reply);
        statuses.clear();
        const auto result = run();
        ASSERT_TRUE(result);
        ASSERT_EQ(result->records.size(), 2u);
        const StoredTestRecord &b = result->records[1];
        EXPECT_EQ(b.step, 1);
        EXPECT_EQ(b.seconds, 60);
        EXPECT_EQ(b.temperatureF, 121);
        EXPECT_EQ(b.stress, 152);
        EXPECT_EQ(b.gel, 0);
        EXPECT_DOUBLE_EQ(b.speedRpm, 300.0);
        EXPECT_EQ(b.rotorBob, 1);
        EXPECT_FALSE(result->customRB);
        EXPECT_EQ(port().written(), QByteArray("\x08\x01"));
        EXPECT_FALSE(port().isOpen());
        EXPECT_EQ(statuses, QStringList({StoredTestUpload::retrievingText(), StoredTestUpload::finishedText()}));
        EXPECT_EQ(messageCount(), 0);
    }
}

TEST_F(StoredTestUploadTest, EmptyFieldsReadAsZeroAndTheLimitIs101Records)
{
    const auto parsed = StoredTestRecords::parse("2,,77,,,10,3,\x02");
    ASSERT_EQ(parsed.records.size(), 1u);
    EXPECT_EQ(parsed.records[0].seconds, 0);
    EXPECT_EQ(parsed.records[0].temperatureF, 77);
    EXPECT_DOUBLE_EQ(parsed.records[0].speedRpm, 0.1);
    EXPECT_EQ(parsed.records[0].rotorBob, 3);

    EXPECT_EQ(StoredTestRecords::parse(records(101) + "\x02").records.size(), 101u);
    EXPECT_TRUE(StoredTestRecords::parse(records(101) + "\x02").ok());
    EXPECT_FALSE(StoredTestRecords::parse(records(102) + "\x02").ok());
}

TEST_F(StoredTestUploadTest, BadRepliesShowTheirMessageAndReturnNothing)
{
    struct Case {
        const char *name;
        QByteArray reply1;
        const char *text;
        const char *title;
    };
    const Case cases[] = {
        {"no reply", "", "No response from K7100, please check connection.", "Communication Error"},
        {"no end byte", "1,30,120,150,0,30000,1,", "Communication error from K7100, please download data again.",
         "Communication Error"},
        {"102 records", records(102) + "\x02", "Fail to open comm port, please specify a correct comm port number.",
         "Comm Port Error"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        prompts.clear();
        answer("\x02", c.reply1);
        EXPECT_FALSE(run());
        ASSERT_EQ(messageCount(), 1);
        EXPECT_EQ(prompts.lastMessage()->text, QString::fromLatin1(c.text));
        EXPECT_EQ(prompts.lastMessage()->title, QString::fromLatin1(c.title));
    }
}

TEST_F(StoredTestUploadTest, ARecordCutShortBeforeTheEndByteIsRefusedNotStoredAsZeros)
{
    struct Case {
        const char *name;
        QByteArray reply;
        bool refused;
    };
    const Case cases[] = {
        {"last record stops after three fields", records(2) + "1,90,121,\x02", true},
        {"a lone record of one field", "1\x02", true},
        {"six fields, the end byte for the seventh", "1,30,120,150,0,30000\x02", true},
        {"seven fields, the end byte as the seventh separator", "1,30,120,150,0,30000,1\x02", false},
        {"seven empty fields", ",,,,,,,\x02", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StoredTestRecords::parse(c.reply).cutShort, c.refused);
        prompts.clear();
        answer("\x02", c.reply);
        const auto result = run();
        EXPECT_EQ(!result, c.refused);
        if (c.refused) {
            ASSERT_EQ(messageCount(), 1);
            EXPECT_EQ(prompts.lastMessage()->text, "Communication error from K7100, please download data again.");
            EXPECT_EQ(prompts.lastMessage()->title, "Communication Error");
        } else {
            EXPECT_EQ(messageCount(), 0);
            EXPECT_EQ(result->records.size(), 1u);
        }
    }
}

TEST_F(StoredTestUploadTest, AReplyThatNeverPausesIsCutOffAtTheLargestValidSize)
{
    // The line never goes quiet: every wait of the program finds more records, and no end byte.
    configurePort = [this](FakeSerialPort &port) {
        FakeSerialPort *p = &port;
        port.responder = [this, p](const QByteArray &bytes) {
            if (bytes == QByteArray(1, 1))
                clock.onAdvance([p](double) { p->feed(records(40)); });
        };
    };
    const auto result = run();
    EXPECT_FALSE(result);
    ASSERT_EQ(messageCount(), 1);
    EXPECT_EQ(prompts.lastMessage()->text, "Communication error from K7100, please download data again.");
    EXPECT_FALSE(port().isOpen());
    // It stopped reading soon after the reply outgrew a full memory's 101 records.
    EXPECT_LT(clock.waits.size(), 12);
    EXPECT_GT(StoredTestRecords::MaxReplyBytes, records(101).size() + 1);
}

TEST_F(StoredTestUploadTest, ReplyThatIsOnlyTheEndByteGivesAnEmptyTest)
{
    answer("\x02", "\x02");
    const auto result = run();
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->records.empty());
}

TEST_F(StoredTestUploadTest, PortThatDoesNotExistShowsTheUploadMessage)
{
    state.CommPortNumber = missingComm;
    EXPECT_FALSE(run());
    ASSERT_EQ(messageCount(), 1);
    EXPECT_EQ(prompts.lastMessage()->title, "Comm Port Error");
    EXPECT_EQ(prompts.lastMessage()->text, "Fail to open comm port, please specify a correct comm port number.");
}

TEST_F(StoredTestUploadTest, CustomFactorReplySetsTheStateAndIsStoredTimesAThousand)
{
    struct Case {
        QByteArray reply8;
        bool custom;
        double factor;
    };
    const Case cases[] = {
        {"1234\x02", true, 1.234},
        {"\x02", false, 0},
        {"12a4\x02", false, 0},
        {"1234", false, 0}, // no end byte: not the custom form
        {"", false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reply8.constData());
        state.CustomRB = !c.custom;
        answer(c.reply8, "1,30,120,150,0,30000,1,\x02");
        const auto result = run();
        ASSERT_TRUE(result);
        EXPECT_EQ(result->customRB, c.custom);
        EXPECT_EQ(state.CustomRB, c.custom);
        if (c.custom) {
            EXPECT_DOUBLE_EQ(result->customRateFactor, c.factor);
            EXPECT_DOUBLE_EQ(state.CustomRateFactor, c.factor);
        }
    }
}

TEST_F(StoredTestUploadTest, StoredRowsKeepStoredUnitsAndTheLastCodeIsLeftInRotorBob)
{
    TempDir dir;
    Database db;
    ASSERT_TRUE(db.open(dir.file("K7100.db")));
    StoredTestUploadResult upload;
    upload.records = StoredTestRecords::parse("1,30,120,150,4,0,2,2,60,121,152,0,10,5,\x02").records;
    ASSERT_TRUE(StoredTestUpload::storeRecords(db.connection(), 9, upload, state));
    EXPECT_EQ(state.RotorBob, 5);

    QSqlQuery q(db.connection());
    ASSERT_TRUE(q.exec("SELECT TestId, StepNo, Time, Temperature, Speed, Shearstress, Gel, Rbfactor FROM TestResult "
                       "ORDER BY StepNo"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 9);
    EXPECT_DOUBLE_EQ(q.value(4).toDouble(), 0.000001); // a standing rotor
    EXPECT_DOUBLE_EQ(q.value(5).toDouble(), 150);
    EXPECT_DOUBLE_EQ(q.value(6).toDouble(), 4);
    EXPECT_DOUBLE_EQ(q.value(7).toDouble(), 2);
    ASSERT_TRUE(q.next());
    EXPECT_DOUBLE_EQ(q.value(4).toDouble(), 0.1);
    EXPECT_DOUBLE_EQ(q.value(7).toDouble(), 5);

    upload.customRB = true;
    upload.customRateFactor = 1.234;
    ASSERT_TRUE(StoredTestUpload::storeRecords(db.connection(), 10, upload, state));
    ASSERT_TRUE(q.exec("SELECT DISTINCT Rbfactor FROM TestResult WHERE TestId = 10"));
    ASSERT_TRUE(q.next());
    EXPECT_DOUBLE_EQ(q.value(0).toDouble(), 1234);
    EXPECT_FALSE(q.next());
}

namespace {

// The retrieve command's storing, on a database where the related-information dialog has just made the
// test "Retrieved" (id 4).
class RetrievedStoringTest : public StoredTestUploadTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.open(dir.file(Database::defaultFileName())));
        ctx.database = &db;
        const auto id = TestLibrary(db.connection()).addTest(RelatedInfoRecord{0, "placeholder", {}, {}, {}, {}, {}});
        ASSERT_TRUE(id);
        QSqlQuery q(db.connection());
        ASSERT_TRUE(q.exec("UPDATE RelatedInfo SET TestId = 4, TestName = 'Retrieved', CompanyName = 'Lab'"));
        state.NewTestId = 4;
        state.CurrentTestName = "Retrieved";
        upload.records = StoredTestRecords::parse(records(60) + "\x02").records;
    }

    TestPoints stored(int testId) { return StoredPoints::read(db.connection(), testId); }

    TempDir dir;
    Database db;
    StoredTestUploadResult upload;
};

} // namespace

TEST_F(RetrievedStoringTest, StoredInTheTestTheDialogMade)
{
    ASSERT_TRUE(StoredTestUpload::storeRetrieved(ctx, upload));
    EXPECT_EQ(stored(4), StoredTestUpload::points(upload));
    EXPECT_EQ(state.CurrentTestName, "Retrieved");
    EXPECT_EQ(messageCount(), 0);
}

TEST_F(RetrievedStoringTest, FullDisk_TriesAgainThenWritesARecoveryFileThatImportsIntoTheTest)
{
    // No room beyond the database's present pages, and those filled up by another test's rows: the disk
    // is full (SQLite answers SQLITE_FULL).
    QSqlQuery q(db.connection());
    ASSERT_TRUE(q.exec("PRAGMA page_count") && q.next());
    ASSERT_TRUE(q.exec(QString("PRAGMA max_page_count = %1").arg(q.value(0).toInt())));
    int filler = 0;
    while (q.exec(QString("INSERT INTO TestResult (TestId, StepNo, Time) VALUES (99, 1, %1)").arg(filler)))
        ASSERT_LT(++filler, 100000);
    ASSERT_TRUE(q.lastError().text().contains("full")) << q.lastError().text().toStdString();
    const double t0 = clock.now();
    EXPECT_FALSE(StoredTestUpload::storeRetrieved(ctx, upload));
    EXPECT_GE(clock.now() - t0, 2.0) << "three tries a second apart";
    EXPECT_TRUE(stored(4).isEmpty());
    const QStringList files = QDir(dir.path()).entryList({"K7100 recovered - Retrieved - *.csv"});
    ASSERT_EQ(files.size(), 1);
    ASSERT_EQ(messageCount(), 1);
    const QString told = prompts.messageTexts()[0];
    EXPECT_TRUE(told.startsWith("The 60 readings of the retrieved test Retrieved could not be stored in the database: "
                                "the disk is full"));
    EXPECT_TRUE(told.contains(QDir::toNativeSeparators(dir.file(files[0]))));
    EXPECT_TRUE(told.endsWith("The K7100 still holds the test as well."));

    // Room again: the import fills the test the dialog made.
    ASSERT_TRUE(q.exec("PRAGMA max_page_count = 1073741823"));
    const auto recovered = RecoveryFile::read(dir.file(files[0]));
    ASSERT_TRUE(recovered);
    EXPECT_EQ(recovered->info.companyName, "Lab");
    const RecoveredTests::Outcome outcome = RecoveredTests::restore(db.connection(), *recovered);
    EXPECT_EQ(outcome.kind, RecoveredTests::Outcome::Kind::AddedToTest);
    EXPECT_EQ(stored(4), StoredTestUpload::points(upload));
}

TEST_F(RetrievedStoringTest, TestDeletedMeanwhile_IsStoredAgainUnderItsName)
{
    Connection other;
    ASSERT_TRUE(other.open(db.path(), 1000));
    ASSERT_EQ(TestLibrary(other.db()).deleteTest("Retrieved"), TestLibrary::DeleteOutcome::Deleted);
    ASSERT_TRUE(StoredTestUpload::storeRetrieved(ctx, upload));
    EXPECT_EQ(state.CurrentTestName, "Retrieved");
    EXPECT_NE(state.NewTestId, 0);
    EXPECT_EQ(stored(state.NewTestId), StoredTestUpload::points(upload));
    EXPECT_EQ(TestLibrary(db.connection()).find("Retrieved")->testId, state.NewTestId);
}
