#pragma once
// Hands a workbook to the user: asks where to save it (proposing "<test name>.xlsx" in the working
// directory), writes it, and opens it with the desktop's spreadsheet application when one is registered,
// so it is left open for the user as a new workbook used to be. A workbook that could not be written is
// reported in one message; one that was written is never reported as failed.
#include "common/ProgramInfo.h"

#include <QString>
#include <functional>

class LongWork;
class Prompts;
class WorkbookModel;
class WorkProgress;

class WorkbookExport {
public:
    // The title of the program's own messages.
    static QString messageTitle() { return ProgramInfo::name(); }

    // The save dialog: the chosen path, with ".xlsx" added when it has another ending; "" when cancelled.
    static QString askPath(Prompts &prompts, const QString &testName, const QString &workDir);

    // Builds the workbook with `build` and writes it to path, both as long work that the user may stop,
    // then opens it. A stopped export leaves no file behind and any earlier file under the name as it
    // was; a failed one (build may throw when its data cannot be read) is reported. Returns true when the
    // workbook was written.
    static bool writeAndOpen(Prompts &prompts, LongWork &work, const QString &label, const QString &path,
                             const std::function<WorkbookModel(WorkProgress &)> &build);

    // "<test name>.xlsx" in workDir, with characters no file name may hold replaced by "_".
    static QString proposedPath(const QString &testName, const QString &workDir);
};
