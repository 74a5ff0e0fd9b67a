#pragma once
// Screens built on a plain QWidget (the real-time and direct-logging screens) are windows of their own, but
// assistive technology would be told of a plain pane. announce() makes such a widget known to it as a
// window, named by its title, before anything asks.
class QWidget;

namespace AccessibleWindow {

void announce(QWidget *window);

} // namespace AccessibleWindow
