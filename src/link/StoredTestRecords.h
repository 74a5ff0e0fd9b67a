#pragma once
// The instrument's stored-test upload: records of seven unsigned decimal fields, each followed by one
// separator (any non-digit), ended by the byte 2 where the next record would start.
#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

struct StoredTestRecord {
    qint64 step = 0;
    qint64 seconds = 0;
    qint64 temperatureF = 0;
    qint64 stress = 0;   // dyn/cm2
    qint64 gel = 0;      // dyn/cm2
    double speedRpm = 0; // field / 100
    qint64 rotorBob = 0; // code 1..6
};

struct StoredTestParse {
    std::vector<StoredTestRecord> records;
    QString error; // set when the reply holds more records than the instrument can store
    bool ok() const { return error.isEmpty(); }
};

namespace StoredTestRecords {

constexpr int MaxRecords = 101;
constexpr char EndByte = 2;

// Parses a complete reply (its last byte is the end byte). Fields with no digits read as 0.
StoredTestParse parse(const QByteArray &reply);

// The reply to the byte 8 when the instrument runs with a custom rotor-bob factor: the factor x 1000 as
// four decimal digits, then the end byte ("1234\x02" for 1.234). Any other reply means the standard table.
std::optional<double> customFactorFromReply(const QByteArray &reply);

// Speed as stored: a standing rotor keeps a tiny positive speed so viscosity expressions stay finite.
inline double storedSpeed(double rpm)
{
    return rpm > 0.001 ? rpm : 0.000001;
}

} // namespace StoredTestRecords
