#include "platform/WorkProgressWindow.h"

#include "platform/WorkProgress.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

WorkProgressWindow::WorkProgressWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("K7100DAQ"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("lblWork"));
    label_->setMinimumWidth(320);
    label_->setWordWrap(true);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setAccessibleName(QStringLiteral("Progress"));
    bar_->setRange(0, 1000);
    bar_->setTextVisible(false);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    cancel_->setAccessibleName(QStringLiteral("Cancel"));
    connect(cancel_, &QPushButton::clicked, this, &WorkProgressWindow::stop);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
}

void WorkProgressWindow::follow(const QString &label, bool stopOffered, WorkProgress *progress)
{
    label_->setText(label);
    setAccessibleName(label);
    stopOffered_ = stopOffered;
    progress_ = progress;
    cancel_->setVisible(stopOffered);
    cancel_->setEnabled(stopOffered);
    updateProgress();
}

void WorkProgressWindow::updateProgress()
{
    const int perMille = progress_ ? progress_->perMille() : -1;
    if (perMille < 0) {
        bar_->setRange(0, 0); // a moving bar: the amount of work is not known yet
        return;
    }
    bar_->setRange(0, 1000);
    bar_->setValue(perMille);
}

QString WorkProgressWindow::label() const
{
    return label_->text();
}

void WorkProgressWindow::stop()
{
    if (!stopOffered_ || !progress_ || progress_->stopRequested())
        return;
    progress_->requestStop();
    cancel_->setEnabled(false);
    label_->setText(label_->text() + QStringLiteral("\nStopping..."));
}

void WorkProgressWindow::reject()
{
    // Escape: the window goes with the work, not before it.
    stop();
}

void WorkProgressWindow::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous()) {
        stop();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
