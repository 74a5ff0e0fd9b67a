#include "reports/ReportCommands.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/LongWork.h"
#include "platform/Prompts.h"
#include "reports/BriefReport.h"
#include "reports/ReportFiles.h"
#include "reports/ReportedTestInfo.h"
#include "reports/TextReport.h"
#include "reports/WorkbookExport.h"
#include "results/DerivedValues.h"
#include "results/ResultQuery.h"
#include "results/ThreadConnection.h"
#include "store/Database.h"

#include <QSaveFile>
#include <QThread>

#include <stdexcept>

namespace {

std::optional<ReportedTestInfo> openTestInfo(const AppContext &ctx, int openTestId)
{
    if (!ctx.state || ctx.state->CurrentTestName.isEmpty() || !ctx.database || !ctx.database->isOpen())
        return std::nullopt;
    return ReportedTestInfo::load(ctx.database->connection(), openTestId);
}

} // namespace

std::optional<WorkbookModel> ReportCommands::detailWorkbook(int openTestId, const ResultTable &rows,
                                                            const DerivedValues &derived) const
{
    const auto info = openTestInfo(ctx_, openTestId);
    if (!info)
        return std::nullopt;
    return ReportFiles::detailWorkbook(*info, rows, ctx_.state->isSI(), derived);
}

std::optional<WorkbookModel> ReportCommands::briefWorkbook(int openTestId, const ResultConversion &conversion) const
{
    const auto info = openTestInfo(ctx_, openTestId);
    if (!info)
        return std::nullopt;
    // The rotor-bob state may have been changed on the setup or naming screens since the test was
    // opened; the report converts as the open test's grid and detailed export did.
    const ResultQuery query(ctx_.database->connection(), *ctx_.state, ctx_.prompts);
    const ResultTable rows = query.rowsOf(openTestId, conversion);
    if (!query.lastError().isEmpty())
        return std::nullopt; // told already; a report of part of the test would pass for the whole
    return BriefReport::build(*info, rows, conversion.si);
}

void ReportCommands::exportDetail(int openTestId, const ResultTable &rows, const DerivedValues &derived)
{
    const auto info = openTestInfo(ctx_, openTestId);
    if (!info)
        return;
    const QString path = WorkbookExport::askPath(*ctx_.prompts, ctx_.state->CurrentTestName, ctx_.workDir);
    if (path.isEmpty())
        return;
    const bool si = ctx_.state->isSI();
    const DerivedValues ownDerived = derived; // the worker's own copy, whatever the grid does meanwhile
    WorkbookExport::writeAndOpen(
        *ctx_.prompts, LongWork::orImmediate(ctx_.work), QStringLiteral("Writing the detailed workbook..."), path,
        [&](WorkProgress &progress) { return ReportFiles::detailWorkbook(*info, rows, si, ownDerived, &progress); });
}

void ReportCommands::exportBrief(int openTestId, const ResultConversion &conversion)
{
    const auto info = openTestInfo(ctx_, openTestId);
    if (!info)
        return;
    const QString path = WorkbookExport::askPath(*ctx_.prompts, ctx_.state->CurrentTestName, ctx_.workDir);
    if (path.isEmpty())
        return;
    // The rotor-bob state may have been changed on the setup or naming screens since the test was
    // opened; the report converts as the open test's grid and detailed export did.
    ProgramState own = *ctx_.state;
    const QSqlDatabase db = ctx_.database->connection();
    QThread *home = QThread::currentThread();
    WorkbookExport::writeAndOpen(
        *ctx_.prompts, LongWork::orImmediate(ctx_.work), QStringLiteral("Writing the brief workbook..."), path,
        [&](WorkProgress &progress) {
            const ThreadConnection connection(db, home);
            if (!connection.isOpen())
                throw std::runtime_error(connection.error().toStdString());
            ResultQuery query(connection.connection(), own);
            query.setProgress(&progress);
            const ResultTable rows = query.rowsOf(openTestId, conversion);
            // A report of part of the test would pass for the whole.
            if (!query.lastError().isEmpty())
                throw std::runtime_error(
                    ResultQuery::readFailedText(own.CurrentTestName, query.lastError()).toStdString());
            return BriefReport::build(*info, rows, conversion.si);
        });
}

void ReportCommands::writeTextReport(int openTestId, const ResultTable &rows)
{
    const auto info = openTestInfo(ctx_, openTestId);
    if (!info)
        return;
    Prompts &prompts = *ctx_.prompts;
    auto fail = [&](const QString &description) {
        prompts.message(description, WorkbookExport::messageTitle(), MsgButtons::Ok, MsgIcon::None);
    };

    // Text files first: the dialog preselects the first entry.
    const QString path = prompts.saveFileName(QStringLiteral("Save As"), lastReportPath_,
                                              QStringLiteral("Text Files(*.csv);;All Files (*.*)"));
    if (path.isEmpty()) {
        fail(cancelledText());
        return;
    }
    lastReportPath_ = path;

    const bool si = ctx_.state->isSI();
    QString failure;
    LongWork::orImmediate(ctx_.work).run(QStringLiteral("Writing the report..."), LongWork::Stop::Offered,
                                         [&](WorkProgress &progress) {
                                             const QByteArray bytes = TextReport::build(*info, rows, si, &progress);
                                             if (progress.stopRequested())
                                                 return; // stopped: the file is not touched
                                             // Written beside the target and renamed at the end: a failure keeps an earlier file intact.
                                             QSaveFile file(path);
                                             if (!file.open(QIODevice::WriteOnly)) {
                                                 failure = file.errorString();
                                                 return;
                                             }
                                             if (file.write(bytes) != bytes.size() || !file.commit()) {
                                                 failure = file.errorString();
                                                 file.cancelWriting();
                                             }
                                         });
    if (!failure.isEmpty())
        fail(failure);
}
