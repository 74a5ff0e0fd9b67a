#include "app/frmMain.h"

#include "app/frmAbout.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "common/SettingsFile.h"
#include "platform/Clock.h"
#include "platform/FormBuilder.h"
#include "platform/Prompts.h"
#include "platform/ProportionalResizer.h"
#include "platform/ScreenKeys.h"
#include "results/ChartTypes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The area the controls were placed for; the proportional resizing scales from it.
const QSize kDesignSize(1200, 760);

// Text a screen reader speaks for a caption: no access-key ampersand, no trailing blanks.
QString spoken(const QString &caption)
{
    QString s = caption;
    s.remove(QLatin1Char('&'));
    return s.trimmed();
}

} // namespace

frmMain::frmMain(AppContext &context, QWidget *parent) : QMainWindow(parent), ctx_(context)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(caption());

    buildControls();
    buildMenus();
    buildToolbar();
    buildStatusBar();
    ScreenKeys::install(this);

    // Load: no test is open yet, the clock runs, positions are recorded for the resizing.
    setRelatedInfoEnabled(false);
    updateClock();
    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName(QStringLiteral("tmrClock"));
    clockTimer_->setInterval(1000);
    connect(clockTimer_, &QTimer::timeout, this, &frmMain::updateClock);
    clockTimer_->start();

    placeControls();
    form_->resize(kDesignSize);
    resizer_ =
        new ProportionalResizer(form_, ProportionalResizer::Variant::MainWindow, ctx_.state->ScreenFactor, kDesignSize);

    // Centred on the screen when it is not maximised.
    resize(kDesignSize + QSize(0, 120));
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.left() + (avail.width() - width()) / 2, avail.top() + (avail.height() - height()) / 2);
    }

    // Selecting the "Normal" options runs their commands.
    Option1_->setChecked(true);
    Option3_->setChecked(true);
    cmbChartType_->addItems(ChartTypes::listTexts());
    cmbChartType_->setCurrentIndex(0);
    // The empty initial chart is drawn by the chart component once it is placed in chartArea().
    ctx_.state->UnitsChanged = false;
}

frmMain::~frmMain() = default;

QPushButton *frmMain::addButton(const char *name, const QString &caption, const QString &toolTip)
{
    auto *b = new QPushButton(caption, form_);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(spoken(caption));
    if (!toolTip.isEmpty())
        b->setToolTip(toolTip);
    buttons_.append(b);
    return b;
}

