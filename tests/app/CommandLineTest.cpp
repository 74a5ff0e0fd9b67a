// The command line, run as a user runs it: the built k7100daq started with arguments in a scratch working
// directory, without a display. Its outputs are read back with independent readers (openpyxl, pdftotext).
#include "app/CommandLine.h"
#include "sequence/SequenceLibrary.h"
#include "store/Database.h"
#include "store/DatabaseLocation.h"
#include "store/StoredPoints.h"
#include "store/TestLibrary.h"
#include "tests/support/FannTests.h"
#include "tests/support/FileBytes.h"
#include "tests/support/Openpyxl.h"
#include "tests/support/PdfText.h"
#include "tests/support/PostgresServer.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

struct Result {
    int code = -1;
    QString out;
    QString err;
};

// Runs the program in workDir with no display at all (no X, no Wayland, no Qt platform chosen).
Result k7100daq(const QStringList &arguments, const QString &workDir, const QStringList &environment = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    for (const QString &pair : environment)
        env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workDir);
    p.start(QStringLiteral(K7100_PROGRAM), arguments);
    Result r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "k7100daq did not finish: " << arguments.join(' ').toStdString();
        p.kill();
        return r;
    }
    r.code = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

class CommandLineTest : public ::testing::Test {
protected:
    CommandLineTest()
    {
        Database db;
        EXPECT_TRUE(db.open(dir.file(Database::defaultFileName())));
        FannTests::add(db.connection(), 1, QStringLiteral("Mud A"), FannTests::waterBasedMud());
        FannTests::add(db.connection(), 2, QStringLiteral("Oil \"B\"\tnight"), FannTests::oilBasedMud(),
                       QStringLiteral("OBM-2"));
    }

    // The one line a failure leaves on standard error.
    static void expectOneErrorLine(const Result &r, const char *containing)
    {
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("k7100daq: "))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(containing))) << r.err.toStdString();
    }

    TempDir dir;
};

} // namespace

