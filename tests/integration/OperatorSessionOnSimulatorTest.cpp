// A lab operator's session with the real windows, against the simulated K7100 on a pseudo-terminal served
// by its own thread (as in the program's demo mode), at twenty times the real pace:
//
//   setup screen: copy the example sequence, cut it to its 600 and 300 rpm steps, send it, return;
//   real-time screen: name the test, start it, let it run to the instrument's end byte, return;
//   main window: start and stop a stand-alone test, retrieve it under a name, open both tests, overlay
//   one on the other, switch to SI on the setup screen, write the detailed and brief workbooks and the
//   text report;
//
// and then checks what reached the database and the files. Only the prompts are scripted; every dialog
// of the program (naming, step deletion, open, overlay) is the real one, answered while it is up.
#include "app/MainController.h"
#include "app/frmMain.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/ChartModel.h"
#include "platform/PortMap.h"
#include "platform/QtSerialPort.h"
#include "realtime/RealTimeSession.h"
#include "realtime/frmRealTime.h"
#include "results/MainChartController.h"
#include "sequence/ExampleSequence.h"
#include "sequence/frmSetup.h"
#include "sim/DemoInstrument.h"
#include "store/Database.h"
#include "tests/integration/RealTimeScaledClock.h"
#include "tests/support/Openpyxl.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kRate = 20.0; // simulated seconds per real second, on both sides of the line
const QString kRealTimeTest = QStringLiteral("Mud A 120F real time");
const QString kStandAloneTest = QStringLiteral("Mud A 120F stand-alone");

// Answers a modal dialog of the program once it is the active modal widget: `act` fills it in and clicks
// its button. Polls, because some commands process events (and so timers) before their dialog is up.
class DialogAnswer {
public:
    DialogAnswer(const QString &objectName, std::function<void(QWidget *)> act)
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this, objectName, act] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog || dialog->objectName() != objectName)
                return;
            timer_.stop();
            answered_ = true;
            act(dialog);
        });
        timer_.start();
    }
    bool answered() const { return answered_; }

private:
    QTimer timer_;
    bool answered_ = false;
};

void click(QWidget *window, const char *name)
{
    auto *button = window->findChild<QAbstractButton *>(QString::fromLatin1(name));
    ASSERT_TRUE(button) << name;
    button->click();
}

void chooseInList(QWidget *dialog, const QString &text)
{
    auto *list = dialog->findChild<QListWidget *>(QStringLiteral("List1"));
    ASSERT_TRUE(list);
    const auto items = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << text.toStdString();
    list->setCurrentItem(items.first());
    items.first()->setSelected(true);
}

template <typename W> W *topLevel(const QString &objectName)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible())
            if (auto *typed = qobject_cast<W *>(w))
                return typed;
    return nullptr;
}

// Every non-empty cell of a workbook as "Sheet!A1<tab>value" lines, read by openpyxl.
QStringList workbookCells(const QString &path)
{
    QString error;
    QStringList lines = Openpyxl::cells(path, &error);
    if (!error.isEmpty())
        ADD_FAILURE() << "openpyxl could not read " << path.toStdString() << ": " << error.toStdString();
    return lines;
}

class OperatorSession : public ::testing::Test {
protected:
    OperatorSession()
    {
        SimulatorOptions options = DemoInstrument::demoOptions(); // Bingham mud, PV 20 cP
        options.rate = kRate;
        options.heaterTimeConstant = 0; // the sample sits at each step's temperature
        options.noise = 0;
        options.storeInterval = 10;
        instrument = std::make_unique<DemoInstrument>(options);
        QString error;
        EXPECT_TRUE(instrument->start(&error)) << error.toStdString();
        EXPECT_TRUE(db.open(dir.file(Database::defaultFileName()), &error)) << error.toStdString();
        EXPECT_TRUE(ExampleSequence::create(db.connection()));

        ports.setOverride(1, instrument->devicePath()); // "Comm 1", the port of a missing settings file
        ctx.state = &state;
        ctx.prompts = &prompts;
        ctx.clock = &clock;
        ctx.database = &db;
        ctx.ports = &ports;
        ctx.makePort = [] { return std::unique_ptr<SerialPort>(new QtSerialPort); };
        ctx.workDir = dir.path();

        window = std::make_unique<frmMain>(ctx);
        controller = new MainController(ctx, *window);
        window->show();
    }