void frmMain::buildControls()
{
    form_ = new QWidget(this);
    form_->setObjectName(QStringLiteral("form"));
    setCentralWidget(form_);

    auto *chartFrame = new QFrame(form_);
    chartFrame->setObjectName(QStringLiteral("ChartArea"));
    chartFrame->setAccessibleName(QStringLiteral("Chart"));
    chartFrame->setFrameShape(QFrame::StyledPanel);
    chartArea_ = chartFrame;
    auto *chartLayout = new QVBoxLayout(chartArea_);
    chartLayout->setContentsMargins(0, 0, 0, 0);

    MSFlexGrid1_ = new QTableView(form_);
    MSFlexGrid1_->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1_->setToolTip(QStringLiteral("This table lists the test results."));
    MSFlexGrid1_->setAccessibleName(QStringLiteral("Test results"));
    MSFlexGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    lblChartType_ = new QLabel(QStringLiteral("Chart Type:"), form_);
    lblChartType_->setObjectName(QStringLiteral("lblChartType"));
    cmbChartType_ = new QComboBox(form_);
    cmbChartType_->setObjectName(QStringLiteral("cmbChartType"));
    cmbChartType_->setToolTip(QStringLiteral("Use this drop-down menu to select different chart types"));
    cmbChartType_->setAccessibleName(QStringLiteral("Chart Type"));
    lblChartType_->setBuddy(cmbChartType_);
    connect(cmbChartType_, &QComboBox::activated, this, [this] { cmbChartType_Click(); });

    const QString normalTip = QStringLiteral("Click here to select normal chart scale");
    const QString logTip = QStringLiteral("Click here to select log chart scale");
    auto makeFrame = [&](const char *name, const QString &title, const char *normalName, const char *logName,
                         QRadioButton *&normal, QRadioButton *&log) {
        auto *frame = new QGroupBox(title, form_);
        frame->setObjectName(QString::fromLatin1(name));
        auto *layout = new QVBoxLayout(frame);
        layout->setContentsMargins(8, 4, 8, 4);
        layout->setSpacing(2);
        normal = new QRadioButton(QStringLiteral("Normal"), frame);
        normal->setObjectName(QString::fromLatin1(normalName));
        normal->setToolTip(normalTip);
        normal->setAccessibleName(spoken(title) + QStringLiteral(" Normal"));
        log = new QRadioButton(QStringLiteral("Log"), frame);
        log->setObjectName(QString::fromLatin1(logName));
        log->setToolTip(logTip);
        log->setAccessibleName(spoken(title) + QStringLiteral(" Log"));
        layout->addWidget(normal);
        layout->addWidget(log);
        return frame;
    };
    Frame1_ = makeFrame("Frame1", QStringLiteral("X Scale:"), "Option1", "Option2", Option1_, Option2_);
    Frame2_ = makeFrame("Frame2", QStringLiteral("Y Scale:"), "Option3", "Option4", Option3_, Option4_);
    // However an option is chosen (pointer, keyboard, a screen reader's "toggle") its command runs once;
    // where the program sets the options itself (the chart showing its scales) it blocks their signals.
    const std::pair<QRadioButton *, void (frmMain::*)()> scaleOptions[] = {{Option1_, &frmMain::Option1_Click},
                                                                           {Option2_, &frmMain::Option2_Click},
                                                                           {Option3_, &frmMain::Option3_Click},
                                                                           {Option4_, &frmMain::Option4_Click}};
    for (const auto &[option, handler] : scaleOptions) {
        connect(option, &QRadioButton::toggled, this, [this, handler = handler](bool on) {
            if (on)
                (this->*handler)();
        });
    }

    chkModelCurves_ = new QCheckBox(QStringLiteral("Show &Model Curves"), form_);
    chkModelCurves_->setObjectName(QStringLiteral("chkModelCurves"));
    chkModelCurves_->setToolTip(
        QStringLiteral("Draw the fitted Herschel-Bulkley and power-law curves over the shear stress readings"));
    chkModelCurves_->setAccessibleName(spoken(chkModelCurves_->text()));
    chkModelCurves_->setEnabled(false);
    connect(chkModelCurves_, &QCheckBox::toggled, this, &frmMain::chkModelCurves_Click);

    struct Command {
        const char *name;
        const char *caption;
        const char *toolTip;
        void (frmMain::*handler)();
    };
    const Command commands[] = {
        {"cmdOpen", "&Open Saved Test", "Click here to open a saved test", &frmMain::cmdOpen_Click},
        {"cmdRetrieve", "&Get K7100 Data", "Click here to retrieve the last test result from the K7100",
         &frmMain::cmdRetrieve_Click},
        {"cmdStartTest", "Start Test ",
         "Click here to start an K7100 stand-alone test - Results will be saved internally on the K7100",
         &frmMain::cmdStartTest_Click},
        {"cmdStopTest", "Stop T&est ", "Click here to stop the current test", &frmMain::cmdStopTest_Click},
        {"cmdRealTime", "Real &Time Test", "Click here to run a real-time test", &frmMain::cmdRealTime_Click},
        {"cmdSetup", "&Setup", "", &frmMain::cmdSetup_Click},
        {"cmdCalicheck", "Calibration Check", "", &frmMain::cmdCalicheck_Click},
        {"cmdExport", "Detail Excel", "Click here to export data on the current test in spreadsheet format",
         &frmMain::cmdExport_Click},
        {"cmdBrief", "Brief Excel", "Click here to generate a brief MS Excel file", &frmMain::cmdBrief_Click},
        {"cmdReport", "Re&port", "", &frmMain::cmdReport_Click},
        {"cmdOverlap", "Overlap Charts",
         "Click here to display another set of test results over the current test results", &frmMain::cmdOverlap_Click},
        {"cmdRheology", "&Rheology", "Click here to show the rheology models of the current test",
         &frmMain::cmdRheology_Click},
        {"cmdPrintChart", "Print Chart", "Click here to print the chart shown at left", &frmMain::cmdPrintChart_Click},
        {"RelatedInfo", "Related &Information", "", &frmMain::RelatedInfo_Click},
        {"cmdExit", "&Exit", "", &frmMain::cmdExit_Click},
    };
    for (const Command &c : commands) {
        QPushButton *b = addButton(c.name, QString::fromLatin1(c.caption), QString::fromLatin1(c.toolTip));
        connect(b, &QPushButton::clicked, this, c.handler);
    }
    RelatedInfo_ = form_->findChild<QPushButton *>(QStringLiteral("RelatedInfo"));
}

