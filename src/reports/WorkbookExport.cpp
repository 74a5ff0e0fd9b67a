#include "reports/WorkbookExport.h"

#include "platform/LongWork.h"
#include "platform/Prompts.h"
#include "platform/WorkbookModel.h"
#include "platform/XlsxWriter.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

QString WorkbookExport::proposedPath(const QString &testName, const QString &workDir)
{
    QString base;
    base.reserve(testName.size());
    for (const QChar c : testName)
        base += (c.unicode() < 32 || QStringLiteral("\\/:*?\"<>|").contains(c)) ? QLatin1Char('_') : c;
    // Windows drops trailing dots and blanks from file names, so a name must not rely on them.
    while (base.endsWith(QLatin1Char('.')) || base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    base = base.trimmed();
    if (base.isEmpty())
        base = QStringLiteral("K7100 Test Report");
    const QDir dir(workDir.isEmpty() ? QDir::currentPath() : workDir);
    return dir.filePath(base + QStringLiteral(".xlsx"));
}

QString WorkbookExport::askPath(Prompts &prompts, const QString &testName, const QString &workDir)
{
    QString path = prompts.saveFileName(QStringLiteral("Save As"), proposedPath(testName, workDir),
                                        QStringLiteral("Excel Workbook (*.xlsx);;All Files (*)"));
    if (path.isEmpty())
        return {};
    // The desktop picks the spreadsheet application by the extension.
    if (QFileInfo(path).suffix().compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".xlsx");
    return path;
}

bool WorkbookExport::writeAndOpen(Prompts &prompts, LongWork &work, const QString &label, const QString &path,
                                  const std::function<WorkbookModel(WorkProgress &)> &build)
{
    bool written = false;
    QString reason;
    bool finished = false;
    try {
        finished = work.run(label, LongWork::Stop::Offered, [&](WorkProgress &progress) {
            const WorkbookModel book = build(progress);
            if (!progress.stopRequested())
                written = XlsxWriter::write(book, path, &reason, &progress);
        });
    } catch (const std::exception &e) {
        // The data could not be read: said like any other failure to write the workbook.
        finished = true;
        reason = QString::fromLocal8Bit(e.what());
    }
    // A stop that came too late to keep the file from being finished still gets the finished file.
    if (!finished && !written)
        return false; // stopped by the user: nothing was written, nothing to say
    if (!written) {
        prompts.message(QStringLiteral("The workbook could not be saved as \"%1\".\n%2")
                            .arg(QDir::toNativeSeparators(path), reason),
                        messageTitle(), MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    prompts.openWithDesktop(path);
    return true;
}
