#pragma once
// Enter and Escape on the program's screens that are not dialogs (main window, setup, real-time, direct
// logging), as they work in its dialogs: Enter presses the button that has the focus, and Escape presses
// the screen's leaving button (its Return or Exit), when it has one and it can be used.
//
//   ScreenKeys::install(this, cmdReturn);   // after the screen's buttons are made
class QAbstractButton;
class QWidget;

namespace ScreenKeys {

void install(QWidget *screen, QAbstractButton *escapeButton = nullptr);

} // namespace ScreenKeys