void frmMain::placeControls()
{
    chartArea_->setGeometry(10, 10, 890, 420);
    MSFlexGrid1_->setGeometry(10, 440, 890, 310);
    lblChartType_->setGeometry(915, 8, 120, 22);
    chkModelCurves_->setGeometry(1040, 8, 150, 22);
    cmbChartType_->setGeometry(915, 32, 275, 26);
    Frame1_->setGeometry(915, 66, 132, 76);
    Frame2_->setGeometry(1058, 66, 132, 76);
    int y = 152;
    for (QPushButton *b : std::as_const(buttons_)) {
        b->setGeometry(915, y, 275, 34);
        y += 40;
    }
}

void frmMain::buildMenus()
{
    auto entry = [this](QMenu *menu, const char *name, const QString &caption, void (frmMain::*handler)()) {
        auto *a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        menu->addAction(a);
        return a;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("MenuFile"));
    entry(file, "MenuFileOpen", QStringLiteral("&Open Saved Test"), &frmMain::MenuFileOpen_Click);
    entry(file, "MenuFileRetrieve", QStringLiteral("&Retrieve From K7100"), &frmMain::MenuFileRetrieve_Click);
    file->addSeparator();
    entry(file, "menureport", QStringLiteral("Report"), &frmMain::menureport_Click);
    entry(file, "MenuFilePdf", QStringLiteral("Save P&DF Report..."), &frmMain::MenuFilePdf_Click);
    entry(file, "MenuFileRheology", QStringLiteral("R&heology"), &frmMain::MenuFileRheology_Click);
    entry(file, "MenuFilePrint", QStringLiteral("&Print"), &frmMain::MenuFilePrint_Click);
    file->addSeparator();
    entry(file, "MenuSetup", QStringLiteral("&Setup"), &frmMain::MenuSetup_Click);
    entry(file, "menureset", QStringLiteral("Reset Screen"), &frmMain::menureset_Click);
    file->addSeparator();
    entry(file, "MenuFileExit", QStringLiteral("E&xit"), &frmMain::MenuFileExit_Click);

    // A menu-bar entry of its own that runs at once, as it always has.
    auto *directLog = new QAction(QStringLiteral("&DirectLog"), this);
    directLog->setObjectName(QStringLiteral("DirectLog"));
    connect(directLog, &QAction::triggered, this, &frmMain::DirectLog_Click);
    menuBar()->addAction(directLog);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&About"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    entry(help, "MenuHelpAbout", QStringLiteral("&About"), &frmMain::MenuHelpAbout_Click);
}

