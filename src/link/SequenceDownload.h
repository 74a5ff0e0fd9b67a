#pragma once
// Sending the selected sequence to the instrument (the setup screen's Send to K7100 and Sequence > Send).
// A one-way stream with every piece paced by 0.1 s on the clock, about one second per step. Only a
// stream that went out whole marks SequenceSent; any failure shows the download's port message.
#include "link/DownloadStream.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

struct AppContext;
class DownloadProgress;

class SequenceDownload {
public:
    static QString sendingText() { return QStringLiteral("Sending Setup Steps ..."); }
    static QString finishedText() { return QStringLiteral("Finished sending test steps."); }

    // The stored steps of the named sequence in step order (stored units: s, degF, rpm); empty when
    // the sequence has no steps or does not exist; nullopt when the database cannot be read.
    static std::optional<QList<DownloadStep>> loadSteps(const QSqlDatabase &db, const QString &sequenceName);

    // Reads the steps, opens the port of CommPortNumber, writes the stream for the rotor-bob code `rotorBob`
    // (1..6, the one the setup screen shows) while reporting progress, closes the port and sets
    // SequenceSent. On failure: hides the progress bar, closes the port, shows "Comm port Error" and
    // returns false with SequenceSent unchanged.
    static bool send(AppContext &context, const QString &sequenceName, int rotorBob, DownloadProgress &progress);
};
