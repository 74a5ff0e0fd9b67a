#include "realtime/frmRealTime.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "link/StandAloneTest.h"
#include "platform/AccessibleWindow.h"
#include "platform/ChartModel.h"
#include "platform/ChartView.h"
#include "platform/FormBuilder.h"
#include "platform/ProportionalResizer.h"
#include "platform/ScreenKeys.h"
#include "realtime/RealTimeSession.h"
#include "realtime/frmRealRelated.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>

using namespace FormBuilder;

namespace {

QGroupBox *frame(QWidget *parent, const QString &objectName, const QString &title, const QRect &rect)
{
    auto *f = place<QGroupBox>(parent, objectName, rect);
    f->setTitle(title);
    f->setAccessibleName(title);
    return f;
}

} // namespace

frmRealTime *frmRealTime::open(AppContext &context, QWidget *mainWindow)
{
    if (!StandAloneTest::realTimeAllowed(context))
        return nullptr;
    auto *screen = new frmRealTime(context);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    if (mainWindow) {
        QObject::connect(screen, &frmRealTime::returned, mainWindow, &QWidget::show);
        mainWindow->hide();
    }
    screen->show();
    return screen;
}

frmRealTime::frmRealTime(AppContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window), context_(context), chartModel_(std::make_unique<ChartModel>()),
      session_(std::make_unique<RealTimeSession>(context, *chartModel_))
{
    AccessibleWindow::announce(this); // before anything asks for its interface (the title does)
    setObjectName(QStringLiteral("frmRealTime"));
    setWindowTitle(QStringLiteral("Real Time Test"));
    resize(1100, 720);
    askTestName = [this](QString *name) { return runNamingDialog(name); };
    buildControls();
    ScreenKeys::install(this, findChild<QPushButton *>(QStringLiteral("cmdReturn")));

    new ProportionalResizer(this, ProportionalResizer::Variant::Default, context.state->ScreenFactor);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(session_.get(), &RealTimeSession::displayChanged, this, &frmRealTime::refresh);
    // The program ending during a run ends the run as Stop does, so no waiting reading is lost.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (session_->isRunning())
            session_->stop();
    });
    session_->load();
    lblSequenceName_->setText(session_->sequenceName());
    fillStepGrid();
    refresh();
}

frmRealTime::~frmRealTime() = default;