void frmMain::buildToolbar()
{
    Toolbar1_ = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1_->setMovable(false);
    Toolbar1_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    struct Button {
        const char *key;
        const char *text;
        const char *toolTip;
        QStyle::StandardPixmap icon;
    };
    const Button buttons[] = {
        {"Open", "Open", "Open Saved Test", QStyle::SP_DialogOpenButton},
        {"Retrieve", "Retrieve", "Retrieve From K7100", QStyle::SP_ArrowDown},
        {"Print", "Print", "Print Chart", QStyle::SP_FileDialogDetailedView},
        {"Report", "Report", "Report", QStyle::SP_FileIcon},
    };
    for (const Button &b : buttons) {
        const QString key = QString::fromLatin1(b.key);
        QAction *a = Toolbar1_->addAction(style()->standardIcon(b.icon), QString::fromLatin1(b.text));
        a->setObjectName(key);
        a->setData(key);
        a->setToolTip(QString::fromLatin1(b.toolTip));
    }
    connect(Toolbar1_, &QToolBar::actionTriggered, this,
            [this](QAction *a) { Toolbar1_ButtonClick(a->data().toString()); });
}

void frmMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    statusPanel_ = new QLabel(QStringLiteral("Status"), bar);
    statusPanel_->setObjectName(QStringLiteral("Status"));
    statusPanel_->setToolTip(QStringLiteral("Current Status"));
    FormBuilder::valueLabel(statusPanel_, QStringLiteral("Status"));
    bar->addWidget(statusPanel_, 1);
    timePanel_ = new QLabel(bar);
    timePanel_->setObjectName(QStringLiteral("Time"));
    FormBuilder::valueLabel(timePanel_, QStringLiteral("Time"));
    timePanel_->setMinimumWidth(80);
    timePanel_->setAlignment(Qt::AlignCenter);
    bar->addPermanentWidget(timePanel_);
}

QLabel *frmMain::statusPanel(const QString &key) const
{
    if (key == QLatin1String("Time"))
        return timePanel_;
    if (key == QLatin1String("Status"))
        return statusPanel_;
    return nullptr;
}

void frmMain::setRelatedInfoEnabled(bool enabled)
{
    RelatedInfo_->setEnabled(enabled);
}

void frmMain::updateClock()
{
    const QTime now = ctx_.clock ? ctx_.clock->currentDateTime().time() : QTime::currentTime();
    timePanel_->setText(now.toString(QStringLiteral("hh:mm:ss")));
}

// ---- Buttons ---------------------------------------------------------------------------------------

void frmMain::cmdOpen_Click()
{
    emit openRequested();
}

void frmMain::cmdRetrieve_Click()
{
    emit retrieveRequested();
}

void frmMain::cmdStartTest_Click()
{
    emit startTestRequested();
}

void frmMain::cmdStopTest_Click()
{
    emit stopTestRequested();
}

void frmMain::cmdRealTime_Click()
{
    emit realTimeRequested();
}

void frmMain::cmdSetup_Click()
{
    emit setupRequested();
}

void frmMain::cmdCalicheck_Click()
{
    emit caliCheckRequested();
}

void frmMain::cmdExport_Click()
{
    emit exportDetailRequested();
}

void frmMain::cmdBrief_Click()
{
    emit exportBriefRequested();
}

void frmMain::cmdReport_Click()
{
    // Has never had an action; the text report is the File menu's "Report".
}

void frmMain::cmdOverlap_Click()
{
    emit overlapRequested();
}

void frmMain::cmdRheology_Click()
{
    emit rheologyRequested();
}

void frmMain::cmdPrintChart_Click()
{
    emit printChartRequested();
}

void frmMain::RelatedInfo_Click()
{
    emit relatedInfoRequested();
}

void frmMain::cmdExit_Click()
{
    if (confirmExit())
        endProgram();
}

// ---- Menus and toolbar -------------------------------------------------------------------------------

void frmMain::MenuFileOpen_Click()
{
    cmdOpen_Click();
}
void frmMain::MenuFileRetrieve_Click()
{
    cmdRetrieve_Click();
}

void frmMain::menureport_Click()
{
    emit textReportRequested();
}

void frmMain::MenuFilePdf_Click()
{
    emit pdfReportRequested();
}

