#include "reports/ReportCommands.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/LongWork.h"
#include "reports/DetailReport.h"
#include "reports/TextReport.h"
#include "results/DerivedValues.h"
#include "results/ResultQuery.h"
#include "store/Database.h"
#include "tests/reports/ReportFixtures.h"
#include "tests/support/FileBytes.h"
#include "tests/support/OtherThreadWork.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

#include <gtest/gtest.h>

namespace {

// Keeps the filter each save dialog was shown with.
class FilterRecordingPrompts : public ScriptedPrompts {
public:
    QStringList filters;
    QString saveFileName(const QString &title, const QString &proposed, const QString &filter) override
    {
        filters << filter;
        return ScriptedPrompts::saveFileName(title, proposed, filter);
    }
};

class ReportCommandsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(database.open(dir.file(Database::defaultFileName())));
        ctx.state = &state;
        ctx.prompts = &prompts;
        ctx.database = &database;
        ctx.workDir = dir.path();
        addTest(5, QStringLiteral("Mud A-12"), 2,
                {{1, 30, 100, 300, 100}, {1, 60, 100, 300, 120}, {2, 30, 100, 600, 200}});
        state.CurrentTestName = QStringLiteral("Mud A-12");
    }

    // points: step, time, temperature (degF), speed (rpm), stress (dyn/cm2)
    void addTest(int id, const QString &name, double rbfactor, std::initializer_list<std::array<double, 5>> points)
    {
        QSqlQuery q(database.connection());
        q.prepare(QStringLiteral("INSERT INTO RelatedInfo VALUES (?, ?, ?, ?, ?, ?)"));
        for (const QVariant &v :
             {QVariant(id), QVariant(name), QVariant(QStringLiteral("WBM")),
              QVariant(QStringLiteral("2024-03-14 10:30")), QVariant(QStringLiteral("Lab")), QVariant()})
            q.addBindValue(v);
        ASSERT_TRUE(q.exec());
        for (const auto &p : points) {
            q.prepare(QStringLiteral("INSERT INTO TestResult VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
            for (double v : {double(id), p[0], p[1], p[2], p[3], p[4], 0.0, rbfactor})
                q.addBindValue(v);
            ASSERT_TRUE(q.exec());
        }
    }

    // The conversion the grid load of the open test leaves (its own stored rotor-bob, the state's units).
    ResultConversion openedConversion()
    {
        ProgramState opening = state;
        ResultQuery(database.connection(), opening).dosql();
        return ResultConversion::fromState(opening);
    }

    QList<PromptRecord> recordsOf(PromptRecord::Kind kind) const
    {
        QList<PromptRecord> out;
        for (const auto &r : prompts.records)
            if (r.kind == kind)
                out << r;
        return out;
    }

    TempDir dir;
    Database database;
    ProgramState state;
    FilterRecordingPrompts prompts;
    AppContext ctx;
    ReportCommands commands{ctx};
    DerivedValues noDerived;
};

// The user presses Cancel in the progress window before the report has got anywhere.
struct CancelledWork : LongWork {
    QStringList labels;
    QList<Stop> stops;
    bool run(const QString &label, Stop stop, const std::function<void(WorkProgress &)> &work) override
    {
        labels << label;
        stops << stop;
        WorkProgress progress;
        progress.requestStop();
        work(progress);
        return false;
    }
};

// Files in the folder besides the database and its journal.
QStringList otherFiles(const QString &dir)
{
    QStringList out;
    for (const QString &f : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        if (!f.startsWith(Database::defaultFileName()))
            out << f;
    return out;
}

} // namespace

TEST_F(ReportCommandsTest, noOpenTest_orItsInformationGone_eachCommandDoesNothing)
{
    const ResultTable rows = ReportFixtures::eiRows();
    struct Case {
        const char *what;
        QString testName;
        int testId;
    };
    const Case cases[] = {{"no test open", QString(), 5}, {"related information gone", "Mud A-12", 99}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        state.CurrentTestName = c.testName;
        prompts.clear();
        prompts.fileAnswers = {dir.file("a.xlsx"), dir.file("b.xlsx"), dir.file("c.csv")};
        commands.exportDetail(c.testId, rows, noDerived);
        commands.exportBrief(c.testId, openedConversion());
        commands.writeTextReport(c.testId, rows);
        EXPECT_TRUE(prompts.records.isEmpty());
        EXPECT_TRUE(otherFiles(dir.path()).isEmpty());
    }
}

TEST_F(ReportCommandsTest, textReport_writesTheFile_andProposesTheLastNameNextTime)
{
    const ResultTable rows = ReportFixtures::eiRows();
    const QString path = dir.file(QStringLiteral("report.csv"));
    prompts.fileAnswers = {path, path};
    commands.writeTextReport(5, rows);

    const QByteArray written = readFile(path);
    EXPECT_TRUE(written.startsWith("Test Report of K7100DAQ.\r\n\r\nTest Name:,Mud A-12\r\nFluid ID:     ,WBM\r\n"));
    EXPECT_TRUE(written.contains("\r\nDescription:   ,Null\r\n"));
    EXPECT_TRUE(written.endsWith("3,85.,121.5,5.11,3.,9.5,929.99,9.75,1.,8.9,9.136\r\n"));
    EXPECT_TRUE(prompts.messageTexts().isEmpty());

    commands.writeTextReport(5, rows);
    const auto dialogs = recordsOf(PromptRecord::SaveFile);
    ASSERT_EQ(dialogs.size(), 2);
    EXPECT_EQ(dialogs[0].text, QString());
    EXPECT_EQ(dialogs[1].text, path);
    EXPECT_EQ(prompts.filters[0], QStringLiteral("Text Files(*.csv);;All Files (*.*)"));
}

TEST_F(ReportCommandsTest, textReport_cancelOrFailure_showsOneMessage_andKeepsAnEarlierFile)
{
    const QString kept = dir.file(QStringLiteral("kept.csv"));
    {
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier report");
    }
    struct Case {
        const char *what;
        QString answer;
        QString message; // "" for any non-empty description
    };
    const Case cases[] = {
        {"cancelled", QString(), QStringLiteral("Cancel was selected.")},
        {"folder missing", dir.file(QStringLiteral("missing/r.csv")), QString()},
        {"a folder's name", dir.path(), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        prompts.clear();
        prompts.fileAnswers = {c.answer};
        commands.writeTextReport(5, ReportFixtures::eiRows());
        const auto messages = recordsOf(PromptRecord::Message);
        ASSERT_EQ(messages.size(), 1);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(messages[0].text, c.message);
        }
        EXPECT_FALSE(messages[0].text.isEmpty());
        EXPECT_EQ(messages[0].title, QStringLiteral("K7100DAQ"));
        EXPECT_EQ(messages[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(readFile(kept), QByteArray("earlier report"));
    }
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("missing"))));
}