TEST_F(CommandLineTest, ListPrintsOneTabSeparatedLinePerTest)
{
    const Result r = k7100daq({QStringLiteral("list")}, dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    // Id, name, fluid id, sample time as the dialogs show it, readings; a tab in a name becomes a blank.
    EXPECT_EQ(r.out,
              "1\tMud A\tWBM-7\t2024-05-06 07:08:09\t24\n"
              "2\tOil \"B\" night\tOBM-2\t2024-05-06 07:08:09\t12\n");
}

TEST_F(CommandLineTest, ADatabaseOnAServerIsChosenByAddressOrByDatabaseTxt)
{
    const QString uri = PostgresServer::newTestDatabase();
    ASSERT_FALSE(uri.isEmpty());
    {
        Database server;
        QString error;
        ASSERT_TRUE(server.open(uri, &error)) << error.toStdString();
        FannTests::add(server.connection(), 1, QStringLiteral("Mud A"), FannTests::waterBasedMud());
        FannTests::add(server.connection(), 2, QStringLiteral("Oil \"B\"\tnight"), FannTests::oilBasedMud(),
                       QStringLiteral("OBM-2"));
    }
    const Result fromFile = k7100daq({QStringLiteral("list")}, dir.path());
    ASSERT_EQ(fromFile.code, 0) << fromFile.err.toStdString();
    const Result byAddress = k7100daq({QStringLiteral("list"), QStringLiteral("--database"), uri}, dir.path());
    ASSERT_EQ(byAddress.code, 0) << byAddress.err.toStdString();
    EXPECT_EQ(byAddress.out, fromFile.out);

    writeFile(dir.file("database.txt"), uri.toUtf8() + "\n");
    const Result byDatabaseTxt = k7100daq({QStringLiteral("rheology"), QStringLiteral("MUD A")}, dir.path());
    ASSERT_EQ(byDatabaseTxt.code, 0) << byDatabaseTxt.err.toStdString();
    const Result rheologyFromFile = k7100daq(
        {QStringLiteral("rheology"), QStringLiteral("MUD A"), QStringLiteral("--database"), QStringLiteral("K7100.db")},
        dir.path());
    EXPECT_EQ(byDatabaseTxt.out, rheologyFromFile.out);
}

// Everything a database holds: the test list as the command line prints it, every test's row and
// readings, and the sequences with their steps.
QString contentsOf(const QString &database, const QString &workDir)
{
    const Result list = k7100daq({QStringLiteral("list"), QStringLiteral("--database"), database}, workDir);
    EXPECT_EQ(list.code, 0) << list.err.toStdString();
    QString all = list.out;
    Database db;
    EXPECT_TRUE(db.open(DatabaseLocation::resolve(database, workDir)));
    TestLibrary tests(db.connection());
    for (const QString &name : tests.testNamesNewestFirst()) {
        const auto r = tests.find(name);
        all += QString("%1|%2|%3|%4|%5|%6\n")
                   .arg(r->testId)
                   .arg(r->testName, r->mudId, r->sampleTimeText, r->companyName, r->desc);
        for (const TestPoint &p : StoredPoints::read(db.connection(), r->testId))
            all += QString("  %1 %2 %3 %4 %5 %6 %7\n")
                       .arg(p.stepNo)
                       .arg(p.time)
                       .arg(p.temperature)
                       .arg(p.speed)
                       .arg(p.shearStress)
                       .arg(p.gel)
                       .arg(p.rbFactor);
    }
    SequenceLibrary sequences(db.connection());
    for (const SequenceEntry &e : sequences.sequences()) {
        all += QString("%1 %2 %3\n").arg(e.id).arg(e.name).arg(e.rotorBob);
        for (const SequenceStep &step : sequences.steps(e.id))
            all += QString("  %1 %2 %3 %4 %5\n")
                       .arg(step.stepNo)
                       .arg(step.time)
                       .arg(step.temperature)
                       .arg(step.speed)
                       .arg(step.recordRate);
    }
    return all;
}

TEST_F(CommandLineTest, CopyMovesEveryTestAndSequenceToAServerAndBack)
{
    {
        Database db;
        ASSERT_TRUE(db.open(dir.file("K7100.db")));
        SequenceLibrary(db.connection()).create("API \"13B\"", 1, {{1, 600, 120, 600, 10}, {2, 60, 150, 3, 1}});
    }
    const QString uri = PostgresServer::newTestDatabase();
    ASSERT_FALSE(uri.isEmpty());
    const QString fileContents = contentsOf("K7100.db", dir.path());

    const Result dry = k7100daq({"copy", "--from", "K7100.db", "--to", uri, "--dry-run"}, dir.path());
    ASSERT_EQ(dry.code, 0) << dry.err.toStdString();
    EXPECT_TRUE(dry.out.startsWith("Would copy 2 tests with 36 readings, and 1 sequence from "))
        << dry.out.toStdString();
    EXPECT_TRUE(dry.out.contains("test \"Mud A\" (id 1 -> 1, 24 readings)\n")) << dry.out.toStdString();
    EXPECT_TRUE(dry.out.contains("sequence \"API \"13B\"\" (id 1 -> 1, 2 steps)\n")) << dry.out.toStdString();
    EXPECT_EQ(k7100daq({"list", "--database", uri}, dir.path()).out, "") << "a dry run changes nothing";

    const Result there = k7100daq({"copy", "--from", "K7100.db", "--to", uri}, dir.path());
    ASSERT_EQ(there.code, 0) << there.err.toStdString();
    EXPECT_TRUE(there.out.startsWith("Copied 2 tests with 36 readings, and 1 sequence from "))
        << there.out.toStdString();
    EXPECT_EQ(contentsOf(uri, dir.path()), fileContents);

    const Result back = k7100daq({"copy", "--from", uri, "--to", "back.db"}, dir.path());
    ASSERT_EQ(back.code, 0) << back.err.toStdString();
    EXPECT_EQ(contentsOf("back.db", dir.path()), fileContents);
}

TEST_F(CommandLineTest, CopyGivesNewIdsWhereNeededAndRefusesNamesTheOtherSideHasBothWays)
{
    const QString uri = PostgresServer::newTestDatabase();
    ASSERT_FALSE(uri.isEmpty());
    {
        Database server;
        ASSERT_TRUE(server.open(uri));
        FannTests::add(server.connection(), 1, QStringLiteral("On the server"), FannTests::waterBasedMud());
    }
    // Id 1 is taken on the server: Mud A gets the next free id, Oil B keeps its own.
    const Result copied = k7100daq({"copy", "--from", "K7100.db", "--to", uri}, dir.path());
    ASSERT_EQ(copied.code, 0) << copied.err.toStdString();
    EXPECT_TRUE(copied.out.contains("test \"Mud A\" (id 1 -> 3, 24 readings)\n")) << copied.out.toStdString();
    EXPECT_TRUE(copied.out.contains("(id 2 -> 2, 12 readings)\n")) << copied.out.toStdString();

    // Now every name of the file is on the server too, in either direction.
    {
        Database server;
        ASSERT_TRUE(server.open(uri));
        QSqlQuery q(server.connection());
        ASSERT_TRUE(q.exec("UPDATE RelatedInfo SET TestName = 'MUD a' WHERE TestId = 3"));
    }
    const QByteArray fileBefore = readFile(dir.file("K7100.db"));
    const QString serverBefore = contentsOf(uri, dir.path());
    struct Case {
        QString from, to;
        const char *names;
    };
    const Case cases[] = {
        {"K7100.db", uri, "these names are already in %1: test \"Mud A\", test \"Oil \"B\"\tnight\""},
        {uri, "K7100.db", "these names are already in %1: test \"Oil \"B\"\tnight\", test \"MUD a\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.to.toStdString());
        for (const bool dryRun : {true, false}) {
            QStringList arguments{"copy", "--from", c.from, "--to", c.to};
            if (dryRun)
                arguments << "--dry-run";
            const Result r = k7100daq(arguments, dir.path());
            EXPECT_EQ(r.code, 1);
            const QString to = c.to.contains("://") ? c.to : dir.file(c.to);
            expectOneErrorLine(r,
                               QString("nothing was copied: ").append(QString(c.names).arg(to)).toUtf8().constData());
        }
    }
    EXPECT_EQ(readFile(dir.file("K7100.db")), fileBefore);
    EXPECT_EQ(contentsOf(uri, dir.path()), serverBefore);
}

TEST_F(CommandLineTest, RheologyAsTextAndJsonInEitherUnitSystem)
{
    const Result text = k7100daq({QStringLiteral("rheology"), QStringLiteral("mud a")}, dir.path());
    ASSERT_EQ(text.code, 0) << text.err.toStdString();
    EXPECT_TRUE(text.err.isEmpty());
    EXPECT_TRUE(text.out.startsWith("Rheology of \"Mud A\" (EI units)\n")) << text.out.toStdString();
    // The gel peaks of the API Standard sequence are not flow readings: θ3 is 7, so τy = 2 × 7 − 8.
    EXPECT_TRUE(text.out.contains(QRegularExpression("Herschel-Bulkley, API RP 13D +τy +6\\.00  lb/100ft2\n")))
        << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(QRegularExpression("Gel strength +10-second gel +12\\.00  lb/100ft2\n")));
    EXPECT_TRUE(text.out.contains(QRegularExpression(" +10-minute gel +18\\.00  lb/100ft2\n")));

    const Result json = k7100daq(
        {QStringLiteral("rheology"), QStringLiteral("Mud A"), QStringLiteral("--json"), QStringLiteral("--si")},
        dir.path());
    ASSERT_EQ(json.code, 0) << json.err.toStdString();
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out.toStdString();
    EXPECT_EQ(o["units"].toString(), "SI");
    EXPECT_EQ(o["readings"].toArray().size(), 6);
    const QJsonObject hb = o["models"].toArray().at(4).toObject();
    EXPECT_EQ(hb["model"].toString(), "Herschel-Bulkley, API RP 13D");
    const QJsonObject tauY = hb["parameters"].toArray().at(0).toObject();
    EXPECT_EQ(tauY["name"].toString(), "τy");
    EXPECT_NEAR(tauY["value"].toDouble(), 6 * 5.11, 1e-9);
    EXPECT_EQ(tauY["unit"].toString(), "dyn/cm2");

    // Without --si/--ei the settings file's unit system is used.
    writeFile(dir.file("initial.txt"), " 0 \r\n 2 \r\n 1 \r\n");
    const Result byFile = k7100daq({QStringLiteral("rheology"), QStringLiteral("Mud A")}, dir.path());
    EXPECT_TRUE(byFile.out.startsWith("Rheology of \"Mud A\" (SI units)\n")) << byFile.out.toStdString();
    const Result forced =
        k7100daq({QStringLiteral("rheology"), QStringLiteral("Mud A"), QStringLiteral("--ei")}, dir.path());
    EXPECT_TRUE(forced.out.startsWith("Rheology of \"Mud A\" (EI units)\n")) << forced.out.toStdString();
}

TEST_F(CommandLineTest, ExportWritesEveryFileWithoutADisplay)
{
    const QString out = dir.file("out");
    ASSERT_TRUE(QDir().mkpath(out));
    const Result r = k7100daq({QStringLiteral("export"), QStringLiteral("Mud A"), QStringLiteral("--detail"),
                               QStringLiteral("out/d.xlsx"), QStringLiteral("--brief"), QStringLiteral("out/b.xlsx"),
                               QStringLiteral("--text"), QStringLiteral("out/t.txt"), QStringLiteral("--pdf"),
                               QStringLiteral("out/r.pdf"), QStringLiteral("--csv=out/c.csv")},
                              dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(filesIn(out), QStringList({"b.xlsx", "c.csv", "d.xlsx", "r.pdf", "t.txt"}));

    QString error;
    const QStringList detail = Openpyxl::cells(QDir(out).filePath("d.xlsx"), &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_TRUE(detail.contains("Sheet1!B3\tMud A"));
    EXPECT_TRUE(detail.contains("Rheology!B3\tMud A"));
    const QStringList brief = Openpyxl::cells(QDir(out).filePath("b.xlsx"), &error);
    EXPECT_TRUE(brief.contains("Sheet1!A1\tK7100 Test Report")) << brief.join('\n').toStdString();

    const QByteArray text = readFile(QDir(out).filePath("t.txt"));
    EXPECT_TRUE(text.startsWith("Test Report of K7100DAQ.\r\n")) << text.left(80).toStdString();

    const QStringList csv = QString::fromUtf8(readFile(QDir(out).filePath("c.csv"))).split("\r\n");
    ASSERT_EQ(csv.size(), 1 + 24 + 1); // heading, every reading, the empty rest after the last line end
    EXPECT_EQ(csv.at(0),
              "Step No,Elaps Time (S),Temp (F°),Shear Rate (1/S),Speed (Rpm),Shear Stress (lb/100ft2),"
              "Viscosity (cP),Gel (lb/100ft2),Rb Factor,Fann® 35 F1 Reading");
    // Step 1's last reading: 600 rpm, 60 degrees = 306.6 dyn/cm2 = 64.035 lb/100ft2.
    EXPECT_EQ(csv.at(2), "1,60,120,1021.38,600,64.035,30.018,0,1,60");

    const QString pdf = PdfText::text(QDir(out).filePath("r.pdf"));
    EXPECT_TRUE(pdf.contains("K7100 Test Report")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("Mud A"));
    EXPECT_TRUE(pdf.contains("Herschel-Bulkley, least squares"));
}

TEST_F(CommandLineTest, CsvInMetricUnits)
{
    const Result r = k7100daq({QStringLiteral("export"), QStringLiteral("Oil \"B\"\tnight"), QStringLiteral("--si"),
                               QStringLiteral("--csv"), QStringLiteral("o.csv")},
                              dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList csv = QString::fromUtf8(readFile(dir.file("o.csv"))).split("\r\n");
    EXPECT_EQ(csv.at(0),
              "Step No,Elaps Time (S),Temp (C°),Shear rate (1/S),Speed (Rpm),Shear Stress (dyn/cm2),"
              "Viscosity (cP),Gel (dyn/cm2),Rb Factor,Fann® 35 F1 Reading");
    // 120 degF = 48.9 degC; 85 degrees = 434.35 dyn/cm2.
    EXPECT_EQ(csv.at(2), "1,60,48.9,1021.38,600,434.35,42.526,0,1,85");
}

TEST_F(CommandLineTest, UsageErrorsExitWithTwoAndOneLine)
{
    struct Case {
        QStringList arguments;
        const char *message;
    };
    const Case cases[] = {
        {{"export", "Mud A"}, "export needs at least one file"},
        {{"export", "--pdf", "x.pdf"}, "export needs a test name"},
        {{"export", "Mud A", "--pdf"}, "--pdf needs a file"},
        {{"export", "Mud A", "--csv", "a.csv", "--detail", "a.csv"}, "the file a.csv is given twice"},
        {{"export", "Mud A", "--si", "--ei", "--csv", "a.csv"}, "--si and --ei exclude each other"},
        {{"rheology"}, "rheology needs a test name"},
        {{"rheology", "Mud", "A"}, "rheology takes one test name"},
        {{"rheology", "Mud A", "--pdf", "a.pdf"}, "rheology does not take --pdf"},
        {{"list", "--json"}, "list does not take --json"},
        {{"list", "--database"}, "--database needs a file or an address"},
        {{"list", "--dry-run"}, "list does not take --dry-run"},
        {{"copy", "--from", "a.db"}, "copy needs --from and --to"},
        {{"copy", "--from", "a.db", "--to"}, "--to needs a file or an address"},
        {{"copy", "a.db", "--from", "a.db", "--to", "b.db"}, "copy takes no test name"},
        {{"copy", "--from", "a.db", "--to", "b.db", "--database", "c.db"}, "copy does not take --database"},
        {{"help", "frobnicate"}, "no command named \"frobnicate\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Result r = k7100daq(c.arguments, dir.path());
        EXPECT_EQ(r.code, 2);
        expectOneErrorLine(r, c.message);
        EXPECT_TRUE(r.err.contains("--help)")) << r.err.toStdString();
    }
    EXPECT_EQ(filesIn(dir.path()), QStringList({"K7100.db"}));
}

TEST_F(CommandLineTest, FailuresExitWithOneAndWriteNothing)
{
    // An earlier file under a target name stays as it was.
    writeFile(dir.file("keep.csv"), "earlier\n");
    writeFile(dir.file("text.db"), "this is no database, only text\n");
    struct Case {
        QStringList arguments;
        const char *message;
    };
    const Case cases[] = {
        {{"rheology", "No Such Test"}, "no test named \"No Such Test\" in "},
        {{"export", "No Such Test", "--csv", "keep.csv"}, "no test named"},
        {{"export", "Mud A", "--csv", "keep.csv", "--pdf", "missing/r.pdf"}, "missing/r.pdf could not be written"},
        {{"export", "Mud A", "--detail", "d.xlsx", "--text", "missing/t.txt"}, "missing/t.txt could not be written"},
        {{"list", "--database", "nowhere.db"}, "no database at "},
        {{"list", "--database", "text.db"}, "the database "},
        // A server that cannot be reached (nothing listens on port 1).
        {{"list", "--database", "postgresql://lab@127.0.0.1:1/k7100"},
         "the database postgresql://lab@127.0.0.1:1/k7100 could not be opened: "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Result r = k7100daq(c.arguments, dir.path());
        EXPECT_EQ(r.code, 1);
        expectOneErrorLine(r, c.message);
    }
    EXPECT_EQ(filesIn(dir.path()), QStringList({"K7100.db", "keep.csv", "text.db"}));
    EXPECT_EQ(readFile(dir.file("keep.csv")), "earlier\n");
    EXPECT_EQ(readFile(dir.file("text.db")), "this is no database, only text\n");
}

TEST_F(CommandLineTest, DamagedDatabaseIsAFailure)
{
    // A test long enough to fill many pages, then every page after the first two overwritten.
    const QString path = dir.file("damaged.db");
    {
        Database db;
        ASSERT_TRUE(db.open(path));
        std::vector<FannTests::Step> steps;
        steps.reserve(60);
        for (int i = 0; i < 60; ++i)
            steps.push_back({600.0 - i * 10, 60.0 - i * 0.5});
        FannTests::add(db.connection(), 1, QStringLiteral("Long"), steps, QStringLiteral("L"), 40);
    }
    QByteArray bytes = readFile(path);
    ASSERT_GT(bytes.size(), 8 * 4096);
    for (qsizetype i = 2 * 4096; i < bytes.size(); ++i)
        bytes[i] = char(0xA5);
    writeFile(path, bytes);

    for (const QStringList &arguments :
         {QStringList{"list", "--database", "damaged.db"}, QStringList{"rheology", "Long", "--database", "damaged.db"},
          QStringList{"export", "Long", "--csv", "l.csv", "--database", "damaged.db"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const Result r = k7100daq(arguments, dir.path());
        EXPECT_EQ(r.code, 1);
        expectOneErrorLine(r, "");
    }
    EXPECT_FALSE(QFileInfo::exists(dir.file("l.csv")));
}

TEST_F(CommandLineTest, HelpForTheProgramAndEachCommand)
{
    const Result all = k7100daq({QStringLiteral("--help")}, dir.path());
    EXPECT_EQ(all.code, 0);
    EXPECT_TRUE(all.err.isEmpty());
    for (const char *command :
         {"list", "export <test name>", "rheology <test name>", "copy --from DB --to DB", "Exit status: 0 success, 2"})
        EXPECT_TRUE(all.out.contains(QString::fromUtf8(command))) << command;
    for (const char *command : {"list", "export", "rheology", "copy"}) {
        SCOPED_TRACE(command);
        for (const QStringList &arguments : {QStringList{command, "--help"}, QStringList{"help", command}}) {
            const Result r = k7100daq(arguments, dir.path());
            EXPECT_EQ(r.code, 0);
            EXPECT_TRUE(r.out.startsWith(QStringLiteral("Usage: k7100daq %1").arg(command))) << r.out.toStdString();
            EXPECT_TRUE(r.out.contains(QString(command) == "copy" ? "--dry-run" : "--database DB"));
        }
    }
}

TEST(CommandLineParse, WindowsStartForEveryOtherCommandLine)
{
    // The debug switch, the demo, Qt's own options and anything else still start the windows.
    for (const QStringList &arguments :
         {QStringList{}, QStringList{"/debug"}, QStringList{"/DEBUG"}, QStringList{"--simulate"},
          QStringList{"-platform", "offscreen"}, QStringList{"/debug", "list"}, QStringList{"lists"}})
        EXPECT_FALSE(CommandLine::isCommand(arguments)) << arguments.join(' ').toStdString();
    for (const QStringList &arguments : {QStringList{"list"}, QStringList{"export"}, QStringList{"rheology", "x"},
                                         QStringList{"--help"}, QStringList{"-h"}, QStringList{"help"}})
        EXPECT_TRUE(CommandLine::isCommand(arguments)) << arguments.join(' ').toStdString();
}

TEST(CommandLineParse, OptionsAnywhereAfterTheCommand)
{
    const auto parsed = CommandLine::parse(
        {"export", "--database=lab.db", "--pdf", "r.pdf", "Mud A", "--si", "--detail", "d.xlsx", "--", "--"});
    EXPECT_TRUE(parsed.usageError.contains("one test name")) << parsed.usageError.toStdString();
    const auto ok = CommandLine::parse({"export", "--database=lab.db", "--pdf", "r.pdf", "--si", "--", "-odd name-"});
    ASSERT_TRUE(ok.request) << ok.usageError.toStdString();
    EXPECT_EQ(ok.request->testName, "-odd name-");
    EXPECT_EQ(ok.request->database, "lab.db");
    EXPECT_EQ(ok.request->outputs.size(), 1u);
    EXPECT_EQ(ok.request->unitSystem, 2);
    // After "--" every argument is a name: "--si" too, which makes two names.
    const auto twoNames = CommandLine::parse({"rheology", "--", "A", "--si"});
    EXPECT_FALSE(twoNames.request);
    EXPECT_TRUE(CommandLine::needsPdf(*ok.request));
}

TEST_F(CommandLineTest, PaperOfThePdfFollowsTheLocale)
{
    for (const auto &[locale, size] : {std::pair{"en_US.UTF-8", "(letter)"}, std::pair{"de_DE.UTF-8", "(A4)"}}) {
        SCOPED_TRACE(locale);
        const Result r = k7100daq(
            {QStringLiteral("export"), QStringLiteral("Mud A"), QStringLiteral("--pdf"), QStringLiteral("r.pdf")},
            dir.path(), {QStringLiteral("LC_ALL=%1").arg(QString::fromLatin1(locale))});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(PdfText::info(dir.file("r.pdf")).contains(QString::fromLatin1(size)))
            << PdfText::info(dir.file("r.pdf")).toStdString();
    }
}
