// The calibration window offscreen: its controls and texts, and Start, the table, Export and Return
// driven through its buttons.
#include "calcheck/frmCaliCheck.h"
#include "tests/calcheck/CalCheckFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

using calcheck::reading;

namespace {

class frmCaliCheckTest : public CalCheckFixture {
protected:
    template <class W> W *control(const char *name)
    {
        auto *w = window.findChild<W *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const QString &labelName)
    {
        auto *l = window.findChild<QLabel *>(labelName);
        return l ? l->text() : QStringLiteral("<missing>");
    }

    frmCaliCheck window{ctx};
};

} // namespace

TEST_F(frmCaliCheckTest, ShowsItsControlsWithTheirTexts)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Auto Calibration Check"));
    EXPECT_TRUE(window.isModal());
    EXPECT_EQ(control<QLineEdit>("txtVisc")->toolTip(), QStringLiteral("Enter a number >0 and <6300"));
    EXPECT_EQ(control<QLineEdit>("txtVisc")->accessibleName(), QStringLiteral("Calibration Fluid Viscosity"));
    struct Button {
        const char *name;
        const char *caption;
    };
    for (const Button &b :
         {Button{"cmdStart", "&Start"}, Button{"cmdReturn", "&Return"}, Button{"cmdExport", "&Export to Excel"}}) {
        auto *button = control<QPushButton>(b.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromLatin1(b.caption));
        EXPECT_FALSE(button->accessibleName().isEmpty());
    }
    const char *targets[] = {"3", "6", "10", "100", "800"};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(text(QStringLiteral("Stress3(%1)").arg(r)), QString::fromLatin1(targets[r]));
        EXPECT_EQ(text(QStringLiteral("lbl3Err(%1)").arg(r)), QStringLiteral("N/A"));
        EXPECT_EQ(text(QStringLiteral("lbl3PercentErr(%1)").arg(r)), QStringLiteral("N/A"));
    }
    auto *status = control<QLabel>("CurStatus");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(), QStringLiteral("CurStatus"));
    EXPECT_EQ(status->toolTip(), QStringLiteral("Current Status"));
    EXPECT_NE(control<QStatusBar>("StatusBar1"), nullptr);
    EXPECT_FALSE(window.session().timer()->isActive());
    EXPECT_FALSE(port().isOpen());
}

TEST_F(frmCaliCheckTest, StartFillsTheTableAndExportSavesIt)
{
    window.show();
    control<QLineEdit>("txtVisc")->setText(QStringLiteral("100"));
    control<QPushButton>("cmdStart")->click();
    EXPECT_EQ(text(QStringLiteral("CurStatus")), QStringLiteral("Auto Calibration Check In Progress... "));
    EXPECT_TRUE(window.session().timer()->isActive());

    port().feed(reading(4, 28, 98) + reading(1, 27, 3));
    window.session().tick();
    EXPECT_EQ(text(QStringLiteral("lbl3Err(3)")), QStringLiteral("-2.0"));
    EXPECT_EQ(text(QStringLiteral("lbl3PercentErr(3)")), QStringLiteral("2.0"));
    EXPECT_EQ(text(QStringLiteral("lbl3Err(0)")), QStringLiteral("0.0"));

    prompts.fileAnswers = {dir.file(QStringLiteral("cal.xlsx"))};
    control<QPushButton>("cmdExport")->click();
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("cal.xlsx"))));
    EXPECT_TRUE(window.session().isRunning());
}

TEST_F(frmCaliCheckTest, ReturnClosesTheWindowAndDiscardsTheRunningCheck)
{
    window.show();
    control<QLineEdit>("txtVisc")->setText(QStringLiteral("100"));
    control<QPushButton>("cmdStart")->click();
    ASSERT_TRUE(port().isOpen());
    control<QPushButton>("cmdReturn")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_FALSE(port().isOpen());
    EXPECT_FALSE(window.session().timer()->isActive());
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(frmCaliCheckTest, OutOfRangeViscosityIsToldAndNothingIsSent)
{
    control<QLineEdit>("txtVisc")->setText(QStringLiteral("6000"));
    control<QPushButton>("cmdStart")->click();
    ASSERT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("Viscosity measurement out of range.")});
    EXPECT_TRUE(port().writes.isEmpty());
    EXPECT_EQ(text(QStringLiteral("CurStatus")), QStringLiteral("CurStatus"));
}