TEST_F(ReportCommandsTest, detailExport_savesUnderTheChosenName_thenOpensItOnTheDesktop)
{
    prompts.fileAnswers = {dir.file(QStringLiteral("chosen"))};
    commands.exportDetail(5, ReportFixtures::eiRows(), noDerived);

    const QString written = dir.file(QStringLiteral("chosen.xlsx"));
    EXPECT_TRUE(readFile(written).startsWith("PK"));
    const auto dialogs = recordsOf(PromptRecord::SaveFile);
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_EQ(dialogs[0].text, QDir(dir.path()).filePath(QStringLiteral("Mud A-12.xlsx")));
    EXPECT_TRUE(prompts.filters[0].contains(QStringLiteral("(*.xlsx)")));
    const auto opened = recordsOf(PromptRecord::OpenDesktop);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].text, written);
    EXPECT_TRUE(prompts.messageTexts().isEmpty());
}

TEST_F(ReportCommandsTest, spreadsheetExports_cancelledWritesNothing_failureIsOneMessageAndNothingOpens)
{
    for (const bool briefReport : {false, true}) {
        SCOPED_TRACE(briefReport ? "brief" : "detail");
        auto run = [&] {
            if (briefReport)
                commands.exportBrief(5, openedConversion());
            else
                commands.exportDetail(5, ReportFixtures::eiRows(), noDerived);
        };
        prompts.clear();
        prompts.fileAnswers = {QString()};
        run();
        EXPECT_EQ(prompts.records.size(), 1); // the dialog only

        prompts.clear();
        const QString target = dir.file(QStringLiteral("missing/out.xlsx"));
        prompts.fileAnswers = {target};
        run();
        const auto messages = recordsOf(PromptRecord::Message);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].text.contains(QDir::toNativeSeparators(target)));
        EXPECT_EQ(messages[0].title, QStringLiteral("K7100DAQ"));
        EXPECT_TRUE(recordsOf(PromptRecord::OpenDesktop).isEmpty());
        EXPECT_TRUE(otherFiles(dir.path()).isEmpty());
    }
}

