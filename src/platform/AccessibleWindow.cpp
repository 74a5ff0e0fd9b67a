#include "platform/AccessibleWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace {

const char *const kAnnounced = "k7AccessibleWindow";

// Asked for every class of an object's class chain, most derived first: answers only for the widget's
// own class, so nothing else about its interface (or that of any other widget) changes.
QAccessibleInterface *windowInterface(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->property(kAnnounced).toBool()
        || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

namespace AccessibleWindow {

void announce(QWidget *window)
{
    static const bool installed = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    (void)installed;
    window->setProperty(kAnnounced, true);
}

} // namespace AccessibleWindow
