#pragma once
// Where a sequence download shows how far it is: the setup screen implements it with its status bar
// panel keyed "Status" and its progress bar. The download calls it between writes; the clock's waits
// keep the window painting, so the bar moves while the interface takes no input.
#include <QString>

class DownloadProgress {
public:
    virtual ~DownloadProgress() = default;
    // Text of the status bar panel keyed "Status".
    virtual void setStatus(const QString &text) = 0;
    // Shows the progress bar with the range 0 to maximum (the number of steps) at 0.
    virtual void showProgress(int maximum) = 0;
    virtual void setProgress(int value) = 0;
    virtual void hideProgress() = 0;
};
