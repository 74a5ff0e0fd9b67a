#include "sequence/frmSetup.h"

#include "common/AppContext.h"
#include "common/NumberText.h"
#include "common/ProgramInfo.h"
#include "common/ProgramState.h"
#include "common/RotorBobTable.h"
#include "common/SettingsFile.h"
#include "link/SequenceDownload.h"
#include "platform/Clock.h"
#include "platform/FormBuilder.h"
#include "platform/PortMap.h"
#include "platform/Prompts.h"
#include "platform/ProportionalResizer.h"
#include "platform/ScreenKeys.h"
#include "sequence/StepListPrinter.h"
#include "sequence/StepNumbering.h"
#include "sequence/StepTable.h"
#include "sequence/frmAddEditStep.h"
#include "sequence/frmCopyPaste.h"
#include "sequence/frmDel.h"
#include "sequence/frmInsertStep.h"
#include "store/Database.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>

using namespace FormBuilder;

namespace {

constexpr int kPortCount = 20;
const QSize kDesignSize(900, 520);

// The main chart's plotting methods (ProgramState::PlottingMethod).
enum PlottingMethod { PlotLinear = 0, PlotSpline = 1, PlotBestFitLinear = 2, PlotBestFitPower = 3 };

QString commText(int number)
{
    return QStringLiteral("Comm ") + QString::number(number);
}

} // namespace

frmSetup::frmSetup(AppContext &context, QWidget *parent)
    : QMainWindow(parent), ctx_(context), state_(*context.state), library_(context.database->connection()),
      commands_(library_, *context.prompts)
{
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(ProgramInfo::name() + QStringLiteral(" Setup"));
    runDialog = [](QDialog &d) { return d.exec() == QDialog::Accepted; };
    buildControls();
    buildMenus();
    ScreenKeys::install(this);
}

frmSetup::~frmSetup() = default;

