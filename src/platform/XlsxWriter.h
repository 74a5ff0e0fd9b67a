#pragma once
// Writes a WorkbookModel to an .xlsx file with libxlsxwriter. It transcribes the model and decides
// nothing about content: every cell, style, column width and page setting comes from the model.
//
// The file appears under its name only when it is complete: the workbook is written to a temporary
// file in the same directory and renamed over the target at the end, so a failure (no room, no
// permission, the target held open by another program) leaves any earlier file under that name as it
// was and no half-written one.
#include <QString>

class WorkbookModel;
class WorkProgress;

class XlsxWriter {
public:
    // True when the file was written. On failure returns false and puts a one-line reason in *error.
    // progress (optional) counts the rows written; a stop request leaves the target untouched, removes
    // what was written and returns false with stoppedText() as the reason.
    static bool write(const WorkbookModel &model, const QString &path, QString *error = nullptr,
                      WorkProgress *progress = nullptr);

    static QString stoppedText() { return QStringLiteral("Stopped before the workbook was finished."); }

    // The longest text a cell can hold; longer texts are cut to it.
    static constexpr int maxCellTextLength = 32767;
};
