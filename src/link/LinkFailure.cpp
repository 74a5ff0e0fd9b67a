#include "link/LinkFailure.h"

namespace {
const char *const notAvailable = "Fail to open comm port, make sure comm port is available and working properly.";
const char *const wrongNumber = "Fail to open comm port, please specify a correct comm port number.";
} // namespace

LinkFailure LinkFailure::forCommand(LinkCommand command)
{
    const QString portError = QStringLiteral("Comm port Error");
    const QString capitalError = QStringLiteral("Comm Port Error");
    const QString comportError = QStringLiteral("Comport Error");
    switch (command) {
    case LinkCommand::SequenceDownload:
    case LinkCommand::StopTest:
    case LinkCommand::RealTimeStartStop: return {portError, QString::fromLatin1(notAvailable)};
    case LinkCommand::StartTest:
    case LinkCommand::CalibrationStart:
    case LinkCommand::DirectLogRun: return {capitalError, QString::fromLatin1(notAvailable)};
    case LinkCommand::StoredTestUpload: return {capitalError, QString::fromLatin1(wrongNumber)};
    case LinkCommand::DirectLogSpeedOrStop: return {comportError, QString::fromLatin1(notAvailable)};
    }
    return {capitalError, QString::fromLatin1(notAvailable)};
}