void frmSetup::buildControls()
{
    area_ = new QWidget(this);
    area_->setObjectName(QStringLiteral("SetupArea"));
    setCentralWidget(area_);
    QWidget *a = area_;

    List1_ = place<QListWidget>(a, QStringLiteral("List1"), QRect(10, 32, 200, 228));
    label(a, QStringLiteral("Saved test sequences:"), QRect(10, 8, 200, 22), List1_);

    grid_ = place<QTableWidget>(a, QStringLiteral("MSFlexGrid1"), QRect(225, 10, 665, 300));
    grid_->setColumnCount(StepTable::ColumnCount);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(22);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->setToolTip(QStringLiteral("Select the desired test step by clicking on it"));
    grid_->setAccessibleName(QStringLiteral("Steps of the selected test sequence"));

    cmdNew_ = button<QPushButton>(a, QStringLiteral("cmdNew"), QStringLiteral("&New"), QRect(10, 270, 95, 30),
                                  QStringLiteral("Click here to create a new test sequence"));
    cmdSaveAs_ =
        button<QPushButton>(a, QStringLiteral("cmdSaveAs"), QStringLiteral("Save &As"), QRect(115, 270, 95, 30),
                            QStringLiteral("Click here to save the selected test sequence with a new name"));
    cmdDelete_ = button<QPushButton>(a, QStringLiteral("cmdDelete"), QStringLiteral("&Delete"), QRect(10, 306, 95, 30),
                                     QStringLiteral("Click here to delete the selected test sequence"));

    cmdEditStep_ =
        button<QPushButton>(a, QStringLiteral("cmdEditStep"), QStringLiteral("Ed&it current step"),
                            QRect(225, 320, 155, 30), QStringLiteral("Click here to edit the seleted test step"));
    cmdInsertStep_ = button<QPushButton>(
        a, QStringLiteral("cmdInsertStep"), QStringLiteral("&Insert new step"), QRect(395, 320, 155, 30),
        QStringLiteral("Click here to insert a new test step into the current test sequence"));
    cmdDeleteStep_ = button<QPushButton>(
        a, QStringLiteral("cmdDeleteStep"), QStringLiteral("De&lete step"), QRect(565, 320, 155, 30),
        QStringLiteral("Click here to delete the selected test step from the current test sequence"));
    cmdCopyPaste_ =
        button<QPushButton>(a, QStringLiteral("cmdCopyPaste"), QStringLiteral("Copy && P&aste"),
                            QRect(735, 320, 155, 30), QStringLiteral("Click here to copy & paste test steps"));

    cmbRbselect_ = place<QComboBox>(a, QStringLiteral("cmbRbselect"), QRect(10, 392, 150, 26));
    cmbRbselect_->addItems(RotorBobTable::texts());
    cmbRbselect_->setToolTip(QStringLiteral("Use this drop-down menu to specify correct rotor and bob information"));
    label(a, QStringLiteral("Rotor Bob Selection"), QRect(10, 368, 150, 22), cmbRbselect_);

    cmbComm_ = place<QComboBox>(a, QStringLiteral("cmbComm"), QRect(10, 456, 150, 26));
    for (int n = 1; n <= kPortCount; ++n)
        cmbComm_->addItem(commText(n));
    label(a, QStringLiteral("Comm Port No."), QRect(10, 432, 150, 22), cmbComm_);

    auto *units = place<QGroupBox>(a, QStringLiteral("FrameUnits"), QRect(180, 368, 150, 100));
    units->setTitle(QStringLiteral("Unit Selection"));
    Option1_ = button<QRadioButton>(units, QStringLiteral("Option1"), QStringLiteral("EI"), QRect(15, 28, 120, 24),
                                    QStringLiteral("Click here to select English Units"));
    Option2_ = button<QRadioButton>(units, QStringLiteral("Option2"), QStringLiteral("SI"), QRect(15, 60, 120, 24),
                                    QStringLiteral("Click here to select Metric Units"));

    auto *charting = place<QGroupBox>(a, QStringLiteral("FrameCharting"), QRect(345, 368, 190, 140));
    charting->setTitle(QStringLiteral("Charting Type"));
    radBfc_ = button<QRadioButton>(charting, QStringLiteral("radBfc"), QStringLiteral("Best Fit Power"),
                                   QRect(15, 26, 160, 24));
    radBfl_ = button<QRadioButton>(charting, QStringLiteral("radBfl"), QStringLiteral("Best Fit Linear"),
                                   QRect(15, 53, 160, 24));
    radSpline_ =
        button<QRadioButton>(charting, QStringLiteral("radSpline"), QStringLiteral("Spline"), QRect(15, 80, 160, 24));
    radLinear_ =
        button<QRadioButton>(charting, QStringLiteral("radLinear"), QStringLiteral("Linear"), QRect(15, 107, 160, 24));

    txtSF_ = place<QLineEdit>(a, QStringLiteral("txtSF"), QRect(555, 392, 90, 26));
    label(a, QStringLiteral("Adjust Screen size * "), QRect(555, 368, 140, 22), txtSF_);

    cmdPrint_ = button<QPushButton>(a, QStringLiteral("cmdPrint"), QStringLiteral("&Print steps"),
                                    QRect(710, 370, 180, 32), QStringLiteral("Click here to print sequence steps"));
    cmdSend_ =
        button<QPushButton>(a, QStringLiteral("cmdSend"), QStringLiteral("Send to &K7100"), QRect(710, 416, 180, 32),
                            QStringLiteral("Click here to send the selected test sequence to K7100"));
    cmdReturn_ = button<QPushButton>(a, QStringLiteral("cmdReturn"), QStringLiteral("&Return"),
                                     QRect(710, 462, 180, 32), QStringLiteral("Click here to return to main menu"));

    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(bar);
    statusPanel_ = new QLabel(bar);
    statusPanel_->setObjectName(QStringLiteral("Status"));
    valueLabel(statusPanel_, QStringLiteral("Status"));
    progress_ = new QProgressBar(bar);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setAccessibleName(QStringLiteral("Sending progress"));
    progress_->setVisible(false);
    timePanel_ = new QLabel(bar);
    timePanel_->setObjectName(QStringLiteral("Time"));
    valueLabel(timePanel_, QStringLiteral("Time"));
    bar->addWidget(statusPanel_, 1);
    bar->addWidget(progress_, 1);
    bar->addPermanentWidget(timePanel_);
    // The time panel is a clock, as on the main window; it ticks only while the screen is shown.
    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName(QStringLiteral("tmrClock"));
    clockTimer_->setInterval(1000);
    connect(clockTimer_, &QTimer::timeout, this, &frmSetup::updateClock);

    for (QWidget *w : a->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        designRects_.insert(w, w->geometry());
        if (qobject_cast<QGroupBox *>(w)) {
            for (QWidget *inner : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                designRects_.insert(inner, inner->geometry());
        }
    }

    connect(List1_, &QListWidget::currentRowChanged, this, [this] { selectSequence(); });
    connect(cmdNew_, &QPushButton::clicked, this, &frmSetup::newSequence);
    connect(cmdSaveAs_, &QPushButton::clicked, this, &frmSetup::saveSequenceAs);
    connect(cmdDelete_, &QPushButton::clicked, this, [this] { deleteSequence(true); });
    connect(cmdEditStep_, &QPushButton::clicked, this, &frmSetup::editStep);
    connect(cmdInsertStep_, &QPushButton::clicked, this, &frmSetup::insertStep);
    connect(cmdDeleteStep_, &QPushButton::clicked, this, &frmSetup::deleteSteps);
    connect(cmdCopyPaste_, &QPushButton::clicked, this, &frmSetup::copyPasteSteps);
    connect(cmdPrint_, &QPushButton::clicked, this, &frmSetup::printSteps);
    connect(cmdSend_, &QPushButton::clicked, this, &frmSetup::send);
    connect(cmdReturn_, &QPushButton::clicked, this, [this] { returnToMain(true); });
    connect(cmbRbselect_, &QComboBox::activated, this, &frmSetup::chooseRotorBob);
    connect(cmbComm_, &QComboBox::activated, this, &frmSetup::choosePort);
    connect(Option1_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chooseUnits(UnitsEI);
    });
    connect(Option2_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chooseUnits(UnitsSI);
    });
    const std::pair<QRadioButton *, int> plotting[] = {
        {radLinear_, PlotLinear}, {radSpline_, PlotSpline}, {radBfl_, PlotBestFitLinear}, {radBfc_, PlotBestFitPower}};
    for (const auto &[radio, method] : plotting) {
        const int m = method;
        connect(radio, &QRadioButton::toggled, this, [this, m](bool on) {
            if (on)
                choosePlotting(m);
        });
    }
}

