#include "link/StoredTestUpload.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "link/SerialLink.h"
#include "platform/Prompts.h"

#include <QSqlError>
#include <QSqlQuery>

#include <cmath>

std::optional<StoredTestUploadResult> StoredTestUpload::run(AppContext &context,
                                                            const std::function<void(const QString &)> &status)
{
    ProgramState &state = *context.state;
    SerialLink link(context);
    link.initialCommport();
    if (!link.open()) {
        link.reportFailure(LinkCommand::StoredTestUpload);
        return std::nullopt;
    }
    if (status)
        status(retrievingText());

    if (!link.writeByte(8)) {
        link.reportFailure(LinkCommand::StoredTestUpload);
        return std::nullopt;
    }
    const auto first = link.readUntilQuiet();
    if (!first) {
        link.reportFailure(LinkCommand::StoredTestUpload);
        return std::nullopt;
    }
    StoredTestUploadResult result;
    if (const auto factor = StoredTestRecords::customFactorFromReply(*first)) {
        result.customRB = true;
        result.customRateFactor = *factor;
    }
    state.CustomRB = result.customRB;
    if (result.customRB)
        state.CustomRateFactor = result.customRateFactor;

    if (!link.writeByte(1)) {
        link.reportFailure(LinkCommand::StoredTestUpload);
        return std::nullopt;
    }
    const auto reply = link.readUntilQuiet();
    if (!reply) {
        link.reportFailure(LinkCommand::StoredTestUpload);
        return std::nullopt;
    }
    link.close();

    if (reply->isEmpty()) {
        context.prompts->message(noResponseText(), communicationTitle(), MsgButtons::Ok, MsgIcon::None);
        return std::nullopt;
    }
    if (reply->back() != StoredTestRecords::EndByte) {
        context.prompts->message(badReplyText(), communicationTitle(), MsgButtons::Ok, MsgIcon::None);
        return std::nullopt;
    }
    if (status)
        status(finishedText());

    StoredTestParse parsed = StoredTestRecords::parse(*reply);
    if (!parsed.ok()) {
        const LinkFailure failure = LinkFailure::forCommand(LinkCommand::StoredTestUpload);
        context.prompts->message(failure.text, failure.title, MsgButtons::Ok, MsgIcon::None);
        return std::nullopt;
    }
    result.records = std::move(parsed.records);
    return result;
}

bool StoredTestUpload::storeRecords(QSqlDatabase db, qint64 testId, const StoredTestUploadResult &upload,
                                    ProgramState &state, QString *error)
{
    auto fail = [&](const QSqlQuery &q) {
        if (error)
            *error = q.lastError().text();
        db.rollback();
        return false;
    };
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO TestResult (TestId, StepNo, Time, Temperature, Speed, Shearstress, "
                                  "Gel, Rbfactor) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    // A custom factor is kept as factor x 1000 (read back as Rbfactor / 1000).
    const double customCode = std::round(upload.customRateFactor * 1000.0);
    for (const StoredTestRecord &r : upload.records) {
        insert.addBindValue(testId);
        insert.addBindValue(r.step);
        insert.addBindValue(static_cast<double>(r.seconds));
        insert.addBindValue(static_cast<double>(r.temperatureF));
        insert.addBindValue(StoredTestRecords::storedSpeed(r.speedRpm));
        insert.addBindValue(static_cast<double>(r.stress));
        insert.addBindValue(static_cast<double>(r.gel));
        insert.addBindValue(upload.customRB ? customCode : static_cast<double>(r.rotorBob));
        if (!insert.exec())
            return fail(insert);
    }
    if (!db.commit()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    if (!upload.records.empty())
        state.RotorBob = static_cast<int>(upload.records.back().rotorBob);
    return true;
}
