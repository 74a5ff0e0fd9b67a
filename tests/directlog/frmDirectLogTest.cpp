// The direct-logging window offscreen: its controls and texts, the entry checks through the lists, the
// button states through a run, Print Chart, Exit, and a single window per main window.
#include "directlog/frmDirectLog.h"
#include "directlog/DirectLogSession.h"
#include "platform/ChartModel.h"
#include "platform/ChartView.h"
#include "tests/directlog/DirectLogFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

using directlog::reading;

namespace {

const QByteArray runSpeed300 = QByteArray(1, 8) + "1,60000,35,30000,1";

class frmDirectLogTest : public DirectLogFixture {
protected:
    template <class W> W *control(QWidget &parent, const char *name)
    {
        auto *w = parent.findChild<W *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QList<bool> enabled(QWidget &w)
    {
        QList<bool> out;
        for (const char *name : {"cmdRun", "cmdStop", "cmdStartRecord", "cmdStopRecord"})
            out << control<QPushButton>(w, name)->isEnabled();
        return out;
    }
    static QStringList items(QComboBox *box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
};

} // namespace

TEST_F(frmDirectLogTest, ShowsItsControlsAndSendsTheSpeedAtLoad)
{
    frmDirectLog w(ctx);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Direct Data Logging"));
    EXPECT_FALSE(w.isModal());
    EXPECT_EQ(port().written(), runSpeed300);

    auto *speed = control<QComboBox>(w, "cmbSpeed");
    auto *rate = control<QComboBox>(w, "cmbRate");
    EXPECT_EQ(items(speed), (QStringList{"300", "600", "3", "6", "100", "200"}));
    EXPECT_EQ(items(rate), (QStringList{"1", "2", "5", "10", "30", "60"}));
    EXPECT_EQ(speed->currentText(), QStringLiteral("300"));
    EXPECT_EQ(rate->currentText(), QStringLiteral("1"));
    EXPECT_EQ(speed->accessibleName(), QStringLiteral("Select Run Speed"));
    EXPECT_EQ(rate->accessibleName(), QStringLiteral("Select Data Recording Rate"));
    EXPECT_EQ(control<QLineEdit>(w, "txtFileName")->accessibleName(), QStringLiteral("Input Data File Name"));

    struct Button {
        const char *name;
        const char *caption;
        const char *tip;
    };
    const Button buttons[] = {
        {"cmdRun", "&Run", "Push this button to start to updating display only"},
        {"cmdStop", "Stop", ""},
        {"cmdStartRecord", "&Start Recording", "Click here to start recording data to data.txt file"},
        {"cmdStopRecord", "S&top Recording", "Stop recording data to data.txt file"},
        {"Command1", "Print Chart", ""},
        {"cmdExit", "&Exit", "Click here to exit this porgram"},
    };
    for (const Button &b : buttons) {
        auto *button = control<QPushButton>(w, b.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromLatin1(b.caption));
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(b.tip));
        EXPECT_FALSE(button->accessibleName().isEmpty());
    }
    EXPECT_EQ(enabled(w), (QList<bool>{true, false, false, false}));
    EXPECT_TRUE(control<QLabel>(w, "lblDataDir")->text().contains(QDir::toNativeSeparators(dir.path())));
    EXPECT_FALSE(control<ChartView>(w, "Pesgo1")->accessibleName().isEmpty());
}

TEST_F(frmDirectLogTest, ListEntriesAreCheckedAndPutBack)
{
    frmDirectLog w(ctx);
    auto *speed = control<QComboBox>(w, "cmbSpeed");
    auto *rate = control<QComboBox>(w, "cmbRate");

    rate->setEditText(QStringLiteral("0.5"));
    EXPECT_EQ(rate->currentText(), QStringLiteral("1"));
    rate->setEditText(QStringLiteral("5"));
    EXPECT_EQ(w.session().rate(), 5.0);
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("Invalid Record Rate Entry! Please Try Again.")});

    prompts.clear();
    port().writes.clear();
    speed->setEditText(QStringLiteral("650"));
    QFocusEvent tabbedAway(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(speed, &tabbedAway);
    EXPECT_EQ(speed->currentText(), QStringLiteral("300"));
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("Invalid Speed Entry! Please Try Again.")});
    EXPECT_EQ(port().written(), runSpeed300);

    // Opening the list or switching windows is not leaving the entry.
    port().writes.clear();
    speed->setEditText(QStringLiteral("100"));
    for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent e(QEvent::FocusOut, reason);
        QApplication::sendEvent(speed, &e);
    }
    EXPECT_TRUE(port().writes.isEmpty());
    QFocusEvent clickedAway(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(speed, &clickedAway);
    EXPECT_EQ(port().written(), QByteArray(1, 8) + "1,60000,35,10000,1");
}

TEST_F(frmDirectLogTest, ButtonsFollowTheRunAndExitStopsTheInstrument)
{
    QPointer<frmDirectLog> w = new frmDirectLog(ctx);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    control<QLineEdit>(*w, "txtFileName")->setText(QStringLiteral("log.txt"));
    control<QPushButton>(*w, "cmdRun")->click();
    EXPECT_EQ(enabled(*w), (QList<bool>{false, true, true, false}));
    control<QPushButton>(*w, "cmdStartRecord")->click();
    EXPECT_EQ(enabled(*w), (QList<bool>{false, true, false, true}));
    port().feed(reading(2));
    w->session().tick();
    EXPECT_EQ(fileLines(QStringLiteral("log.txt")).size(), 2);
    control<QPushButton>(*w, "cmdStopRecord")->click();
    EXPECT_EQ(enabled(*w), (QList<bool>{false, true, true, false}));

    control<QPushButton>(*w, "cmdExit")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(port().written().right(1), QByteArray(1, 6));
    EXPECT_FALSE(port().isOpen());
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(frmDirectLogTest, StopReturnsTheButtonsToIdle)
{
    frmDirectLog w(ctx);
    control<QLineEdit>(w, "txtFileName")->setText(QStringLiteral("log.txt"));
    control<QPushButton>(w, "cmdRun")->click();
    control<QPushButton>(w, "cmdStop")->click();
    EXPECT_EQ(enabled(w), (QList<bool>{true, false, false, false}));
    EXPECT_FALSE(w.session().timer()->isActive());
}

TEST_F(frmDirectLogTest, PrintChartPrintsThroughThePrintDialog)
{
    frmDirectLog w(ctx);
    w.resize(900, 600);
    prompts.printPdfPath = dir.file(QStringLiteral("chart.pdf"));
    control<QPushButton>(w, "Command1")->click();
    ASSERT_FALSE(prompts.records.isEmpty());
    EXPECT_EQ(prompts.records.last().kind, PromptRecord::Print);
    EXPECT_GT(QFileInfo(prompts.printPdfPath).size(), 0);
}

TEST_F(frmDirectLogTest, OneWindowPerMainWindowAndItGoesWithIt)
{
    auto *main = new QWidget;
    frmDirectLog *first = frmDirectLog::showFrom(ctx, main);
    frmDirectLog *again = frmDirectLog::showFrom(ctx, main);
    EXPECT_EQ(first, again);
    EXPECT_EQ(port().openCount, 1); // loaded once
    EXPECT_TRUE(first->isWindow());
    first->session().run(QStringLiteral("x.txt"));
    ASSERT_TRUE(first->session().isRunning());
    delete main; // the main window's end takes the logging window along, stopping the instrument
    EXPECT_EQ(port().written().right(1), QByteArray(1, 6));
    EXPECT_FALSE(port().isOpen());
}
