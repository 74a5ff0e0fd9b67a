#include "link/StoredTestRecords.h"

namespace StoredTestRecords {

static bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

StoredTestParse parse(const QByteArray &reply)
{
    StoredTestParse out;
    qsizetype p = 0;
    const qsizetype n = reply.size();
    while (p < n && reply[p] != EndByte) {
        if (static_cast<int>(out.records.size()) == MaxRecords) {
            out.error = QStringLiteral("The instrument sent more than %1 records.").arg(MaxRecords);
            return out;
        }
        qint64 field[7] = {};
        for (int i = 0; i < 7; ++i) {
            // The end byte as the last byte of the reply may stand for the seventh separator only.
            if (i > 0 && p >= n - 1 && (p >= n || reply[p] == EndByte)) {
                out.cutShort = true;
                out.error = QStringLiteral("The last record of the reply is cut short.");
                return out;
            }
            qint64 &f = field[i];
            // Saturate instead of overflowing on a corrupted, endless digit run.
            while (p < n && isDigit(reply[p])) {
                if (f < (Q_INT64_C(1) << 50))
                    f = f * 10 + (reply[p] - '0');
                ++p;
            }
            ++p; // the separator
        }
        StoredTestRecord r;
        r.step = field[0];
        r.seconds = field[1];
        r.temperatureF = field[2];
        r.stress = field[3];
        r.gel = field[4];
        r.speedRpm = static_cast<double>(field[5]) / 100.0;
        r.rotorBob = field[6];
        out.records.push_back(r);
    }
    return out;
}

std::optional<double> customFactorFromReply(const QByteArray &reply)
{
    if (reply.size() < 5 || !reply.contains(EndByte))
        return std::nullopt;
    for (int i = 0; i < 4; ++i)
        if (!isDigit(reply[i]))
            return std::nullopt;
    const int thousandths = reply.left(4).toInt();
    if (thousandths <= 0)
        return std::nullopt;
    return thousandths / 1000.0;
}

} // namespace StoredTestRecords
