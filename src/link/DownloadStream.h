#pragma once
// The bytes that load a sequence into the instrument: byte 3, then per step ten pieces
// (step number, time, temperature, speed, rotor-bob, separated by commas and closed by "11"),
// then "99". Numbers are rounded half away from zero and zero-padded to their width (wider
// values are written in full). The calibration check sends its temporary steps with the same pieces.
#include <QByteArray>
#include <QList>

// One step in the units the instrument takes: seconds, degrees Fahrenheit, rpm.
struct DownloadStep {
    int stepNo = 0;
    double seconds = 0;
    double temperatureF = 0;
    double speedRpm = 0;
};

class DownloadStream {
public:
    static constexpr char startByte = 3;
    static QByteArray endMarker() { return QByteArrayLiteral("99"); }

    // The ten writes of one step, in sending order: "05" "," "00007" "," "080" "," "30000" "," "1" "11".
    static QList<QByteArray> stepItems(const DownloadStep &step, int rotorBob);

    // The whole stream as the instrument receives it (byte 3, every step's items, "99").
    static QByteArray stream(const QList<DownloadStep> &steps, int rotorBob);
};
