#include "app/MainController.h"

#include "app/DatabaseMenu.h"
#include "app/frmMain.h"
#include "calcheck/frmCaliCheck.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "directlog/frmDirectLog.h"
#include "link/StandAloneTest.h"
#include "link/StoredTestUpload.h"
#include "platform/LongWork.h"
#include "platform/Prompts.h"
#include "realtime/frmRealTime.h"
#include "reports/PdfReportCommand.h"
#include "reports/ReportCommands.h"
#include "reports/ReportSource.h"
#include "results/MainChartController.h"
#include "results/OpenTestCommand.h"
#include "results/ResultGridView.h"
#include "results/frmRheology.h"
#include "sequence/frmSetup.h"
#include "store/Database.h"
#include "store/OpenTest.h"
#include "store/frmRelated.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTableView>

MainController::MainController(AppContext &context, frmMain &window)
    : QObject(&window), ctx_(context), main_(window),
      query_(context.database->connection(), *context.state, context.prompts)
{
    ResultGridView::setUp(*main_.resultsGrid(), grid_);
    grid_.SetGridHeader(ctx_.state->UnitSystem);

    MainChartControls controls;
    controls.cmbChartType = main_.chartTypeList();
    controls.xNormal = main_.xNormalOption();
    controls.xLog = main_.xLogOption();
    controls.yNormal = main_.yNormalOption();
    controls.yLog = main_.yLogOption();
    controls.modelCurves = main_.modelCurvesOption();
    controls.connectSignals = false; // the window's own handlers route to us through its signals
    chart_ = std::make_unique<MainChartController>(ctx_, main_.chartArea(), controls);
    chart_->setOpenTestRows([this] { return grid_.sharedResults(); });
    chart_->setRheologySource([this] { return RheologyModels::compute(grid_.results(), grid_.derived()); });
    chart_->applyPlottingMethod();

    OpenTestHooks hooks;
    hooks.chooseTest = [this] { OpenTest::choose(ctx_, &main_); };
    hooks.initialChart = [this] { chart_->resetChart(); };
    hooks.setSubtitle = [](const QString &) {}; // the chart takes the open test's name when it draws
    hooks.drawChartType0 = [this] { chart_->showOpenTest(); };
    hooks.enableRelatedInfo = [this](bool on) { main_.setRelatedInfoEnabled(on); };
    hooks.selectFirstChartType = [this] { main_.chartTypeList()->setCurrentIndex(0); };
    hooks.setScalesNormal = [this] { chart_->setScalesNormal(); };
    openCommand_ = std::make_unique<OpenTestCommand>(*ctx_.state, query_, grid_, hooks, ctx_.work);
    chart_->setOpenTestConversion([this] { return openCommand_->conversion(); });
    reports_ = std::make_unique<ReportCommands>(ctx_);
    new DatabaseMenu(ctx_, main_); // Import Recovered Test, Check Database, Back Up Database (File menu)

    connect(&main_, &frmMain::openRequested, this, &MainController::open);
    connect(&main_, &frmMain::retrieveRequested, this, &MainController::retrieve);
    connect(&main_, &frmMain::startTestRequested, this, [this] { StandAloneTest::start(ctx_); });
    connect(&main_, &frmMain::stopTestRequested, this, [this] { StandAloneTest::stop(ctx_); });
    connect(&main_, &frmMain::realTimeRequested, this, &MainController::realTime);
    connect(&main_, &frmMain::setupRequested, this, &MainController::setup);
    connect(&main_, &frmMain::caliCheckRequested, this, &MainController::caliCheck);
    // Every report is of the open test as the open command keeps it: its id, its grid rows, its conversion.
    // The reports run as long work on the grid's rows: each holds them until it is done.
    connect(&main_, &frmMain::exportDetailRequested, this, [this] {
        const auto rows = grid_.sharedResults();
        reports_->exportDetail(openTestId(), *rows, grid_.derived());
    });
    connect(&main_, &frmMain::exportBriefRequested, this,
            [this] { reports_->exportBrief(openTestId(), openCommand_->conversion()); });
    connect(&main_, &frmMain::textReportRequested, this, [this] {
        const auto rows = grid_.sharedResults();
        reports_->writeTextReport(openTestId(), *rows);
    });
    connect(&main_, &frmMain::overlapRequested, this, &MainController::overlap);
    connect(&main_, &frmMain::rheologyRequested, this, &MainController::rheology);
    connect(&main_, &frmMain::pdfReportRequested, this, &MainController::pdfReport);
    connect(&main_, &frmMain::modelCurvesChosen, chart_.get(), &MainChartController::setModelCurvesShown);
    connect(&main_, &frmMain::printChartRequested, chart_.get(), &MainChartController::printChart);
    connect(&main_, &frmMain::relatedInfoRequested, this, &MainController::relatedInfo);
    connect(&main_, &frmMain::directLogRequested, this, &MainController::directLog);
    connect(&main_, &frmMain::chartTypeSelected, chart_.get(), &MainChartController::selectChartType);
    connect(&main_, &frmMain::xScaleChosen, chart_.get(), &MainChartController::setXLog);
    connect(&main_, &frmMain::yScaleChosen, chart_.get(), &MainChartController::setYLog);
    connect(&main_, &frmMain::unitsChangedOnActivation, this, [this] { openCommand_->reloadForUnits(); });
}