void frmMain::MenuFileRheology_Click()
{
    cmdRheology_Click();
}

void frmMain::MenuFilePrint_Click()
{
    cmdPrintChart_Click();
}
void frmMain::MenuSetup_Click()
{
    cmdSetup_Click();
}

void frmMain::menureset_Click()
{
    ctx_.state->ScreenFactor = 1.0;
    const QString path = QDir(ctx_.workDir).filePath(SettingsFile::fileName());
    if (!SettingsFile::resetScreen(path)) {
        ctx_.prompts->message(QStringLiteral("The screen size could not be saved in %1. It is reset for this run only.")
                                  .arg(QDir::toNativeSeparators(path)),
                              QStringLiteral("Reset Screen"), MsgButtons::Ok, MsgIcon::Exclamation);
    }
    // Show the unscaled layout now rather than only after the next start.
    placeControls();
    resizer_->setScreenFactor(1.0);
    resizer_->record(kDesignSize);
    resizer_->apply();
}

void frmMain::MenuFileExit_Click()
{
    if (confirmExit())
        endProgram();
}

void frmMain::DirectLog_Click()
{
    emit directLogRequested();
}

void frmMain::MenuHelpAbout_Click()
{
    frmAbout about(ctx_.state->ScreenFactor, this);
    about.exec();
}

void frmMain::Toolbar1_ButtonClick(const QString &key)
{
    if (key == QLatin1String("Open"))
        cmdOpen_Click();
    else if (key == QLatin1String("Retrieve"))
        MenuFileRetrieve_Click();
    else if (key == QLatin1String("Print"))
        cmdPrintChart_Click();
    else if (key == QLatin1String("Report"))
        cmdReport_Click();
}

// ---- Chart controls ----------------------------------------------------------------------------------

void frmMain::cmbChartType_Click()
{
    emit chartTypeSelected(cmbChartType_->currentIndex());
}

void frmMain::Option1_Click()
{
    emit xScaleChosen(false);
}

void frmMain::Option2_Click()
{
    emit xScaleChosen(true);
}

void frmMain::Option3_Click()
{
    emit yScaleChosen(false);
}

void frmMain::Option4_Click()
{
    emit yScaleChosen(true);
}

void frmMain::chkModelCurves_Click(bool shown)
{
    emit modelCurvesChosen(shown);
}

// ---- Lifecycle ---------------------------------------------------------------------------------------

void frmMain::Form_Activate()
{
    ProgramState &s = *ctx_.state;
    if (!s.UnitsChanged)
        return;
    emit unitsChangedOnActivation();
    if (!s.CurrentTestName.isEmpty())
        s.NewTestMode = false;
    s.UnitsChanged = false;
}

bool frmMain::confirmExit()
{
    return ctx_.prompts->message(QStringLiteral("Are you sure you want to exit?"), QStringLiteral("Exit Check"),
                                 MsgButtons::YesNo, MsgIcon::Exclamation)
        != MsgAnswer::No;
}

bool frmMain::Form_QueryUnload(CloseReason reason)
{
    if (reason == CloseReason::UserClose)
        return confirmExit();
    return true;
}

void frmMain::beginEnding()
{
    if (ending_)
        return;
    ending_ = true;
    clockTimer_->stop();
    // Every other window goes without its own questions; windows owned by this one (direct logging) are
    // closed so they can leave the instrument stopped.
    const auto owned = findChildren<QWidget *>();
    for (QWidget *w : owned) {
        if (w->isWindow() && w->isVisible())
            w->close();
    }
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w != this && w->isVisible())
            w->hide();
    }
    emit programEnded();
}

void frmMain::endProgram()
{
    beginEnding();
    close();
}

bool frmMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QMainWindow::event(event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!ending_) {
        const CloseReason reason = event->spontaneous() ? CloseReason::UserClose : CloseReason::Other;
        if (!Form_QueryUnload(reason)) {
            event->ignore();
            return;
        }
        beginEnding();
    }
    event->accept();
}
