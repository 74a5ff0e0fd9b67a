#pragma once
// Starts a command-line command (CommandLine) instead of the windows: the application object it needs
// and the PDF drawing. A command runs on a QCoreApplication; one that draws a PDF report runs on a
// QApplication of the offscreen platform, so no display is needed and no window is ever shown.
namespace CommandLineApp {

// True when the command line asks for a command rather than the windows.
bool wanted(int argc, char **argv);

// Runs the command; returns the exit status.
int run(int argc, char **argv);

} // namespace CommandLineApp
