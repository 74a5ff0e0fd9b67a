#include "platform/ProportionalResizer.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLayout>
#include <QResizeEvent>
#include <QWidget>

#include <cmath>

namespace {

int toPixels(double v)
{
    return static_cast<int>(std::lround(v));
}

} // namespace

ProportionalResizer::Ratios ProportionalResizer::recordRatios(const QRect &control, const QSize &inner,
                                                              double screenFactor)
{
    Ratios r;
    if (isMinimised(inner))
        return r;
    const double w = inner.width();
    const double h = inner.height();
    r.WidthRatio = static_cast<float>(control.width() / w * screenFactor);
    r.HeightRatio = static_cast<float>(control.height() / h * screenFactor);
    r.TopRatio = static_cast<float>(control.top() / h * screenFactor);
    r.LeftRatio = static_cast<float>(control.left() / w * screenFactor);
    return r;
}

QRect ProportionalResizer::placed(const Ratios &ratios, Kind kind, Variant variant, const QSize &inner,
                                  const QSize &currentSize, double screenFactor)
{
    const double w = inner.width();
    const double h = inner.height();
    const double f = variant == Variant::SetupScreen ? 1.0 : screenFactor;
    if (kind == Kind::PositionOnly) {
        const double pf = variant == Variant::MainWindow ? screenFactor : 1.0;
        return QRect(toPixels(w * ratios.LeftRatio * pf), toPixels(h * ratios.TopRatio * pf), currentSize.width(),
                     currentSize.height());
    }
    return QRect(toPixels(w * ratios.LeftRatio * f), toPixels(h * ratios.TopRatio * f),
                 toPixels(w * ratios.WidthRatio * f), toPixels(h * ratios.HeightRatio * f));
}

ProportionalResizer::ProportionalResizer(QWidget *area, Variant variant, double screenFactor, const QSize &designSize)
    : QObject(area), area_(area), variant_(variant), screenFactor_(screenFactor)
{
    record(designSize);
    area_->installEventFilter(this);
}

void ProportionalResizer::markPositionOnly(QWidget *control)
{
    positionOnly_.insert(control);
}

ProportionalResizer::Kind ProportionalResizer::kindOf(const QWidget *control) const
{
    if (qobject_cast<const QComboBox *>(control))
        return Kind::PositionOnly;
    if (variant_ == Variant::SetupScreen && positionOnly_.contains(control))
        return Kind::PositionOnly;
    return Kind::Sized;
}

void ProportionalResizer::record(const QSize &innerSize)
{
    const QSize inner = innerSize.isValid() ? innerSize : area_->size();
    entries_.clear();
    recordChildren(area_, inner);
}

void ProportionalResizer::recordChildren(QWidget *parent, const QSize &inner)
{
    // Only controls with a rectangle of their own on this area: pop-up menus and other top-level
    // children are windows of their own, and timers or the serial port are not widgets at all.
    const auto children = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child->isWindow())
            continue;
        entries_.append({child, recordRatios(child->geometry(), inner, screenFactor_)});
        // The controls placed inside a frame are the window's controls too: their places within the frame
        // are taken as fractions of the whole area, so they grow and shrink with it like the frame does.
        if (qobject_cast<QGroupBox *>(child) && !child->layout())
            recordChildren(child, inner);
    }
}

void ProportionalResizer::apply(const QSize &innerSize)
{
    const QSize inner = innerSize.isValid() ? innerSize : area_->size();
    if (isMinimised(inner))
        return;
    for (const Entry &e : std::as_const(entries_)) {
        if (!e.control)
            continue;
        e.control->setGeometry(placed(e.ratios, kindOf(e.control), variant_, inner, e.control->size(), screenFactor_));
    }
}

ProportionalResizer::Ratios ProportionalResizer::ratiosOf(const QWidget *control) const
{
    for (const Entry &e : entries_) {
        if (e.control == control)
            return e.ratios;
    }
    return {};
}

bool ProportionalResizer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == area_ && event->type() == QEvent::Resize)
        apply(static_cast<QResizeEvent *>(event)->size());
    return QObject::eventFilter(watched, event);
}