void frmRealTime::buildControls()
{
    // Frames first, so that the controls drawn over them (siblings, for the proportional resizer) stay on top.
    frame(this, QStringLiteral("Frame1"), QStringLiteral("Test Results"), {10, 36, 560, 200});
    frame(this, QStringLiteral("Frame2"), QStringLiteral("Current Test Sequence"), {580, 36, 510, 200});
    frame(this, QStringLiteral("Frame3"), QStringLiteral("Test Save Rate"), {10, 628, 300, 66});
    frame(this, QStringLiteral("Frame4"), QStringLiteral("Average Data?"), {320, 628, 200, 66});

    auto *sequenceCaption = new QLabel(QStringLiteral("Test Sequence Name:"), this);
    sequenceCaption->setGeometry(10, 8, 140, 22);
    lblSequenceName_ = place<QLabel>(this, QStringLiteral("lblSequenceName"), {150, 8, 420, 22});
    lblSequenceName_->setToolTip(QStringLiteral("This is the current teset sequence name that K6500a is running"));
    valueLabel(lblSequenceName_, QStringLiteral("Test Sequence Name"));

    // Readout rows: left column 0, 1, 2, 7; right column 3, 4, 5, 6, 8.
    struct Row {
        int index;
        bool left;
        int slot;
        const char *unit;
    };
    const Row rows[] = {
        {0, true, 0, nullptr}, {1, true, 1, nullptr}, {2, true, 2, "sec"},      {7, true, 3, nullptr},
        {3, false, 0, "°F"},   {4, false, 1, "Rpm"},  {5, false, 2, "dyn/cm2"}, {6, false, 3, "Fann® 35(deg.)"},
        {8, false, 4, "cP"}};
    for (const Row &r : rows) {
        const int x = r.left ? 20 : 300;
        const int y = 58 + r.slot * 34;
        const QString i = QString::number(r.index);
        auto *caption = place<QLabel>(this, QStringLiteral("Label2(%1)").arg(i), {x, y, r.left ? 105 : 85, 24});
        auto *value = place<QLabel>(this, QStringLiteral("Label3(%1)").arg(i),
                                    {x + (r.left ? 108 : 88), y, r.left ? 120 : 72, 24});
        value->setAutoFillBackground(true);
        QPalette p = value->palette();
        p.setColor(QPalette::Window, Qt::white);
        p.setColor(QPalette::WindowText, Qt::black);
        value->setPalette(p);
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        captions_[size_t(r.index)] = caption;
        values_[size_t(r.index)] = value;
        if (r.unit) {
            auto *unit = place<QLabel>(this, QStringLiteral("Label4(%1)").arg(i),
                                       {x + (r.left ? 232 : 164), y, r.left ? 30 : 100, 24});
            unit->setText(QString::fromUtf8(r.unit));
        }
    }

    grid_ = place<QTableWidget>(this, QStringLiteral("MSFlexGrid1"), {590, 56, 490, 172});
    grid_->setAccessibleName(QStringLiteral("Current Test Sequence"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->setVisible(false);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    chartView_ = place<ChartView>(this, QStringLiteral("Pesgo1"), {10, 244, 1080, 378});
    chartView_->setModel(chartModel_.get());
    chartView_->setAccessibleName(QStringLiteral("Shear stress, viscosity, temperature and dial reading against time"));

    struct Option {
        const char *name;
        const char *caption;
        const char *tip;
        int seconds;
        QRect rect;
    };
    const Option options[] = {
        {"Option4",
         "1 data per sec.",
         "Click here to record data once per second to test result",
         1,
         {20, 648, 140, 20}},
        {"Option5",
         "1 data per 10 sec",
         "Click here to record data once per 10 seconds to test results",
         10,
         {160, 648, 140, 20}},
        {"Option6",
         "1 data per 60 sec",
         "Click here to record data once per 60 seconds to test results",
         60,
         {20, 670, 140, 20}},
        {"Option7",
         "1  data per 5 min",
         "Click here to record data once per 5 minutes to test results",
         300,
         {160, 670, 140, 20}},
    };
    auto *saveRate = new QButtonGroup(this);
    for (const Option &o : options) {
        auto *b = button<QRadioButton>(this, QString::fromLatin1(o.name), QString::fromLatin1(o.caption), o.rect);
        b->setToolTip(QString::fromLatin1(o.tip));
        saveRate->addButton(b);
        const int seconds = o.seconds;
        b->setChecked(seconds == 10);
        connect(b, &QRadioButton::toggled, this, [this, seconds](bool on) {
            if (on)
                saveInterval_ = seconds;
        });
    }

    // The averaging controls are shown and hidden only: the stored points follow each step's record rate.
    auto *yes = button<QRadioButton>(this, QStringLiteral("optAverageYes"), QStringLiteral("Yes"), {330, 648, 50, 20});
    auto *no = button<QRadioButton>(this, QStringLiteral("optAverageNo"), QStringLiteral("No"), {385, 648, 50, 20});
    auto *average = new QButtonGroup(this);
    average->addButton(yes);
    average->addButton(no);
    no->setChecked(true);
    lblAverage_ = place<QLabel>(this, QStringLiteral("lblAverage"), {330, 670, 50, 20});
    lblAverage_->setText(QStringLiteral("Average"));
    txtAverage_ = place<QLineEdit>(this, QStringLiteral("txtAverage"), {382, 669, 40, 22});
    txtAverage_->setText(QStringLiteral("1"));
    txtAverage_->setAccessibleName(QStringLiteral("Average"));
    lblAverage2_ = place<QLabel>(this, QStringLiteral("lblAverage2"), {428, 670, 40, 20});
    lblAverage2_->setText(QStringLiteral("Data"));
    const auto setAveraging = [this](bool on) {
        averaging_ = on;
        lblAverage_->setVisible(on);
        txtAverage_->setVisible(on);
        lblAverage2_->setVisible(on);
    };
    // Pointer, keyboard or a screen reader's "toggle": the option that becomes checked decides.
    connect(yes, &QRadioButton::toggled, this, [setAveraging](bool on) {
        if (on)
            setAveraging(true);
    });
    connect(no, &QRadioButton::toggled, this, [setAveraging](bool on) {
        if (on)
            setAveraging(false);
    });
    setAveraging(false);

    struct Button {
        const char *name;
        const char *caption;
        const char *tip;
        void (frmRealTime::*slot)();
        int col;
        int row;
    };
    const Button buttons[] = {
        {"cmdSaveAs", "Save Result &As", "Click here to name the test before starting it",
         &frmRealTime::cmdSaveAs_Click, 0, 0},
        {"cmdStart", "&Start", "Click here to start the real time test", &frmRealTime::cmdStart_Click, 1, 0},
        {"cmdStop", "S&top", "Click here to stop the real time test", &frmRealTime::cmdStop_Click, 2, 0},
        {"cmdReturn", "&Return", "Click here to return to main menu", &frmRealTime::cmdReturn_Click, 3, 0},
        {"cmdShowAll", "S&how All Data", "Click here to show all of the test data save in the memory. Maximum 1 hr",
         &frmRealTime::cmdShowAll_Click, 0, 1},
        {"cmdShow3Min", "Sh&ow Last 3 Minutes", "Click here to show the data of last 3 min",
         &frmRealTime::cmdShow3Min_Click, 1, 1},
        {"cmdPrintChart", "Print Chart", "Click here to print the above chart", &frmRealTime::cmdPrintChart_Click, 2,
         1},
    };
    for (const Button &b : buttons) {
        // Four buttons on the first row, three wider ones on the second, across x 530 to 1090.
        const int width = b.row == 0 ? 135 : 182;
        auto *w = button<QPushButton>(this, QString::fromLatin1(b.name), QString::fromLatin1(b.caption),
                                      {530 + b.col * (width + 6), 632 + b.row * 32, width, 28});
        w->setToolTip(QString::fromLatin1(b.tip));
        connect(w, &QPushButton::clicked, this, b.slot);
    }

    statusBar_ = place<QStatusBar>(this, QStringLiteral("StatusBar1"), {0, 698, 1100, 22});
    statusBar_->setSizeGripEnabled(false);
    statusPanel_ = new QLabel(QStringLiteral("Status"), statusBar_);
    statusPanel_->setObjectName(QStringLiteral("Status"));
    statusPanel_->setToolTip(QStringLiteral("Current Status"));
    valueLabel(statusPanel_, QStringLiteral("Status"));
    elapsedPanel_ = new QLabel(QStringLiteral("Elapsed Time:"), statusBar_);
    elapsedPanel_->setObjectName(QStringLiteral("ElapsedTime"));
    valueLabel(elapsedPanel_, QStringLiteral("Elapsed Time"));
    discardedPanel_ = new QLabel(statusBar_);
    discardedPanel_->setObjectName(QStringLiteral("Discarded"));
    valueLabel(discardedPanel_, QStringLiteral("Discarded input"));
    waitingPanel_ = new QLabel(statusBar_);
    waitingPanel_->setObjectName(QStringLiteral("Waiting"));
    valueLabel(waitingPanel_, QStringLiteral("Readings waiting for the database"));
    statusBar_->addWidget(statusPanel_, 2);
    statusBar_->addWidget(elapsedPanel_, 1);
    statusBar_->addWidget(discardedPanel_, 1);
    statusBar_->addWidget(waitingPanel_, 1);
    discardedPanel_->hide();
    waitingPanel_->hide();
}

void frmRealTime::fillStepGrid()
{
    const QStringList header = SequenceSteps::gridHeader(context_.state->isSI());
    grid_->setColumnCount(int(header.size()));
    grid_->setHorizontalHeaderLabels(header);
    grid_->horizontalHeader()->setMinimumHeight(2 * grid_->fontMetrics().height() + 8);
    const QList<SequenceStepRow> &steps = session_->steps();
    grid_->setRowCount(int(steps.size()));
    for (int r = 0; r < steps.size(); ++r) {
        const QStringList cells = SequenceSteps::gridCells(steps[r]);
        for (int c = 0; c < cells.size(); ++c)
            grid_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
}

void frmRealTime::refresh()
{
    for (int i = 0; i < RealTimeReadouts::Count; ++i) {
        captions_[size_t(i)]->setText(session_->captions()[size_t(i)]);
        values_[size_t(i)]->setText(session_->readouts()[size_t(i)]);
        valueLabel(values_[size_t(i)], session_->captions()[size_t(i)]);
    }
    statusPanel_->setText(session_->statusText());
    elapsedPanel_->setText(session_->elapsedText());
    const QString discarded = session_->discardedText();
    discardedPanel_->setText(discarded);
    discardedPanel_->setVisible(!discarded.isEmpty());
    const QString waiting = session_->waitingText();
    waitingPanel_->setText(waiting);
    waitingPanel_->setVisible(!waiting.isEmpty());
}

bool frmRealTime::runNamingDialog(QString *testName)
{
    frmRealRelated dialog(context_, this);
    const bool ok = dialog.exec() == QDialog::Accepted;
    *testName = dialog.testName();
    return ok;
}

void frmRealTime::cmdSaveAs_Click()
{
    hide();
    QString name;
    const bool confirmed = askTestName(&name);
    show();
    // RelatedOk is what the dialog left: confirmed only by a stored test.
    session_->setNamed(confirmed && context_.state->RelatedOk, name);
}

void frmRealTime::cmdStart_Click()
{
    session_->start();
}

void frmRealTime::cmdStop_Click()
{
    session_->stop();
}

void frmRealTime::cmdReturn_Click()
{
    close();
}

void frmRealTime::cmdShowAll_Click()
{
    session_->liveChart().showAll();
}

void frmRealTime::cmdShow3Min_Click()
{
    session_->liveChart().showLastMinutes();
}

void frmRealTime::cmdPrintChart_Click()
{
    chartView_->refresh();
    chartView_->print(*context_.prompts);
}

void frmRealTime::closeEvent(QCloseEvent *event)
{
    if (!session_->mayLeave()) {
        event->ignore();
        return;
    }
    event->accept();
    emit returned();
}
