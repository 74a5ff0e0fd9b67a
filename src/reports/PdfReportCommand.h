#pragma once
// The File menu's "Save PDF Report...": asks where to save the open test's one-page lab report (proposing
// "<test name>.pdf" in the working directory), writes it on the locale's paper size and says so when it
// could not be written. Nothing is written when the user cancels.
#include <QString>

class Prompts;
struct ReportSource;

class PdfReportCommand {
public:
    // Returns the path written, or "" when cancelled or failed (the failure was reported).
    static QString run(Prompts &prompts, const ReportSource &source, const QString &workDir);

    static QString proposedPath(const QString &testName, const QString &workDir);
};
