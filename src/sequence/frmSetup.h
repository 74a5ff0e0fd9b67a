#pragma once
// The sequence setup screen: the sequence library and its step table, the step commands, the rotor-bob,
// unit, port, screen-factor and charting options, printing the step list and sending the sequence.
// The main window hides while it is shown and shows itself again on returned().
//
//   auto *setup = new frmSetup(context);                    // once; keep it for the whole run
//   connect(setup, &frmSetup::returned, main, [main](Qt::WindowStates s) { main->setWindowState(s); main->show(); });
//   main->hide(); setup->showFromMain(main->windowState()); // cmdSetup and MenuSetup
#include "link/DownloadProgress.h"
#include "sequence/SequenceCommands.h"
#include "sequence/SequenceLibrary.h"

#include <QHash>
#include <QMainWindow>
#include <QRect>
#include <functional>

struct AppContext;
struct ProgramState;
class ProportionalResizer;
class QAction;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;

class frmSetup : public QMainWindow, public DownloadProgress {
    Q_OBJECT
public:
    explicit frmSetup(AppContext &context, QWidget *parent = nullptr);
    ~frmSetup() override;

    // Shows the screen in the main window's window state. The load (settings file, lists, first sequence)
    // runs when the screen is new or was closed through its frame; a screen left by Return keeps its state.
    void showFromMain(Qt::WindowStates mainWindowState = Qt::WindowNoState);
    bool isLoaded() const { return loaded_; }

    // Runs a step dialog modally; true when it was accepted. Tests replace it to fill in and answer dialogs.
    std::function<bool(QDialog &)> runDialog;
    // The main window's About box (a plain message when not connected).
    std::function<void()> aboutHandler;
    // The selected sequence: its id, name, stored steps and the table as displayed.
    int curSeqId() const { return curSeqId_; }
    QString currentSequenceName() const;
    const QList<SequenceStep> &currentSteps() const { return steps_; }
    QList<QStringList> tableRows() const;
    // The selected step: table row r shows step r; 0 when no step is selected.
    int selectedRow() const;
    void selectRow(int row);

    // The download reports on the status panel keyed "Status" and the progress bar.
    void setStatus(const QString &text) override;
    void showProgress(int maximum) override;
    void setProgress(int value) override;
    void hideProgress() override;

public slots:
    void newSequence();
    void saveSequenceAs();
    void deleteSequence(bool ask);
    void editStep();
    void insertStep();
    void copyPasteSteps();
    void deleteSteps();
    void printSteps();
    void send();
    void returnToMain(bool saveSettings);
    void chooseUnits(int unitSystem);
    void chooseRotorBob(int position);
    void choosePort(int position);
    void choosePlotting(int method);
    void showAbout();
    // The status bar's clock (every second while the screen is shown).
    void updateClock();

signals:
    void returned(Qt::WindowStates state);
    // The main chart's plotting method was chosen (also kept in ProgramState::PlottingMethod).
    void plottingMethodChanged(int method);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void load();
    void loadSequenceList(int selectId = 0);
    void selectSequence();
    void loadSteps();
    void fillStepGrid();
    void writeHeader();
    void updateCommands();
    void updatePortToolTip();
    void setUnitOption(int unitSystem);
    void leave();
    bool runStepDialog(QDialog &dialog);
    QString settingsPath() const;

    AppContext &ctx_;
    ProgramState &state_;
    SequenceLibrary library_;
    SequenceCommands commands_;
    bool loaded_ = false;
    QList<SequenceEntry> entries_;
    int curSeqId_ = 0;
    QList<SequenceStep> steps_;
    int delTo_ = 0; // the delete dialog's last "to", kept as the message after a cancel shows it

    QWidget *area_ = nullptr;
    QHash<QWidget *, QRect> designRects_;
    ProportionalResizer *resizer_ = nullptr;

    QListWidget *List1_ = nullptr;
    QTableWidget *grid_ = nullptr;
    QPushButton *cmdNew_ = nullptr, *cmdSaveAs_ = nullptr, *cmdDelete_ = nullptr;
    QPushButton *cmdEditStep_ = nullptr, *cmdInsertStep_ = nullptr, *cmdDeleteStep_ = nullptr;
    QPushButton *cmdCopyPaste_ = nullptr, *cmdPrint_ = nullptr, *cmdSend_ = nullptr, *cmdReturn_ = nullptr;
    QComboBox *cmbRbselect_ = nullptr, *cmbComm_ = nullptr;
    QRadioButton *Option1_ = nullptr, *Option2_ = nullptr;
    QRadioButton *radBfc_ = nullptr, *radBfl_ = nullptr, *radSpline_ = nullptr, *radLinear_ = nullptr;
    QLineEdit *txtSF_ = nullptr;
    QLabel *timePanel_ = nullptr, *statusPanel_ = nullptr;
    QTimer *clockTimer_ = nullptr;
    QProgressBar *progress_ = nullptr;
    QAction *MenuFilenew_ = nullptr, *MenuFilesaveas_ = nullptr, *MenuFileDelete_ = nullptr, *MenuReturn_ = nullptr;
    QAction *MenuUnitEI_ = nullptr, *MenuUnitSI_ = nullptr;
    QAction *MenuAddStep_ = nullptr, *MenuDeleteStep_ = nullptr, *MenuSend_ = nullptr, *MenuHelpAbout_ = nullptr;
};
