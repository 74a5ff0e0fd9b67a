#include "link/SequenceDownload.h"

#include "store/SqlDialect.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "link/DownloadProgress.h"
#include "link/SerialLink.h"
#include "platform/Clock.h"
#include "store/Database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

std::optional<QList<DownloadStep>> SequenceDownload::loadSteps(const QSqlDatabase &db, const QString &sequenceName)
{
    if (!db.isValid() || !db.isOpen())
        return std::nullopt;
    // Names compare without regard to case; with duplicate names the oldest sequence wins.
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(QStringLiteral("SELECT StepNo, Time, Temperature, Speed FROM SequenceSetup "
                                  "WHERE SequenceId = (SELECT SequenceId FROM SequenceName WHERE ")
                   + SqlDialect::of(db).nameEquals(QStringLiteral("SequenceName"))
                   + QStringLiteral(" "
                                    "ORDER BY SequenceId LIMIT 1) ORDER BY StepNo")))
        return std::nullopt;
    q.addBindValue(sequenceName);
    if (!q.exec())
        return std::nullopt;
    QList<DownloadStep> steps;
    while (q.next()) {
        DownloadStep s;
        s.stepNo = q.value(0).toInt();
        s.seconds = q.value(1).toDouble();
        s.temperatureF = q.value(2).toDouble();
        s.speedRpm = q.value(3).toDouble();
        steps.append(s);
    }
    if (q.lastError().isValid())
        return std::nullopt;
    return steps;
}

bool SequenceDownload::send(AppContext &context, const QString &sequenceName, int rotorBob, DownloadProgress &progress)
{
    SerialLink link(context);
    bool barShown = false;
    auto fail = [&] {
        if (barShown)
            progress.hideProgress();
        link.reportFailure(LinkCommand::SequenceDownload);
        return false;
    };

    // Read the steps before anything goes out: a database error must not leave the instrument with
    // half a sequence.
    const auto steps = context.database ? loadSteps(context.database->connection(), sequenceName)
                                        : std::optional<QList<DownloadStep>>();
    if (!steps)
        return fail();

    link.initialCommport();
    if (!link.open() || !link.writeByte(DownloadStream::startByte))
        return fail();
    progress.setStatus(sendingText());
    Delay(*context.clock, SerialLink::pacing);

    progress.showProgress(int(steps->size()));
    barShown = true;
    for (int i = 0; i < steps->size(); ++i) {
        progress.setProgress(i + 1);
        if (!link.writePaced(DownloadStream::stepItems(steps->at(i), rotorBob)))
            return fail();
    }
    if (!link.write(DownloadStream::endMarker()))
        return fail();

    progress.hideProgress();
    progress.setStatus(finishedText());
    context.state->SequenceSent = true;
    link.close();
    return true;
}