MainController::~MainController() = default;

frmSetup *MainController::setupScreen() const
{
    return qobject_cast<frmSetup *>(setup_.data());
}

QWidget *MainController::directLogScreen() const
{
    return directLog_.data();
}

void MainController::setStatus(const QString &text)
{
    if (QLabel *panel = main_.statusPanel(QStringLiteral("Status")))
        panel->setText(text);
}

int MainController::openTestId() const
{
    return openCommand_->openTestId();
}

void MainController::open()
{
    openCommand_->run();
}

void MainController::relatedInfo()
{
    main_.hide();
    frmRelated::run(ctx_, nullptr);
    main_.show();
}

void MainController::retrieve()
{
    ProgramState &state = *ctx_.state;
    const auto upload = StoredTestUpload::run(ctx_, [this](const QString &text) { setStatus(text); });
    if (!upload)
        return;

    const bool keptNewTestMode = state.NewTestMode;
    const QString keptTestName = state.CurrentTestName;
    state.NewTestMode = true;
    state.CurrentTestName.clear();
    relatedInfo();
    if (!state.RelatedOk) {
        state.NewTestMode = keptNewTestMode;
        state.CurrentTestName = keptTestName;
        return;
    }

    // Tried again while the database refuses; what it will not take goes into a recovery file (the user
    // is told where). The empty test made by the dialog stays: importing the file fills it.
    if (!StoredTestUpload::storeRetrieved(ctx_, *upload)) {
        state.NewTestMode = keptNewTestMode;
        state.CurrentTestName = keptTestName;
        return;
    }
    openCommand_->showRetrieved(state.NewTestId);
}

void MainController::realTime()
{
    frmRealTime *screen = frmRealTime::open(ctx_, &main_);
    if (!screen)
        return;
    // A test named and run there can be opened like any stored test afterwards; nothing to reload here.
}

void MainController::setup()
{
    frmSetup *screen = setupScreen();
    if (!screen) {
        screen = new frmSetup(ctx_);
        setup_ = screen;
        connect(screen, &frmSetup::returned, &main_, [this](Qt::WindowStates s) {
            main_.setWindowState(s);
            main_.show();
            main_.activateWindow();
            main_.Form_Activate();
        });
        connect(screen, &frmSetup::plottingMethodChanged, this, [this](int) { chart_->applyPlottingMethod(); });
        screen->aboutHandler = [this] { main_.MenuHelpAbout_Click(); };
    }
    const Qt::WindowStates s = main_.windowState();
    main_.hide();
    screen->showFromMain(s);
}

void MainController::caliCheck()
{
    frmCaliCheck::showModal(ctx_, &main_);
}

void MainController::directLog()
{
    // Not modal; a second click brings the open window forward. It closes with the program.
    directLog_ = frmDirectLog::showFrom(ctx_, &main_);
}

void MainController::overlap()
{
    chart_->overlap();
}

bool MainController::requireOpenTest()
{
    if (!ctx_.state->CurrentTestName.isEmpty())
        return true;
    ctx_.prompts->message(QStringLiteral("No opened test.  You must open a test first."),
                          QStringLiteral("Operation Error"), MsgButtons::Ok);
    return false;
}

void MainController::rheology()
{
    if (!requireOpenTest())
        return;
    // The grid's rows are in the units it was last loaded in; the models are shown in the same.
    frmRheology::showModal(ctx_.state->CurrentTestName, RheologyModels::compute(grid_.results(), grid_.derived()),
                           grid_.unitSystem() == UnitsSI, ctx_.state->ScreenFactor, &main_);
}

void MainController::pdfReport()
{
    if (!requireOpenTest())
        return;
    const auto info = ReportedTestInfo::load(ctx_.database->connection(), openTestId());
    if (!info) {
        ctx_.prompts->message(QStringLiteral("The open test is no longer in the database."),
                              QStringLiteral("Operation Error"), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    PdfReportCommand::run(*ctx_.prompts,
                          ReportSource::of(*info, grid_.results(), grid_.derived(), grid_.unitSystem() == UnitsSI),
                          ctx_.workDir);
}
