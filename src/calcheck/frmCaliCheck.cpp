#include "calcheck/frmCaliCheck.h"

#include "calcheck/CalibrationSession.h"
#include "calcheck/CalibrationWorkbook.h"
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/FormBuilder.h"
#include "platform/ProportionalResizer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

using namespace FormBuilder;

namespace {

const QSize kDesignSize(560, 390);

QLabel *cell(QWidget *parent, const QString &name, const QString &text, const QRect &rect, const QString &accessible)
{
    auto *l = place<QLabel>(parent, name, rect);
    l->setText(text);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    valueLabel(l, accessible);
    return l;
}

} // namespace

void frmCaliCheck::showModal(AppContext &context, QWidget *mainWindow)
{
    frmCaliCheck window(context, mainWindow);
    window.exec();
}

frmCaliCheck::frmCaliCheck(AppContext &context, QWidget *parent)
    : QDialog(parent), context_(context), session_(std::make_unique<CalibrationSession>(context))
{
    setObjectName(QStringLiteral("frmCaliCheck"));
    setWindowTitle(QStringLiteral("Auto Calibration Check"));
    setModal(true);
    resize(kDesignSize);
    buildControls();
    new ProportionalResizer(this, ProportionalResizer::Variant::Default, context.state->ScreenFactor, kDesignSize);

    connect(session_.get(), &CalibrationSession::displayChanged, this, &frmCaliCheck::refresh);
    session_->load();
    refresh();
}

frmCaliCheck::~frmCaliCheck()
{
    session_->leave();
}

void frmCaliCheck::buildControls()
{
    auto *note = new QLabel(QStringLiteral("Note: Only R1 rotor / B1 bob supported.  Enter the calibration fluid "
                                           "viscosity in the text box below, and click \"Start\".  Export results "
                                           "to Excel if desired."),
                            this);
    note->setObjectName(QStringLiteral("lblNote"));
    note->setWordWrap(true);
    note->setGeometry(10, 8, 540, 48);

    txtVisc_ = place<QLineEdit>(this, QStringLiteral("txtVisc"), {200, 66, 100, 24});
    txtVisc_->setToolTip(QStringLiteral("Enter a number >0 and <6300"));
    label(this, QStringLiteral("Calibration Fluid Viscosity:"), {10, 66, 185, 24}, txtVisc_);
    auto *unit = new QLabel(QStringLiteral("cP"), this);
    unit->setGeometry(306, 66, 40, 24);

    auto *result = new QLabel(QStringLiteral("Calibration Check Result:"), this);
    result->setGeometry(10, 104, 240, 22);
    const QString headers[3] = {QStringLiteral("Shear Stress  (dyn/cm2)"), QStringLiteral("Error (dyn/cm2)"),
                                QStringLiteral("Error (%)")};
    for (int c = 0; c < 3; ++c) {
        auto *h = new QLabel(headers[c], this);
        h->setAlignment(Qt::AlignCenter);
        h->setGeometry(10 + c * 180, 128, 170, 22);
    }
    for (int r = 0; r < 5; ++r) {
        const int y = 154 + r * 28;
        const QString index = QStringLiteral("(%1)").arg(r);
        Stress3_[size_t(r)] = cell(this, QStringLiteral("Stress3") + index, QString(), {10, y, 170, 24},
                                   headers[0] + QStringLiteral(" row ") + QString::number(r + 1));
        lbl3Err_[size_t(r)] = cell(this, QStringLiteral("lbl3Err") + index, QString(), {190, y, 170, 24},
                                   headers[1] + QStringLiteral(" row ") + QString::number(r + 1));
        lbl3PercentErr_[size_t(r)] = cell(this, QStringLiteral("lbl3PercentErr") + index, QString(), {370, y, 170, 24},
                                          headers[2] + QStringLiteral(" row ") + QString::number(r + 1));
    }

    cmdStart_ = button<QPushButton>(this, QStringLiteral("cmdStart"), QStringLiteral("&Start"), {10, 310, 160, 32});
    cmdReturn_ = button<QPushButton>(this, QStringLiteral("cmdReturn"), QStringLiteral("&Return"), {195, 310, 160, 32});
    cmdExport_ =
        button<QPushButton>(this, QStringLiteral("cmdExport"), QStringLiteral("&Export to Excel"), {380, 310, 160, 32});
    // Enter starts the check (pressing Start, which does not end the dialog); Escape is Return.
    cmdStart_->setDefault(true);
    connect(cmdStart_, &QPushButton::clicked, this, &frmCaliCheck::cmdStart_Click);
    connect(cmdReturn_, &QPushButton::clicked, this, &frmCaliCheck::cmdReturn_Click);
    connect(cmdExport_, &QPushButton::clicked, this, &frmCaliCheck::cmdExport_Click);

    auto *status = place<QStatusBar>(this, QStringLiteral("StatusBar1"), {0, 362, 560, 28});
    status->setSizeGripEnabled(false);
    curStatus_ = new QLabel(status);
    curStatus_->setObjectName(QStringLiteral("CurStatus"));
    curStatus_->setToolTip(QStringLiteral("Current Status"));
    valueLabel(curStatus_, QStringLiteral("Current Status"));
    status->addWidget(curStatus_, 1);
}

void frmCaliCheck::refresh()
{
    const auto &rows = session_->table().rows();
    for (size_t r = 0; r < rows.size(); ++r) {
        Stress3_[r]->setText(QString::number(rows[r].target));
        lbl3Err_[r]->setText(rows[r].error);
        lbl3PercentErr_[r]->setText(rows[r].percentError);
    }
    curStatus_->setText(session_->statusText());
}

void frmCaliCheck::cmdStart_Click()
{
    session_->start(txtVisc_->text());
}

void frmCaliCheck::cmdReturn_Click()
{
    reject();
}

void frmCaliCheck::cmdExport_Click()
{
    CalibrationWorkbook::exportTo(context_, session_->table());
}

void frmCaliCheck::reject()
{
    session_->leave();
    QDialog::reject();
}
