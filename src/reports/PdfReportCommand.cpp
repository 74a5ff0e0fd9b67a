#include "reports/PdfReportCommand.h"

#include "platform/Prompts.h"
#include "reports/PdfReport.h"
#include "reports/ReportSource.h"
#include "reports/WorkbookExport.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

QString PdfReportCommand::proposedPath(const QString &testName, const QString &workDir)
{
    QString path = WorkbookExport::proposedPath(testName, workDir);
    path.chop(QStringLiteral("xlsx").size());
    return path + QStringLiteral("pdf");
}

QString PdfReportCommand::run(Prompts &prompts, const ReportSource &source, const QString &workDir)
{
    QString path = prompts.saveFileName(QStringLiteral("Save PDF Report"),
                                        proposedPath(source.info.testName.value_or(QString()), workDir),
                                        QStringLiteral("PDF Files (*.pdf);;All Files (*)"));
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString reason;
    if (!PdfReport::save(source, path, PdfReport::pageSizeFor(QLocale()), &reason)) {
        prompts.message(QStringLiteral("The PDF report could not be saved as \"%1\".\n%2")
                            .arg(QDir::toNativeSeparators(path), reason),
                        WorkbookExport::messageTitle(), MsgButtons::Ok, MsgIcon::Exclamation);
        return {};
    }
    return path;
}
