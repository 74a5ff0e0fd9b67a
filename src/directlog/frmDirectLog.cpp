#include "directlog/frmDirectLog.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "directlog/DirectLogEntries.h"
#include "directlog/DirectLogSession.h"
#include "platform/AccessibleWindow.h"
#include "platform/ChartModel.h"
#include "platform/ChartView.h"
#include "platform/FormBuilder.h"
#include "platform/ProportionalResizer.h"
#include "platform/ScreenKeys.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace FormBuilder;

namespace {
const QSize kDesignSize(900, 600);
} // namespace

frmDirectLog *frmDirectLog::showFrom(AppContext &context, QWidget *mainWindow)
{
    auto *window = mainWindow
        ? mainWindow->findChild<frmDirectLog *>(QStringLiteral("frmDirectLog"), Qt::FindDirectChildrenOnly)
        : nullptr;
    if (!window) {
        window = new frmDirectLog(context, mainWindow);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

frmDirectLog::frmDirectLog(AppContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window), context_(context), chartModel_(std::make_unique<ChartModel>()),
      session_(std::make_unique<DirectLogSession>(context, *chartModel_))
{
    AccessibleWindow::announce(this); // before anything asks for its interface (the title does)
    setObjectName(QStringLiteral("frmDirectLog"));
    setWindowTitle(QStringLiteral("Direct Data Logging"));
    resize(kDesignSize);
    buildControls();
    ScreenKeys::install(this, cmdExit_);
    new ProportionalResizer(this, ProportionalResizer::Variant::Default, context.state->ScreenFactor, kDesignSize);

    connect(session_.get(), &DirectLogSession::displayChanged, this, &frmDirectLog::refresh);
    // However the program ends, a running instrument is told to stop.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { session_->exit(); });
    session_->load();
    refresh();
}

frmDirectLog::~frmDirectLog()
{
    session_->exit(false);
    // The view goes with the window's children; keep it from drawing a model that is gone.
    chart_->setModel(nullptr);
}

void frmDirectLog::buildControls()
{
    chart_ = place<ChartView>(this, QStringLiteral("Pesgo1"), {10, 10, 880, 400});
    chart_->setModel(chartModel_.get());
    chart_->setAccessibleName(QStringLiteral("Shear stress, viscosity, temperature and dial reading against time"));

    cmbSpeed_ = place<QComboBox>(this, QStringLiteral("cmbSpeed"), {10, 446, 130, 26});
    cmbSpeed_->setEditable(true);
    cmbSpeed_->setInsertPolicy(QComboBox::NoInsert);
    cmbSpeed_->addItems(DirectLogEntries::speedItems());
    cmbSpeed_->setCurrentIndex(0);
    label(this, QStringLiteral("Select Run Speed:"), {10, 420, 140, 22}, cmbSpeed_);

    cmbRate_ = place<QComboBox>(this, QStringLiteral("cmbRate"), {170, 446, 100, 26});
    cmbRate_->setEditable(true);
    cmbRate_->setInsertPolicy(QComboBox::NoInsert);
    cmbRate_->addItems(DirectLogEntries::rateItems());
    cmbRate_->setCurrentIndex(0);
    label(this, QStringLiteral("Select Data Recording Rate:"), {170, 420, 200, 22}, cmbRate_);
    auto *perDatum = new QLabel(QStringLiteral("sec/Datum"), this);
    perDatum->setGeometry(276, 446, 80, 26);

    txtFileName_ = place<QLineEdit>(this, QStringLiteral("txtFileName"), {390, 446, 220, 26});
    label(this, QStringLiteral("Input Data File Name:"), {390, 420, 200, 22}, txtFileName_);

    const QString dir = QDir::toNativeSeparators(context_.workDir.isEmpty() ? QDir::currentPath() : context_.workDir);
    auto *where = new QLabel(QStringLiteral("Data files are kept in the program's directory: ") + dir, this);
    where->setObjectName(QStringLiteral("lblDataDir"));
    where->setGeometry(10, 484, 880, 22);

    // The line watch and lines waiting for the data file; empty while all is well.
    lblStatus_ = place<QLabel>(this, QStringLiteral("lblStatus"), {10, 506, 880, 22});
    lblStatus_->setAccessibleName(QStringLiteral("Status"));

    const QRect slot(10, 530, 135, 34);
    auto at = [&slot](int i) { return slot.translated(i * 149, 0); };
    cmdRun_ = button<QPushButton>(this, QStringLiteral("cmdRun"), QStringLiteral("&Run"), at(0),
                                  QStringLiteral("Push this button to start to updating display only"));
    cmdStop_ = button<QPushButton>(this, QStringLiteral("cmdStop"), QStringLiteral("Stop"), at(1));
    cmdStartRecord_ = button<QPushButton>(this, QStringLiteral("cmdStartRecord"), QStringLiteral("&Start Recording"),
                                          at(2), QStringLiteral("Click here to start recording data to data.txt file"));
    cmdStopRecord_ = button<QPushButton>(this, QStringLiteral("cmdStopRecord"), QStringLiteral("S&top Recording"),
                                         at(3), QStringLiteral("Stop recording data to data.txt file"));
    Command1_ = button<QPushButton>(this, QStringLiteral("Command1"), QStringLiteral("Print Chart"), at(4));
    cmdExit_ = button<QPushButton>(this, QStringLiteral("cmdExit"), QStringLiteral("&Exit"), at(5),
                                   QStringLiteral("Click here to exit this porgram"));

    connect(cmdRun_, &QPushButton::clicked, this, &frmDirectLog::cmdRun_Click);
    connect(cmdStop_, &QPushButton::clicked, this, &frmDirectLog::cmdStop_Click);
    connect(cmdStartRecord_, &QPushButton::clicked, this, &frmDirectLog::cmdStartRecord_Click);
    connect(cmdStopRecord_, &QPushButton::clicked, this, &frmDirectLog::cmdStopRecord_Click);
    connect(Command1_, &QPushButton::clicked, this, &frmDirectLog::Command1_Click);
    connect(cmdExit_, &QPushButton::clicked, this, &frmDirectLog::cmdExit_Click);
    connect(cmbRate_, &QComboBox::editTextChanged, this, &frmDirectLog::cmbRate_Change);
    cmbSpeed_->installEventFilter(this);
}

void frmDirectLog::refresh()
{
    const DirectLogSession::Buttons b = session_->buttons();
    cmdRun_->setEnabled(b.run);
    cmdStop_->setEnabled(b.stop);
    cmdStartRecord_->setEnabled(b.startRecord);
    cmdStopRecord_->setEnabled(b.stopRecord);
    lblStatus_->setText(session_->statusText());
}

bool frmDirectLog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmbSpeed_ && event->type() == QEvent::FocusOut) {
        // Opening the list or switching to another window is not leaving the entry.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            cmbSpeed_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void frmDirectLog::cmbSpeed_LostFocus()
{
    const QString shown = session_->speedEntered(cmbSpeed_->currentText());
    if (shown != cmbSpeed_->currentText()) {
        cmbSpeed_->setCurrentIndex(cmbSpeed_->findText(shown));
        cmbSpeed_->setEditText(shown);
    }
}

void frmDirectLog::cmbRate_Change()
{
    if (settingRate_)
        return;
    const QString shown = session_->rateEntered(cmbRate_->currentText());
    if (shown != cmbRate_->currentText()) {
        settingRate_ = true;
        cmbRate_->setCurrentIndex(cmbRate_->findText(shown));
        cmbRate_->setEditText(shown);
        settingRate_ = false;
    }
}

void frmDirectLog::cmdRun_Click()
{
    session_->run(txtFileName_->text());
}

void frmDirectLog::cmdStop_Click()
{
    session_->stop();
}

void frmDirectLog::cmdStartRecord_Click()
{
    session_->startRecording();
}

void frmDirectLog::cmdStopRecord_Click()
{
    session_->stopRecording();
}

void frmDirectLog::Command1_Click()
{
    chart_->refresh();
    chart_->print(*context_.prompts);
}

void frmDirectLog::cmdExit_Click()
{
    close();
}

void frmDirectLog::closeEvent(QCloseEvent *event)
{
    session_->exit();
    event->accept();
}