TEST_F(ReportCommandsTest, proposedName_isTheTestNameMadeSafeForAFile)
{
    struct Case {
        QString testName;
        QString file;
    };
    const Case cases[] = {
        {"Mud A-12", "Mud A-12.xlsx"},
        {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j.xlsx"},
        {"trailing. ", "trailing.xlsx"},
        {"...", "K7100 Test Report.xlsx"},
    };
    for (const Case &c : cases) {
        addTest(50 + int(&c - cases), c.testName, 1, {{1, 10, 100, 3, 5}});
        state.CurrentTestName = c.testName;
        prompts.clear();
        commands.exportBrief(50 + int(&c - cases), openedConversion());
        const auto dialogs = recordsOf(PromptRecord::SaveFile);
        ASSERT_EQ(dialogs.size(), 1);
        EXPECT_EQ(dialogs[0].text, QDir(dir.path()).filePath(c.file)) << c.testName.toStdString();
    }
}

// The rotor-bob state may have moved on since the test was opened (setup screen, naming a custom
// real-time test): the brief report still converts the test's rows the way its grid was loaded.
TEST_F(ReportCommandsTest, briefReport_readsTheOpenTestAfresh_withItsOwnRotorBob)
{
    for (const bool si : {false, true}) {
        SCOPED_TRACE(si ? "SI" : "EI");
        state.UnitSystem = si ? UnitsSI : UnitsEI;
        const ResultConversion opened = openedConversion();
        state.RotorBob = 1;
        state.RateFactor = 1.0f;
        state.StressFactor = 1.0f;
        state.CustomRB = true;
        state.CustomRateFactor = 0.5;
        const auto book = commands.briefWorkbook(5, opened);
        ASSERT_TRUE(book.has_value());
        const auto &s = book->sheets().front();
        // rotor-bob 2: 300 rpm * 1.7023 * 3.185 = 1626.54765 1/s
        EXPECT_EQ(s.numberAt(12, 5), 1626.548);
        EXPECT_EQ(s.numberAt(12, 2), 60.0);
        EXPECT_EQ(s.numberAt(12, 4), si ? (100.0 - 32) * 5 / 9.0 : 100.0);
        EXPECT_EQ(s.numberAt(12, 7), si ? 120.0 : 25.063);
        EXPECT_EQ(s.numberAt(13, 1), 2.0);
        EXPECT_EQ(s.numberAt(13, 3), 90.0);
        EXPECT_EQ(s.textAt(3, 2), QStringLiteral("Mud A-12"));
        EXPECT_EQ(s.cell(7, 2), nullptr); // a null description
    }
    // nothing of the program-wide state changed
    EXPECT_EQ(state.RotorBob, 1);
    EXPECT_EQ(state.RateFactor, 1.0f);
    EXPECT_TRUE(state.CustomRB);
}

TEST_F(ReportCommandsTest, detailWorkbook_placesTheDerivedValuesOfTheGridLoad)
{
    const ResultTable rows = ReportFixtures::fannSixSpeedRows();
    const DerivedValues derived = DerivedValues::fromResults(rows, UnitsEI);
    const auto book = commands.detailWorkbook(5, rows, derived);
    ASSERT_TRUE(book.has_value());
    const auto &s = book->sheets().front();
    // 600/300 pair: the 300 rpm step's last row is result row 7, sheet row 18
    EXPECT_EQ(s.numberAt(18, 13), 20.0);
    EXPECT_EQ(s.numberAt(18, 14), 20.0);
    int placed = 0;
    for (int r = 11; r <= s.lastRow(); ++r)
        placed += s.numberAt(r, 13).has_value();
    EXPECT_EQ(placed, 1);
}

// A report the user stopped in its progress window: no message, nothing opened, no file or temporary
// left, and an earlier file of the chosen name as it was.
TEST_F(ReportCommandsTest, stoppedReports_leaveNoFile_andAnEarlierFileAsItWas)
{
    CancelledWork work;
    ctx.work = &work;
    struct Case {
        const char *what;
        const char *file;
        std::function<void()> run;
    };
    const ResultTable rows = ReportFixtures::eiRows();
    const Case cases[] = {
        {"detail", "earlier.xlsx", [&] { commands.exportDetail(5, rows, noDerived); }},
        {"brief", "earlier.xlsx", [&] { commands.exportBrief(5, openedConversion()); }},
        {"text", "earlier.csv", [&] { commands.writeTextReport(5, rows); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString target = dir.file(QString::fromLatin1(c.file));
        {
            QFile f(target);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("earlier report");
        }
        prompts.clear();
        prompts.fileAnswers = {target};
        work.labels.clear();
        work.stops.clear();
        c.run();
        ASSERT_EQ(work.labels.size(), 1);
        EXPECT_FALSE(work.labels[0].isEmpty());
        EXPECT_EQ(work.stops[0], LongWork::Stop::Offered);
        EXPECT_TRUE(recordsOf(PromptRecord::Message).isEmpty());
        EXPECT_TRUE(recordsOf(PromptRecord::OpenDesktop).isEmpty());
        EXPECT_EQ(readFile(target), QByteArray("earlier report"));
        EXPECT_EQ(otherFiles(dir.path()), QStringList{QString::fromLatin1(c.file)});
        QFile::remove(target);
    }
}

// The brief report reads the test afresh on a worker thread through a connection of its own; when that
// connection cannot be opened the user gets one message and no file.
TEST_F(ReportCommandsTest, briefReport_whoseDataCannotBeRead_isOneMessageAndNoFile)
{
    OtherThreadWork work;
    ctx.work = &work;
    const QString target = dir.file(QStringLiteral("brief.xlsx"));
    prompts.fileAnswers = {target, target};
    commands.exportBrief(5, openedConversion());
    EXPECT_TRUE(readFile(target).startsWith("PK")) << "read on the worker while the file is there";
    EXPECT_EQ(work.labels, QStringList{QStringLiteral("Writing the brief workbook...")});
    QFile::remove(target);

    const QString path = database.path();
    ASSERT_TRUE(QFile::rename(path, path + QStringLiteral(".moved")));
    ASSERT_TRUE(QDir().mkdir(path));
    prompts.clear();
    prompts.fileAnswers = {target};
    commands.exportBrief(5, openedConversion());
    const auto messages = recordsOf(PromptRecord::Message);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.contains(QDir::toNativeSeparators(target)));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_TRUE(recordsOf(PromptRecord::OpenDesktop).isEmpty());
}