    std::string messages() const { return prompts.messageTexts().join(QStringLiteral(" | ")).toStdString(); }

    QVariant scalar(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(db.connection());
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec() || !q.next()) {
            ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
            return {};
        }
        return q.value(0);
    }

    int testId(const QString &name)
    {
        return scalar(QStringLiteral("SELECT TestId FROM RelatedInfo WHERE TestName = ?"), {name}).toInt();
    }

    TempDir dir;
    std::unique_ptr<DemoInstrument> instrument;
    Database db;
    ProgramState state;
    ScriptedPrompts prompts;
    RealTimeScaledClock clock{kRate};
    PortMap ports;
    AppContext ctx;
    std::unique_ptr<frmMain> window;
    MainController *controller = nullptr;
};

} // namespace

TEST_F(OperatorSession, FromTheExampleSequenceToTheReports)
{
    ASSERT_TRUE(instrument->isRunning());
    ASSERT_FALSE(Openpyxl::python().isEmpty()) << "K7100_OPENPYXL_PYTHON is not set";

    // ---- setup screen: a quick copy of the example with only the 600 and 300 rpm minutes, sent
    window->cmdSetup_Click();
    frmSetup *setup = controller->setupScreen();
    ASSERT_TRUE(setup && setup->isVisible());
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(setup->currentSequenceName(), ExampleSequence::name());

    prompts.inputAnswers = {QStringLiteral("Quick API"), QString()}; // new name; temperature unchanged
    click(setup, "cmdSaveAs");
    ASSERT_EQ(setup->currentSequenceName(), QStringLiteral("Quick API"));
    ASSERT_EQ(setup->currentSteps().size(), ExampleSequence::steps().size());

    DialogAnswer deleteSteps(QStringLiteral("frmDel"), [](QWidget *d) {
        d->findChild<QComboBox *>(QStringLiteral("cmbDELfrom"))->setCurrentText(QStringLiteral("3"));
        d->findChild<QComboBox *>(QStringLiteral("cmbDELto"))->setCurrentText(QStringLiteral("12"));
        click(d, "cmdOk");
    });
    click(setup, "cmdDeleteStep");
    ASSERT_TRUE(deleteSteps.answered());
    ASSERT_EQ(setup->currentSteps().size(), 2);
    EXPECT_EQ(setup->currentSteps()[0].speed, 600);
    EXPECT_EQ(setup->currentSteps()[1].speed, 300);

    click(setup, "cmdSend");
    ASSERT_TRUE(state.SequenceSent) << messages();
    click(setup, "cmdReturn");
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(prompts.messageTexts().size(), 1) << messages(); // only the deletion was asked
    EXPECT_TRUE(prompts.messageTexts()[0].startsWith(QStringLiteral("Are you sure you want delete step")))
        << messages();
    prompts.clear();

    // ---- real-time screen: name, start, run to the end, return
    window->cmdRealTime_Click();
    auto *realTime = topLevel<frmRealTime>(QStringLiteral("frmRealTime"));
    ASSERT_TRUE(realTime);
    realTime->session().timer()->setInterval(int(1000 / kRate)); // one tick a simulated second

    DialogAnswer nameRun(QStringLiteral("frmRealRelated"), [](QWidget *d) {
        d->findChild<QLineEdit *>(QStringLiteral("txtTestName"))->setText(kRealTimeTest);
        d->findChild<QLineEdit *>(QStringLiteral("txtMudId"))->setText(QStringLiteral("WBM-7"));
        click(d, "cmdOk");
    });
    click(realTime, "cmdSaveAs");
    ASSERT_TRUE(nameRun.answered());
    ASSERT_TRUE(state.RelatedOk);

    click(realTime, "cmdStart");
    ASSERT_TRUE(realTime->session().isRunning()) << messages();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !realTime->session().isRunning(); }, 30000));
    EXPECT_EQ(messages(), "Test is finished.");
    EXPECT_EQ(realTime->session().storedCount(), 12); // 2 steps x 60 s, a point every 10 s
    click(realTime, "cmdReturn");
    QTest::qWait(50); // the screen goes on the next turn of the event loop
    EXPECT_FALSE(topLevel<frmRealTime>(QStringLiteral("frmRealTime")));
    EXPECT_TRUE(window->isVisible());
    prompts.clear();

    // ---- stand-alone test on the instrument, then retrieved under a name
    window->cmdStartTest_Click();
    clock.wait(75, true); // the 600 rpm minute and a quarter of the 300 rpm one
    window->cmdStopTest_Click();
    EXPECT_EQ(messages(), "");

    DialogAnswer nameRetrieved(QStringLiteral("frmRelated"), [](QWidget *d) {
        d->findChild<QLineEdit *>(QStringLiteral("txtTestName"))->setText(kStandAloneTest);
        click(d, "cmdok");
    });
    window->cmdRetrieve_Click();
    ASSERT_TRUE(nameRetrieved.answered()) << messages();
    EXPECT_EQ(state.CurrentTestName, kStandAloneTest);
    const int standAloneRows = controller->grid().rowCount();
    EXPECT_GE(standAloneRows, 7); // six readings of the first step (every 10 s) and the 300 rpm one at 10 s
    EXPECT_TRUE(window->findChild<QPushButton *>(QStringLiteral("RelatedInfo"))->isEnabled());

    // ---- open both tests through the open dialog, then overlay the stand-alone one
    for (const QString &name : {kStandAloneTest, kRealTimeTest}) {
        DialogAnswer open(QStringLiteral("OpenTest"), [name](QWidget *d) {
            chooseInList(d, name);
            click(d, "cmdOk");
        });
        window->cmdOpen_Click();
        ASSERT_TRUE(open.answered());
        EXPECT_EQ(state.CurrentTestName, name);
    }
    EXPECT_EQ(controller->grid().rowCount(), 12);
    EXPECT_EQ(controller->openTestId(), testId(kRealTimeTest));
    const DerivedValues &derived = controller->grid().derived();
    ASSERT_GE(derived.pairCount, 1);
    EXPECT_TRUE(derived.Has600);
    EXPECT_NEAR(derived.PV[1], 20.0, 1.0) << "the simulated mud's plastic viscosity, read as 600 - 300 dial";

    DialogAnswer overlay(QStringLiteral("frmOverlapTestName"), [](QWidget *d) {
        chooseInList(d, kStandAloneTest);
        click(d, "cmdOk");
    });
    window->cmdOverlap_Click();
    ASSERT_TRUE(overlay.answered());
    const ChartModel &chart = controller->chart().model();
    QStringList labels;
    for (int s = 0; s < chart.seriesCount(); ++s)
        labels << chart.seriesLabel(s);
    EXPECT_TRUE(labels.contains(kRealTimeTest)) << labels.join(", ").toStdString();
    ASSERT_TRUE(labels.contains(kStandAloneTest)) << labels.join(", ").toStdString();
    EXPECT_EQ(chart.writtenCount(int(labels.indexOf(kStandAloneTest))), standAloneRows);
    EXPECT_EQ(messages(), "");

    // ---- SI on the setup screen; the main window redraws the open test on return
    const QString eiTemperature = controller->grid().data(controller->grid().index(0, 2)).toString();
    window->cmdSetup_Click();
    click(setup, "Option2");
    click(setup, "cmdReturn");
    EXPECT_EQ(state.UnitSystem, UnitsSI);
    EXPECT_FALSE(state.UnitsChanged) << "the main window took the change";
    const QString siTemperature = controller->grid().data(controller->grid().index(0, 2)).toString();
    EXPECT_NE(siTemperature, eiTemperature);
    EXPECT_NEAR(siTemperature.toDouble(), (120.0 - 32) * 5 / 9, 0.1);

    // ---- the three reports of the open test
    const QString detailPath = dir.file(QStringLiteral("detail.xlsx"));
    const QString briefPath = dir.file(QStringLiteral("brief.xlsx"));
    const QString reportPath = dir.file(QStringLiteral("report.csv"));
    prompts.fileAnswers = {detailPath};
    window->cmdExport_Click();
    prompts.fileAnswers = {briefPath};
    window->cmdBrief_Click();
    prompts.fileAnswers = {reportPath};
    window->menureport_Click();
    EXPECT_TRUE(prompts.fileAnswers.empty()) << "each report asked for its file";
    for (const PromptRecord &r : prompts.records)
        EXPECT_NE(r.icon, MsgIcon::Exclamation) << r.text.toStdString();

    // ---- what reached the database
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RelatedInfo")).toInt(), 2);
    const int realTimeId = testId(kRealTimeTest);
    const int standAloneId = testId(kStandAloneTest);
    EXPECT_EQ(scalar(QStringLiteral("SELECT MudId FROM RelatedInfo WHERE TestId = ?"), {realTimeId}).toString(),
              QStringLiteral("WBM-7"));
    {
        QSqlQuery q(db.connection());
        q.prepare(QStringLiteral("SELECT StepNo, Time, Speed, Temperature FROM TestResult WHERE TestId = ? "
                                 "ORDER BY rowid"));
        q.addBindValue(realTimeId);
        ASSERT_TRUE(q.exec());
        QList<QPair<int, int>> points;
        while (q.next()) {
            points << qMakePair(q.value(0).toInt(), q.value(1).toInt());
            EXPECT_DOUBLE_EQ(q.value(2).toDouble(), q.value(0).toInt() == 1 ? 600 : 300);
            EXPECT_NEAR(q.value(3).toDouble(), 120, 0.5);
        }
        QList<QPair<int, int>> expected;
        for (int step = 1; step <= 2; ++step)
            for (int t = 10; t <= 60; t += 10)
                expected << qMakePair(step, t);
        EXPECT_EQ(points, expected);
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM TestResult WHERE TestId = ?"), {standAloneId}).toInt(),
              standAloneRows);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM TestResult WHERE TestId = ? AND NOT "
                                    "((StepNo = 1 AND Speed = 600) OR (StepNo = 2 AND Speed = 300))"),
                     {standAloneId})
                  .toInt(),
              0);
    EXPECT_EQ(scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));

    // ---- what reached the files
    QFile settings(dir.file(QStringLiteral("initial.txt")));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_EQ(settings.readAll().split('\n').value(1).trimmed(), QByteArray("2")) << "SI is kept";

    QFile report(reportPath);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QString reportText = QStringDecoder(QStringDecoder::Latin1).decode(report.readAll());
    EXPECT_TRUE(reportText.contains(QStringLiteral("Test Name:,") + kRealTimeTest + QStringLiteral("\r\n")));
    EXPECT_TRUE(reportText.contains(QStringLiteral("Temperature (°C)")));
    int dataLines = 0;
    for (const QString &line : reportText.split(QStringLiteral("\r\n"))) {
        const QStringList f = line.split(QLatin1Char(','));
        if (f.size() > 5 && (f[0] == QLatin1String("1") || f[0] == QLatin1String("2"))) {
            ++dataLines;
            EXPECT_EQ(f[2], QStringLiteral("48.9")) << line.toStdString();
        }
    }
    EXPECT_EQ(dataLines, 12);

    const QStringList detail = workbookCells(detailPath);
    EXPECT_FALSE(detail.filter(QStringLiteral("\t") + kRealTimeTest).isEmpty()) << detail.join('\n').toStdString();
    EXPECT_GE(detail.filter(QStringLiteral("\t48.8")).size() + detail.filter(QStringLiteral("\t48.9")).size(), 12)
        << "twelve temperatures in °C";
    const QStringList brief = workbookCells(briefPath);
    EXPECT_FALSE(brief.filter(QStringLiteral("\t") + kRealTimeTest).isEmpty()) << brief.join('\n').toStdString();
}
