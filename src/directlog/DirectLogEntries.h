#pragma once
// The operator's entries on the direct-logging screen and what they mean: the run speed (rpm, 0 to 600),
// the recording rate (seconds per recorded reading, 0.99 to 6000) and the command that sets the
// instrument's constant run speed.
//
// Both entries must be plain numbers (blanks around them allowed). A text such as "3OO" or "300 rpm" is
// refused like an out-of-range number rather than read as its leading digits: a typing slip must not
// quietly set the rotor to 3 rpm, or to 0.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class DirectLogEntries {
public:
    static QStringList speedItems() { return {"300", "600", "3", "6", "100", "200"}; }
    static QStringList rateItems() { return {"1", "2", "5", "10", "30", "60"}; }
    static constexpr double DefaultSpeed = 300;
    static constexpr double DefaultRate = 1;
    static constexpr double MinSpeed = 0, MaxSpeed = 600;
    static constexpr double MinRate = 0.99, MaxRate = 6000;

    static QString invalidSpeedText() { return QStringLiteral("Invalid Speed Entry! Please Try Again."); }
    static QString invalidRateText() { return QStringLiteral("Invalid Record Rate Entry! Please Try Again."); }

    // The run speed in rpm, or nullopt when the text is refused.
    static std::optional<double> speedFrom(const QString &text);
    // The recording rate in seconds, or nullopt when the text is refused.
    static std::optional<double> rateFrom(const QString &text);

    // A reading is recorded when its seconds into the step are a whole multiple of the rate taken as a
    // whole number (rounded half to even, as the instrument's old software did; at least 1).
    static qint64 recordEvery(double rate);
    static bool shouldRecord(qint64 secondsInStep, double rate);

    // The run-speed command: byte 8, then "1,60000,35," (program number, step time and temperature of
    // the constant-speed program), the speed in hundredths of rpm as a whole number, "," and the rotor-bob
    // code. 300 rpm with R1-B1 gives byte 8 + "1,60000,35,30000,1".
    static QByteArray runSpeedCommand(double speedRpm, int rotorBob);
    static constexpr char RunSpeedByte = 8;
};
