#include "platform/ProportionalResizer.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

using Resizer = ProportionalResizer;
using Variant = ProportionalResizer::Variant;
using Kind = ProportionalResizer::Kind;

TEST(ProportionalResizerArithmetic, FactorAppliesAtRecordAndAgainAtResize)
{
    // A control filling the left half of an 800 x 600 area, recorded with factor 1.25.
    const QSize inner(800, 600);
    const auto r = Resizer::recordRatios(QRect(0, 0, 400, 600), inner, 1.25);
    EXPECT_FLOAT_EQ(r.WidthRatio, 0.625f);
    EXPECT_FLOAT_EQ(r.HeightRatio, 1.25f);

    struct Case {
        Variant variant;
        int width;
    };
    const Case cases[] = {
        {Variant::Default, 625}, // 400 x 1.25 x 1.25
        {Variant::MainWindow, 625},
        {Variant::SetupScreen, 500}, // the factor only at the record step
    };
    for (const auto &c : cases)
        EXPECT_EQ(Resizer::placed(r, Kind::Sized, c.variant, inner, {}, 1.25).width(), c.width);
}

TEST(ProportionalResizerArithmetic, EachVariantPlacesSizedAndPositionOnlyControls)
{
    const QSize design(1000, 500);
    const auto r = Resizer::recordRatios(QRect(100, 50, 200, 25), design, 1.2);
    const QSize inner(2000, 1000);
    const QSize keep(90, 21);
    struct Case {
        Variant variant;
        Kind kind;
        QRect expected;
    };
    const Case cases[] = {
        {Variant::Default, Kind::Sized, QRect(288, 144, 576, 72)},       // x 2 (window) x 1.2 x 1.2
        {Variant::Default, Kind::PositionOnly, QRect(240, 120, 90, 21)}, // x 2 x 1.2, size kept
        {Variant::MainWindow, Kind::Sized, QRect(288, 144, 576, 72)},
        {Variant::MainWindow, Kind::PositionOnly, QRect(288, 144, 90, 21)}, // position scaled again
        {Variant::SetupScreen, Kind::Sized, QRect(240, 120, 480, 60)},
        {Variant::SetupScreen, Kind::PositionOnly, QRect(240, 120, 90, 21)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Resizer::placed(r, c.kind, c.variant, inner, keep, 1.2), c.expected)
            << int(c.variant) << "/" << int(c.kind);
}

TEST(ProportionalResizerArithmetic, FactorOneKeepsEachControlsShare)
{
    const auto r = Resizer::recordRatios(QRect(120, 90, 240, 30), QSize(1200, 900), 1.0);
    EXPECT_EQ(Resizer::placed(r, Kind::Sized, Variant::Default, QSize(600, 450), {}, 1.0), QRect(60, 45, 120, 15));
}

TEST(ProportionalResizerArithmetic, MinimisedMeansWidthOrHeightBelowOne)
{
    EXPECT_TRUE(Resizer::isMinimised(QSize(0, 600)));
    EXPECT_TRUE(Resizer::isMinimised(QSize(800, 0)));
    EXPECT_TRUE(Resizer::isMinimised(QSize(-1, -1)));
    EXPECT_FALSE(Resizer::isMinimised(QSize(1, 1)));
}

namespace {

// An area with controls placed absolutely, as our windows build them.
struct Form {
    QWidget area;
    QPushButton *button = new QPushButton(QStringLiteral("Go"), &area);
    QComboBox *combo = new QComboBox(&area);
    QLabel *label = new QLabel(QStringLiteral("Port"), &area);
    QWidget *panel = new QWidget(&area); // holds a layout: its own children belong to the layout
    QPushButton *inLayout = new QPushButton(QStringLiteral("Inside"), panel);

    Form()
    {
        area.resize(800, 600);
        button->setGeometry(0, 0, 400, 300);
        combo->setGeometry(400, 300, 120, 24);
        label->setGeometry(200, 450, 100, 20);
        panel->setGeometry(400, 0, 400, 300);
        auto *layout = new QHBoxLayout(panel);
        layout->addWidget(inLayout);
    }
};

} // namespace

TEST(ProportionalResizerWindow, ResizeEventsRescaleTheDirectChildren)
{
    Form f;
    auto *resizer = new Resizer(&f.area, Variant::Default, 1.0);
    EXPECT_EQ(resizer->recordedCount(), 4); // button, combo, label, panel; not the button inside the layout
    const QSize comboSize = f.combo->size();
    f.area.show();
    f.area.resize(1600, 1200);
    EXPECT_EQ(f.button->geometry(), QRect(0, 0, 800, 600));
    EXPECT_EQ(f.label->geometry(), QRect(400, 900, 200, 40));
    EXPECT_EQ(f.panel->geometry(), QRect(800, 0, 800, 600));
    EXPECT_EQ(f.combo->pos(), QPoint(800, 600));
    EXPECT_EQ(f.combo->size(), comboSize);
}

TEST(ProportionalResizerWindow, ScreenFactorOfOnePointTwoFiveShowsTwiceInTheWindow)
{
    Form f;
    new Resizer(&f.area, Variant::MainWindow, 1.25);
    f.area.show();
    f.area.resize(800, 600); // same size: only the factor acts
    f.area.resize(800, 601);
    EXPECT_EQ(f.button->width(), 625);
    EXPECT_EQ(f.combo->pos(), QPoint(625, 470)); // 400 x 1.25 x 1.25, 300 / 600 x 601 x 1.25 x 1.25
}

TEST(ProportionalResizerWindow, SetupScreenAppliesTheFactorOnceAndPositionsMarkedControlsOnly)
{
    Form f;
    const QSize labelSize = f.label->size();
    auto *resizer = new Resizer(&f.area, Variant::SetupScreen, 1.25);
    resizer->markPositionOnly(f.label);
    f.area.show();
    f.area.resize(800, 601);
    resizer->apply(QSize(800, 600));
    EXPECT_EQ(f.button->geometry(), QRect(0, 0, 500, 375));
    EXPECT_EQ(f.label->pos(), QPoint(250, 563)); // 200 x 1.25, 450 x 1.25 rounded
    EXPECT_EQ(f.label->size(), labelSize);
    EXPECT_EQ(resizer->kindOf(f.combo), Kind::PositionOnly);
    EXPECT_EQ(resizer->kindOf(f.button), Kind::Sized);
}

TEST(ProportionalResizerWindow, MinimisedSizeLeavesEveryControlAndRestoringRescales)
{
    Form f;
    auto *resizer = new Resizer(&f.area, Variant::Default, 1.0);
    resizer->apply(QSize(1600, 1200));
    const QRect before = f.button->geometry();
    const QPoint comboBefore = f.combo->pos();
    resizer->apply(QSize(0, 1200));
    resizer->apply(QSize(1600, 0));
    EXPECT_EQ(f.button->geometry(), before);
    EXPECT_EQ(f.combo->pos(), comboBefore);
    resizer->apply(QSize(400, 300));
    EXPECT_EQ(f.button->geometry(), QRect(0, 0, 200, 150));
}

TEST(ProportionalResizerWindow, ChangedFactorActsAtTheNextRecordAndResize)
{
    Form f;
    auto *resizer = new Resizer(&f.area, Variant::Default, 1.5);
    resizer->setScreenFactor(1.0);
    resizer->apply(QSize(800, 600));
    EXPECT_EQ(f.button->width(), 600); // recorded with 1.5, applied with 1.0
    f.button->setGeometry(0, 0, 400, 300);
    resizer->record(QSize(800, 600));
    resizer->apply(QSize(800, 600));
    EXPECT_EQ(f.button->width(), 400);
}
