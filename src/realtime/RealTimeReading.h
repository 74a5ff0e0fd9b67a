#pragma once
// One reading of the instrument's real-time data message, decoded into its seven fields.
//
// The message is ASCII: seven fields of decimal digits, each followed by one separator character of any
// kind, and the end byte 26. A field without digits (two separators in a row, or a message that ends
// early) reads as 0. A sign, blank or decimal point is a separator too, so "77.5" ends field 3 at the
// point and makes 5 the next field. Anything after field 7's separator up to the end byte is ignored.
//
// Shared by the real-time screen, the calibration check and the direct-logging screen, which apply the
// same validity rule.
#include <QByteArray>
#include <array>
#include <cstdint>

struct RealTimeReading {
    static constexpr int FieldCount = 7;

    // Field values as sent; a field of more digits than fit 63 bits saturates at INT64_MAX.
    std::array<qint64, FieldCount> fields{};

    qint64 step() const { return fields[0]; }            // F1, step number now running
    qint64 secondsInStep() const { return fields[1]; }   // F2, seconds since the step began
    qint64 temperature() const { return fields[2]; }     // F3, whole degF
    qint64 shearStress() const { return fields[3]; }     // F4, whole dyn/cm2 as with the B1 bob
    qint64 gel() const { return fields[4]; }             // F5, whole dyn/cm2
    qint64 speedHundredths() const { return fields[5]; } // F6, hundredths of rpm
    qint64 rotorBobCode() const { return fields[6]; }    // F7, 1..6

    // Decodes one message as cut by MessageFramer (the end byte may or may not be included).
    static RealTimeReading decode(const QByteArray &message);

    // The instrument's own rule for a usable reading: step, seconds and temperature at least 1 and a shear
    // stress of at most 60000. Invalid readings are neither shown, charted nor stored.
    bool isValid() const;

    // Every field fits the 32-bit signed integers the database and the step arithmetic use. A valid reading
    // that does not fit is shown and charted but never stored.
    bool fitsIntegers() const;

    // Rotor speed in rpm as stored and shown: F6 / 100, or 0.000001 for a standing rotor (keeps the
    // viscosity expressions that divide by the speed finite).
    double speedRpm() const;

    static constexpr qint64 MaxShearStress = 60000;
};
