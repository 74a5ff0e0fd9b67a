#pragma once
// Hands a finished workbook to the user: asks where to save it (proposing "<test name>.xlsx" in the
// working directory), writes it, and opens it with the desktop's spreadsheet application when one is
// registered, so it is left open for the user as a new workbook used to be. A workbook that could not
// be written is reported in one message; one that was written is never reported as failed.
#include "common/ProgramInfo.h"

#include <QString>

class Prompts;
class WorkbookModel;

class WorkbookExport {
public:
    // The title of the program's own messages.
    static QString messageTitle() { return ProgramInfo::name(); }

    // Returns the path written, or "" when the user cancelled or the file could not be written.
    static QString saveAndOpen(Prompts &prompts, const WorkbookModel &book, const QString &testName,
                               const QString &workDir);

    // "<test name>.xlsx" in workDir, with characters no file name may hold replaced by "_".
    static QString proposedPath(const QString &testName, const QString &workDir);
};
