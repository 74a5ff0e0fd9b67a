#include "link/StoredTestUpload.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "link/SerialLink.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "store/Database.h"
#include "store/RecoveredTests.h"
#include "store/StoreError.h"
#include "store/StoredPoints.h"
#include "store/WriteTransaction.h"

#include <QDir>
#include <QSqlError>

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
    const auto first = link.readUntilQuiet(SerialLink::quietTime, StoredTestRecords::MaxReplyBytes);
    if (!first) {
        link.reportFailure(LinkCommand::StoredTestUpload);
        return std::nullopt;
    }
    if (first->size() > StoredTestRecords::MaxReplyBytes) {
        link.close();
        context.prompts->message(badReplyText(), communicationTitle(), MsgButtons::Ok, MsgIcon::None);
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
    const auto reply = link.readUntilQuiet(SerialLink::quietTime, StoredTestRecords::MaxReplyBytes);
    if (!reply) {
        link.reportFailure(LinkCommand::StoredTestUpload);
        return std::nullopt;
    }
    link.close();
    // A reply that never pauses is no upload: reading stopped at the limit and nothing of it is kept.
    if (reply->size() > StoredTestRecords::MaxReplyBytes) {
        context.prompts->message(badReplyText(), communicationTitle(), MsgButtons::Ok, MsgIcon::None);
        return std::nullopt;
    }

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
    if (parsed.cutShort) {
        // Bytes were lost on the line: the instrument still holds the test, so it can be asked again.
        context.prompts->message(badReplyText(), communicationTitle(), MsgButtons::Ok, MsgIcon::None);
        return std::nullopt;
    }
    if (!parsed.ok()) {
        const LinkFailure failure = LinkFailure::forCommand(LinkCommand::StoredTestUpload);
        context.prompts->message(failure.text, failure.title, MsgButtons::Ok, MsgIcon::None);
        return std::nullopt;
    }
    result.records = std::move(parsed.records);
    return result;
}

TestPoints StoredTestUpload::points(const StoredTestUploadResult &upload)
{
    // A custom factor is kept as factor x 1000 (read back as Rbfactor / 1000).
    const double customCode = std::round(upload.customRateFactor * 1000.0);
    TestPoints out;
    out.reserve(qsizetype(upload.records.size()));
    for (const StoredTestRecord &r : upload.records) {
        TestPoint p;
        p.stepNo = r.step;
        p.time = static_cast<double>(r.seconds);
        p.temperature = static_cast<double>(r.temperatureF);
        p.speed = StoredTestRecords::storedSpeed(r.speedRpm);
        p.shearStress = static_cast<double>(r.stress);
        p.gel = static_cast<double>(r.gel);
        p.rbFactor = upload.customRB ? customCode : static_cast<double>(r.rotorBob);
        out << p;
    }
    return out;
}

bool StoredTestUpload::storeRecords(QSqlDatabase db, qint64 testId, const StoredTestUploadResult &upload,
                                    ProgramState &state, QString *error)
{
    WriteTransaction transaction(db);
    QSqlError failure;
    if (!transaction.isOpen() || !StoredPoints::insert(db, testId, points(upload), &failure) || !transaction.commit()) {
        if (!failure.isValid())
            failure = transaction.error();
        if (error)
            *error = StoreError::describe(failure);
        return false;
    }
    if (!upload.records.empty())
        state.RotorBob = static_cast<int>(upload.records.back().rotorBob);
    return true;
}

bool StoredTestUpload::storeRetrieved(AppContext &context, const StoredTestUploadResult &upload, int attempts)
{
    ProgramState &state = *context.state;
    QSqlDatabase db = context.database->connection();
    RecoveredTest test;
    test.info = TestLibrary(db).findById(state.NewTestId).value_or(RelatedInfoRecord());
    test.info.testId = state.NewTestId;
    test.info.testName = state.CurrentTestName;
    test.points = points(upload);

    RecoveredTests::Outcome outcome;
    for (int i = 0; i < attempts; ++i) {
        outcome = RecoveredTests::restore(db, test);
        if (outcome.ok())
            break;
        if (i + 1 < attempts)
            Delay(*context.clock, 1.0);
    }
    if (outcome.ok()) {
        Database::checkpoint(db);
        if (outcome.kind == RecoveredTests::Outcome::Kind::StoredAsNew) {
            state.CurrentTestName = outcome.testName;
            state.NewTestId = TestLibrary(db).find(outcome.testName).value_or(RelatedInfoRecord()).testId;
        }
        if (!upload.records.empty())
            state.RotorBob = static_cast<int>(upload.records.back().rotorBob);
        return true;
    }

    test.reason = outcome.error;
    QString fileError;
    const QString file = RecoveryFile::write(test, RecoveryFile::foldersFor(context.database->path()),
                                             context.clock->currentDateTime(), &fileError);
    const QString where = file.isEmpty()
        ? QStringLiteral("They could not be written to a recovery file either (%1).").arg(fileError)
        : QStringLiteral("They were saved in the file\n%1\nUse \"Import Recovered Test...\" in the File menu to store "
                         "them once the database accepts them again.")
              .arg(QDir::toNativeSeparators(file));
    context.prompts->message(QStringLiteral("The %1 readings of the retrieved test %2 could not be stored in the "
                                            "database: %3.\n\n%4\n\nThe K7100 still holds the test as well.")
                                 .arg(test.points.size())
                                 .arg(test.info.testName, outcome.error, where),
                             QStringLiteral("Database Error"), MsgButtons::Ok, MsgIcon::Critical);
    return false;
}
