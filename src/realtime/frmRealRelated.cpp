#include "realtime/frmRealRelated.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/FormBuilder.h"
#include "platform/ProportionalResizer.h"
#include "store/Database.h"
#include "store/TestLibrary.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

using namespace FormBuilder;

frmRealRelated::frmRealRelated(AppContext &context, QWidget *parent)
    : QDialog(parent), context_(context), library_(std::make_unique<TestLibrary>(context.database->connection())),
      naming_(std::make_unique<RealTimeNaming>(*context.state, *context.prompts, *context.clock, *library_))
{
    setObjectName(QStringLiteral("frmRealRelated"));
    setWindowTitle(QStringLiteral("Real Time Test Testname"));
    setModal(true);
    resize(520, 420);

    txtTestName_ = place<QLineEdit>(this, QStringLiteral("txtTestName"), {170, 16, 330, 24});
    label(this, QStringLiteral("Test Name:"), {16, 18, 150, 20}, txtTestName_);
    txtMudId_ = place<QLineEdit>(this, QStringLiteral("txtMudId"), {170, 48, 330, 24});
    label(this, QStringLiteral("Fluid ID:"), {16, 50, 150, 20}, txtMudId_);
    txtSampleTime_ = place<QLineEdit>(this, QStringLiteral("txtSampleTime"), {170, 80, 330, 24});
    label(this, QStringLiteral("Sample Time:"), {16, 82, 150, 20}, txtSampleTime_);
    txtCompanyName_ = place<QLineEdit>(this, QStringLiteral("txtCompanyName"), {170, 112, 330, 24});
    label(this, QStringLiteral("Company Name:"), {16, 114, 150, 20}, txtCompanyName_);
    txtDesc_ = place<QPlainTextEdit>(this, QStringLiteral("txtDesc"), {16, 166, 484, 70});
    label(this, QStringLiteral("Description, Notes and Comments:"), {16, 144, 300, 20}, txtDesc_);
    txtDesc_->setTabChangesFocus(true); // Tab goes on to the factor choice and OK, it types no tab

    // The frame and its contents are siblings on the dialog so the proportional resizer scales them all.
    frameCustom_ = place<QGroupBox>(this, QStringLiteral("Frame1"), {16, 246, 484, 120});
    frameCustom_->setTitle(QStringLiteral("Custom RB factor?"));
    frameCustom_->setAccessibleName(QStringLiteral("Custom RB factor?"));
    Option1_ = button<QRadioButton>(this, QStringLiteral("Option1"), QStringLiteral("No"), {30, 268, 60, 22});
    Option2_ = button<QRadioButton>(this, QStringLiteral("Option2"), QStringLiteral("Yes"), {100, 268, 60, 22});
    txtStressFactor_ = place<QLineEdit>(this, QStringLiteral("txtStressFactor"), {200, 296, 100, 24});
    QLabel *stressCaption = label(this, QStringLiteral("Shear Stress Factor:"), {30, 298, 165, 20}, txtStressFactor_);
    QLabel *stressUnit = label(this, QStringLiteral("(Per B1 Bob Stress)"), {306, 298, 180, 20});
    txtRateFactor_ = place<QLineEdit>(this, QStringLiteral("txtRateFactor"), {200, 328, 100, 24});
    QLabel *rateCaption = label(this, QStringLiteral("Shear Rate Factor"), {30, 330, 165, 20}, txtRateFactor_);
    QLabel *rateUnit = label(this, QStringLiteral("(Sec-1/Rpm)"), {306, 330, 180, 20});
    QLabel *note =
        label(this, QStringLiteral("Note: For special rotor & bob, select R1B1 in Setup screen."), {180, 270, 318, 20});
    note->setObjectName(QStringLiteral("lblNote"));
    frameCustom_->lower();
    factorWidgets_ = {txtStressFactor_, stressCaption, stressUnit, txtRateFactor_, rateCaption, rateUnit, note};

    auto *cmdOk = button<QPushButton>(this, QStringLiteral("cmdOk"), QStringLiteral("&OK"), {150, 378, 100, 30});
    auto *cmdCancel =
        button<QPushButton>(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), {270, 378, 100, 30});
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &frmRealRelated::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmRealRelated::cmdCancel_Click);
    // However "No" or "Yes" is chosen (pointer, keyboard, a screen reader's "toggle"), its handling runs.
    connect(Option1_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });

    new ProportionalResizer(this, ProportionalResizer::Variant::Default, context.state->ScreenFactor);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    txtSampleTime_->setText(naming_->load());
    Option1_->setChecked(true);
    showFactorFields(false);
}

frmRealRelated::~frmRealRelated() = default;

QString frmRealRelated::testName() const
{
    return naming_->testName();
}

int frmRealRelated::testId() const
{
    return naming_->testId();
}

void frmRealRelated::showFactorFields(bool visible)
{
    for (QWidget *w : factorWidgets_)
        w->setVisible(visible);
}

void frmRealRelated::Option1_Click()
{
    Option1_->setChecked(true);
    naming_->chooseCustom(false);
    showFactorFields(false);
}

void frmRealRelated::Option2_Click()
{
    Option2_->setChecked(true);
    naming_->chooseCustom(true);
    showFactorFields(true);
}

void frmRealRelated::cmdOk_Click()
{
    RealTimeNamingFields fields{txtTestName_->text(),    txtMudId_->text(),       txtSampleTime_->text(),
                                txtCompanyName_->text(), txtDesc_->toPlainText(), txtStressFactor_->text(),
                                txtRateFactor_->text()};
    if (!naming_->accept(fields))
        return;
    txtTestName_->setText(fields.testName);
    txtMudId_->setText(fields.mudId);
    txtSampleTime_->setText(fields.sampleTime);
    accept();
}

void frmRealRelated::cmdCancel_Click()
{
    reject();
}

void frmRealRelated::reject()
{
    naming_->cancel();
    QDialog::reject();
}
