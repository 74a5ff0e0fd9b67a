#pragma once
// Keeps a window's controls in proportion to its size. At the window's load it records each control's
// rectangle as fractions of the window's inner area (scaled by the screen factor); on every resize it moves
// and sizes the controls from those fractions (scaled by the screen factor again, so a factor f shows as
// f x f). Our windows place their controls absolutely on one area widget (the central widget of a main
// window, the dialog itself otherwise); the resizer works on that area's direct child widgets and on the
// controls placed inside its frames (group boxes), whose positions within the frame are fractions of the
// area like every other's. Controls inside a Qt layout belong to the layout and are left alone.
//
// One line per window, after the controls are placed at their design positions:
//     new ProportionalResizer(area, ProportionalResizer::Variant::Default, state.ScreenFactor);
// The resizer is a child of the area, records at once and watches the area's resize events.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <QSize>
#include <QVector>

class QWidget;

class ProportionalResizer : public QObject {
    Q_OBJECT
public:
    enum class Variant {
        Default,     // combo boxes positioned only, everything else moved and sized, factor at both steps
        MainWindow,  // as Default, but combo box positions are scaled by the factor too
        SetupScreen, // combo boxes and marked controls positioned only; no factor at the resize step
    };

    // How a control follows the window.
    enum class Kind {
        Sized,        // moved and sized
        PositionOnly, // moved only: its height follows its font (combo boxes)
    };

    // The four fractions of one control, in the order the window's control table keeps them.
    struct Ratios {
        float WidthRatio = 0;
        float HeightRatio = 0;
        float TopRatio = 0;
        float LeftRatio = 0;
        bool operator==(const Ratios &) const = default;
    };

    // Record step for one control: its rectangle as fractions of the inner size, times the factor.
    static Ratios recordRatios(const QRect &control, const QSize &inner, double screenFactor);

    // Resize step for one control: where it goes in an area of the given inner size. A position-only
    // control keeps currentSize. Callers skip the step when isMinimised(inner).
    static QRect placed(const Ratios &ratios, Kind kind, Variant variant, const QSize &inner, const QSize &currentSize,
                        double screenFactor);

    // A minimised window reports an inner width or height below 1: its controls stay where they are.
    static bool isMinimised(const QSize &inner) { return inner.width() < 1 || inner.height() < 1; }

    // area: the widget whose direct children are placed absolutely. designSize: the inner size the controls
    // were placed for; an invalid size (the default) means the area's current size. Records at once and
    // follows the area's resizes.
    ProportionalResizer(QWidget *area, Variant variant, double screenFactor, const QSize &designSize = {});

    // The factor used by later resizes and records (the program-wide factor can change while a window lives).
    void setScreenFactor(double screenFactor) { screenFactor_ = screenFactor; }
    double screenFactor() const { return screenFactor_; }

    // On the setup screen one more kind of control is positioned only; the window names those controls here.
    void markPositionOnly(QWidget *control);

    // Records the area's current direct children against innerSize (invalid: the area's current size).
    void record(const QSize &innerSize = {});
    // Places every recorded control for the given inner size (invalid: the area's current size).
    // Does nothing when that size is minimised.
    void apply(const QSize &innerSize = {});

    Kind kindOf(const QWidget *control) const;
    int recordedCount() const { return int(entries_.size()); }
    Ratios ratiosOf(const QWidget *control) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void recordChildren(QWidget *parent, const QSize &inner);

    struct Entry {
        QPointer<QWidget> control;
        Ratios ratios;
    };
    QWidget *area_;
    Variant variant_;
    double screenFactor_;
    QVector<Entry> entries_;
    QSet<const QWidget *> positionOnly_;
};