void frmSetup::buildMenus()
{
    auto action = [this](QMenu *menu, const QString &name, const QString &caption) {
        QAction *act = menu->addAction(caption);
        act->setObjectName(name);
        return act;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("MenuFile"));
    MenuFilenew_ = action(file, QStringLiteral("MenuFilenew"), QStringLiteral("&New Sequence"));
    MenuFilesaveas_ = action(file, QStringLiteral("MenuFilesaveas"), QStringLiteral("Save Sequence &As"));
    MenuFileDelete_ = action(file, QStringLiteral("MenuFileDelete"), QStringLiteral("&Delete Sequence"));
    file->addSeparator();
    MenuReturn_ = action(file, QStringLiteral("MenuReturn"), QStringLiteral("&Return"));

    QMenu *unit = menuBar()->addMenu(QStringLiteral("&Unit"));
    unit->setObjectName(QStringLiteral("MenuUnit"));
    MenuUnitEI_ = action(unit, QStringLiteral("MenuUnitEI"), QStringLiteral("&EI Unit"));
    MenuUnitSI_ = action(unit, QStringLiteral("MenuUnitSI"), QStringLiteral("&SI Unit"));

    QMenu *sequence = menuBar()->addMenu(QStringLiteral("&Sequence"));
    sequence->setObjectName(QStringLiteral("MenuSequence"));
    MenuAddStep_ = action(sequence, QStringLiteral("MenuAddStep"), QStringLiteral("&Add Step"));
    MenuDeleteStep_ = action(sequence, QStringLiteral("MenuDeleteStep"), QStringLiteral("&Delete Step"));
    sequence->addSeparator();
    MenuSend_ = action(sequence, QStringLiteral("MenuSend"), QStringLiteral("&Send "));

    QMenu *help = menuBar()->addMenu(QStringLiteral("&About"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    MenuHelpAbout_ = action(help, QStringLiteral("MenuHelpAbout"), QStringLiteral("&About"));

    connect(MenuFilenew_, &QAction::triggered, this, &frmSetup::newSequence);
    connect(MenuFilesaveas_, &QAction::triggered, this, &frmSetup::saveSequenceAs);
    connect(MenuFileDelete_, &QAction::triggered, this, [this] { deleteSequence(false); });
    connect(MenuReturn_, &QAction::triggered, this, [this] { returnToMain(false); });
    connect(MenuUnitEI_, &QAction::triggered, this, [this] { setUnitOption(UnitsEI); });
    connect(MenuUnitSI_, &QAction::triggered, this, [this] { setUnitOption(UnitsSI); });
    connect(MenuAddStep_, &QAction::triggered, this, &frmSetup::insertStep);
    connect(MenuDeleteStep_, &QAction::triggered, this, &frmSetup::deleteSteps);
    connect(MenuSend_, &QAction::triggered, this, &frmSetup::send);
    connect(MenuHelpAbout_, &QAction::triggered, this, &frmSetup::showAbout);
}

QString frmSetup::settingsPath() const
{
    return QDir(ctx_.workDir.isEmpty() ? QDir::currentPath() : ctx_.workDir).filePath(SettingsFile::fileName());
}

void frmSetup::showFromMain(Qt::WindowStates mainWindowState)
{
    if (!loaded_)
        load();
    setWindowState(mainWindowState);
    show();
    if (!loaded_) {
        loaded_ = true;
        loadSequenceList();
    }
}

void frmSetup::load()
{
    // Controls back at their design places (a reload after a close through the frame records afresh).
    for (auto it = designRects_.cbegin(); it != designRects_.cend(); ++it)
        it.key()->setGeometry(it.value());
    area_->resize(kDesignSize);

    updateClock();
    statusPanel_->clear();
    progress_->setVisible(false);

    // The options as the program runs now, then as the settings file has them.
    setUnitOption(state_.UnitSystem);
    {
        QRadioButton *plotting[] = {radLinear_, radSpline_, radBfl_, radBfc_};
        const int m = state_.PlottingMethod;
        plotting[(m >= 0 && m < 4) ? m : 0]->setChecked(true);
    }
    cmbComm_->setCurrentIndex(std::clamp(state_.CommPortNumber - 1, 0, kPortCount - 1));
    const SettingsValues settings = SettingsFile::read(settingsPath());
    if (settings.linesRead >= 1) {
        cmbComm_->setCurrentIndex(settings.portIndex);
        choosePort(settings.portIndex);
        if (state_.DebugMode)
            ctx_.prompts->message(QStringLiteral("Comm port added OK"), ProgramInfo::name());
    }
    // A line 2 that is neither 1 nor 2 leaves the unit options as they are.
    if (settings.unitSystemRead)
        setUnitOption(settings.unitSystem);
    if (settings.linesRead >= 1)
        state_.ScreenFactor = settings.linesRead >= 3 ? settings.screenFactor : 1.0;
    txtSF_->setText(NumberText::Text(state_.ScreenFactor));
    updatePortToolTip();
    writeHeader();

    const QSize frame(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    resize(kDesignSize + frame);
    if (!resizer_) {
        resizer_ =
            new ProportionalResizer(area_, ProportionalResizer::Variant::SetupScreen, state_.ScreenFactor, kDesignSize);
        // Single-line entry boxes keep the height their font gives them, like combo boxes.
        resizer_->markPositionOnly(txtSF_);
        resizer_->record(kDesignSize);
    } else {
        resizer_->setScreenFactor(state_.ScreenFactor);
        resizer_->record(kDesignSize);
    }
    if (const QScreen *screen = this->screen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.left() + (avail.width() - width()) / 2, avail.top() + (avail.height() - height()) / 2);
    }
}

void frmSetup::loadSequenceList(int selectId)
{
    QList<SequenceEntry> entries;
    commands_.guarded([&] { entries = library_.sequences(); });
    entries_ = entries;
    int row = 0;
    {
        const QSignalBlocker block(List1_);
        List1_->clear();
        for (int i = 0; i < entries_.size(); ++i) {
            List1_->addItem(entries_[i].name);
            if (entries_[i].id == selectId)
                row = i;
        }
        List1_->setCurrentRow(entries_.isEmpty() ? -1 : row);
    }
    selectSequence();
}

QString frmSetup::currentSequenceName() const
{
    const int row = List1_->currentRow();
    return row >= 0 && row < entries_.size() ? entries_[row].name : QString();
}

void frmSetup::selectSequence()
{
    const int row = List1_->currentRow();
    if (row < 0 || row >= entries_.size()) {
        curSeqId_ = 0;
        state_.CurrentSequence.clear();
        steps_.clear();
        fillStepGrid();
        updateCommands();
        return;
    }
    curSeqId_ = entries_[row].id;
    const int position = RotorBobTable::isTableCode(entries_[row].rotorBob) ? entries_[row].rotorBob - 1 : 0;
    cmbRbselect_->setCurrentIndex(position);
    chooseRotorBob(position); // sets the factors and reloads the steps
    updateCommands();
}

void frmSetup::loadSteps()
{
    QList<SequenceStep> steps;
    if (curSeqId_ != 0)
        commands_.guarded([&] { steps = library_.steps(curSeqId_); });
    steps_ = steps;
    state_.CurrentSequence = currentSequenceName();
    fillStepGrid();
    updateCommands();
}

void frmSetup::writeHeader()
{
    const bool si = state_.isSI();
    QStringList titles = StepTable::headerTitles(si);
    for (QString &t : titles)
        t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    grid_->setHorizontalHeaderLabels(titles);
    grid_->setProperty("FormatString", StepTable::headerFormat(si));
}

void frmSetup::fillStepGrid()
{
    const int keep = selectedRow();
    writeHeader();
    grid_->setRowCount(0);
    grid_->setRowCount(int(steps_.size()));
    const bool si = state_.isSI();
    for (int r = 0; r < steps_.size(); ++r) {
        const QStringList cells = StepTable::cells(steps_[r], si, state_.RateFactor);
        for (int c = 0; c < cells.size(); ++c)
            grid_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    if (!steps_.isEmpty())
        selectRow(keep >= 1 && keep <= steps_.size() ? keep : 1);
}

int frmSetup::selectedRow() const
{
    const int r = grid_->currentRow();
    return r >= 0 && r < grid_->rowCount() ? r + 1 : 0;
}

void frmSetup::selectRow(int row)
{
    if (row >= 1 && row <= grid_->rowCount())
        grid_->setCurrentCell(row - 1, 0);
}

QList<QStringList> frmSetup::tableRows() const
{
    QList<QStringList> rows;
    for (int r = 0; r < grid_->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid_->columnCount(); ++c)
            cells << (grid_->item(r, c) ? grid_->item(r, c)->text() : QString());
        rows << cells;
    }
    return rows;
}

void frmSetup::updateCommands()
{
    const bool haveSequence = curSeqId_ != 0;
    const bool haveSteps = haveSequence && !steps_.isEmpty();
    for (QWidget *w :
         std::initializer_list<QWidget *>{cmdDelete_, cmdSaveAs_, cmdInsertStep_, cmdDeleteStep_, cmdPrint_, cmdSend_})
        w->setEnabled(haveSequence);
    for (QAction *act : {MenuFileDelete_, MenuFilesaveas_, MenuAddStep_, MenuDeleteStep_, MenuSend_})
        act->setEnabled(haveSequence);
    cmdEditStep_->setEnabled(haveSteps);
    cmdCopyPaste_->setEnabled(haveSteps);
}

void frmSetup::updatePortToolTip()
{
    for (int i = 0; i < cmbComm_->count(); ++i) {
        const QString device = ctx_.ports ? ctx_.ports->device(i + 1) : PortMap::defaultDevice(i + 1);
        cmbComm_->setItemData(i, device, Qt::ToolTipRole);
    }
    const int n = cmbComm_->currentIndex() + 1;
    const QString device = ctx_.ports ? ctx_.ports->device(n) : PortMap::defaultDevice(n);
    cmbComm_->setToolTip(QStringLiteral("Use this drop-down menu to select a software communications port")
                         + QStringLiteral("\n") + commText(n) + QStringLiteral(" is ") + device);
}

// ---- options

void frmSetup::chooseRotorBob(int position)
{
    RotorBobTable::select(position, state_);
    loadSteps();
}

void frmSetup::choosePort(int position)
{
    state_.CommPortNumber = position + 1;
    updatePortToolTip();
}

void frmSetup::chooseUnits(int unitSystem)
{
    if (state_.UnitSystem == unitSystem)
        return;
    state_.UnitSystem = unitSystem;
    state_.UnitsChanged = true;
    loadSteps();
}

void frmSetup::setUnitOption(int unitSystem)
{
    if (unitSystem == UnitsEI)
        Option1_->setChecked(true);
    else if (unitSystem == UnitsSI)
        Option2_->setChecked(true);
    // The option may have been set already while the state says otherwise (first load).
    if (unitSystem == UnitsEI || unitSystem == UnitsSI)
        chooseUnits(unitSystem);
}

void frmSetup::choosePlotting(int method)
{
    state_.PlottingMethod = method;
    emit plottingMethodChanged(method);
}

// ---- library commands

void frmSetup::updateClock()
{
    timePanel_->setText(ctx_.clock ? ctx_.clock->currentDateTime().time().toString(QStringLiteral("hh:mm:ss"))
                                   : QString());
}

void frmSetup::newSequence()
{
    if (const auto id = commands_.newSequence(cmbRbselect_->currentIndex() + 1))
        loadSequenceList(*id);
}

void frmSetup::saveSequenceAs()
{
    if (curSeqId_ == 0)
        return;
    if (const auto id = commands_.saveAs(curSeqId_, cmbRbselect_->currentIndex() + 1))
        loadSequenceList(*id);
}

void frmSetup::deleteSequence(bool ask)
{
    if (curSeqId_ == 0)
        return;
    if (ask && !commands_.confirmDelete(currentSequenceName()))
        return;
    commands_.deleteSequence(curSeqId_);
    loadSequenceList();
}

// ---- step commands

bool frmSetup::runStepDialog(QDialog &dialog)
{
    return runDialog ? runDialog(dialog) : dialog.exec() == QDialog::Accepted;
}

void frmSetup::editStep()
{
    const int r = selectedRow();
    if (curSeqId_ == 0 || r < 1)
        return;
    frmAddEditStep dialog(state_.isSI(), state_.RateFactor, state_.ScreenFactor, *ctx_.prompts, this);
    dialog.setFieldTexts(tableRows().value(r - 1));
    if (!runStepDialog(dialog) || !dialog.values())
        return;
    commands_.editStep(curSeqId_, r, *dialog.values());
    loadSteps();
}

void frmSetup::insertStep()
{
    if (curSeqId_ == 0 || !commands_.mayInsert(int(steps_.size())))
        return;
    const int r = selectedRow();
    frmInsertStep dialog(state_.isSI(), state_.RateFactor, state_.ScreenFactor, *ctx_.prompts, this);
    dialog.setStepNoText(r > 0 ? tableRows().value(r - 1).value(0) : QStringLiteral("1"));
    if (!runStepDialog(dialog) || !dialog.values())
        return;
    commands_.insertStep(curSeqId_, r, dialog.insertAfter(), *dialog.values());
    loadSteps();
    selectRow(StepNumbering::insertPosition(r, dialog.insertAfter()));
}

void frmSetup::copyPasteSteps()
{
    if (curSeqId_ == 0 || steps_.isEmpty())
        return;
    frmCopyPaste dialog(int(steps_.size()), state_.ScreenFactor, *ctx_.prompts, this);
    if (!runStepDialog(dialog) || !dialog.choice())
        return;
    commands_.pasteSteps(curSeqId_, int(steps_.size()), *dialog.choice());
    loadSteps();
}

void frmSetup::deleteSteps()
{
    if (curSeqId_ == 0)
        return;
    frmDel dialog(int(steps_.size()), state_.ScreenFactor, this);
    int from = 0;
    if (runStepDialog(dialog)) {
        from = dialog.delFrom();
        delTo_ = dialog.delTo();
    }
    if (commands_.deleteSteps(curSeqId_, int(steps_.size()), from, delTo_))
        loadSteps();
}

// ---- printing, sending, leaving

void frmSetup::printSteps()
{
    if (curSeqId_ == 0)
        return;
    StepListPrinter::print(*ctx_.prompts, currentSequenceName(), tableRows());
}

void frmSetup::send()
{
    if (curSeqId_ == 0)
        return;
    // The instrument is told the rotor-bob this screen shows, whatever an opened test left in RotorBob.
    SequenceDownload::send(ctx_, currentSequenceName(), cmbRbselect_->currentIndex() + 1, *this);
}

void frmSetup::setStatus(const QString &text)
{
    statusPanel_->setText(text);
}

void frmSetup::showProgress(int maximum)
{
    progress_->setRange(0, maximum);
    progress_->setValue(0);
    progress_->setVisible(true);
}

void frmSetup::setProgress(int value)
{
    progress_->setValue(value);
}

void frmSetup::hideProgress()
{
    progress_->setVisible(false);
}

void frmSetup::showAbout()
{
    if (aboutHandler) {
        aboutHandler();
        return;
    }
    ctx_.prompts->message(ProgramInfo::name() + QStringLiteral(" for K7100 viscometer \n") + ProgramInfo::versionLine(),
                          QStringLiteral("About"));
}

void frmSetup::returnToMain(bool saveSettings)
{
    if (saveSettings) {
        // A factor that is not a number keeps the one in force; so does one that would leave parts of the
        // windows out of reach, with a word why.
        const auto typed = StepRules::number(txtSF_->text());
        if (typed && SettingsFile::isUsableScreenFactor(*typed))
            state_.ScreenFactor = *typed;
        else if (typed)
            ctx_.prompts->message(SettingsFile::screenFactorRefusedText(txtSF_->text().trimmed(), state_.ScreenFactor),
                                  ProgramInfo::name(), MsgButtons::Ok, MsgIcon::Exclamation);
        txtSF_->setText(NumberText::Text(state_.ScreenFactor));
        if (!SettingsFile::writeFromSetup(settingsPath(), cmbComm_->currentIndex(), state_.UnitSystem,
                                          state_.ScreenFactor))
            ctx_.prompts->message(QStringLiteral("The settings could not be saved in ") + settingsPath()
                                      + QStringLiteral("."),
                                  ProgramInfo::name(), MsgButtons::Ok, MsgIcon::Exclamation);
    }
    leave();
}

void frmSetup::leave()
{
    const Qt::WindowStates s = windowState();
    hide();
    emit returned(s);
}

void frmSetup::closeEvent(QCloseEvent *event)
{
    const bool wasVisible = isVisible();
    const Qt::WindowStates s = windowState();
    loaded_ = false;
    event->accept();
    if (wasVisible)
        emit returned(s);
}

void frmSetup::showEvent(QShowEvent *event)
{
    updateClock();
    clockTimer_->start();
    QMainWindow::showEvent(event);
}

void frmSetup::hideEvent(QHideEvent *event)
{
    clockTimer_->stop();
    QMainWindow::hideEvent(event);
}
