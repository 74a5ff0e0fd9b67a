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
    // Set when the reply holds more records than the instrument can store, or its last record is cut short.
    QString error;
    bool cutShort = false; // the end byte came before the record's seventh field
    bool ok() const { return error.isEmpty(); }
};

namespace StoredTestRecords {

constexpr int MaxRecords = 101;
constexpr char EndByte = 2;
// The longest reply a full memory can give: 101 records of seven fields of up to ten digits, each with its
// separator, and the end byte. Anything longer is no reply of the instrument (a line that never pauses).
constexpr int MaxFieldDigits = 10;
constexpr qsizetype MaxReplyBytes = qsizetype(MaxRecords) * 7 * (MaxFieldDigits + 1) + 1;

// Parses a complete reply (its last byte is the end byte). Fields with no digits read as 0. A record that
// the end byte interrupts before its seventh field (the line lost bytes) is refused, not read as zeros.
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
