#include "reports/ReportCommands.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/Prompts.h"
#include "reports/BriefReport.h"
#include "reports/DetailReport.h"
#include "reports/ReportFiles.h"
#include "reports/ReportedTestInfo.h"
#include "reports/TextReport.h"
#include "reports/WorkbookExport.h"
#include "results/DerivedValues.h"
#include "results/ResultQuery.h"
#include "store/Database.h"

#include <QSaveFile>

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

std::optional<WorkbookModel> ReportCommands::briefWorkbook(int openTestId) const
{
    const auto info = openTestInfo(ctx_, openTestId);
    if (!info)
        return std::nullopt;
    // The rotor-bob state may have been changed on the setup or naming screens since the test was
    // opened; the report converts with the open test's own rotor-bob, as its grid and detailed export do.
    ProgramState own = *ctx_.state;
    ResultQuery query(ctx_.database->connection(), own);
    own.StressFactor = 1.0f;
    own.RateFactor = 1.0f;
    ResultQuery::applyRotorBob(query.probe(own.CurrentTestName).rbfactor, own);
    const ResultTable rows = query.rows(own.CurrentTestName, ResultConversion::fromState(own));
    return BriefReport::build(*info, rows, ctx_.state->isSI());
}

void ReportCommands::exportDetail(int openTestId, const ResultTable &rows, const DerivedValues &derived)
{
    if (const auto book = detailWorkbook(openTestId, rows, derived))
        WorkbookExport::saveAndOpen(*ctx_.prompts, *book, ctx_.state->CurrentTestName, ctx_.workDir);
}

void ReportCommands::exportBrief(int openTestId)
{
    if (const auto book = briefWorkbook(openTestId))
        WorkbookExport::saveAndOpen(*ctx_.prompts, *book, ctx_.state->CurrentTestName, ctx_.workDir);
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

    // Written beside the target and renamed at the end: a failure keeps an earlier file intact.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(file.errorString());
        return;
    }
    const QByteArray bytes = TextReport::build(*info, rows, ctx_.state->isSI());
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(reason);
    }
}
