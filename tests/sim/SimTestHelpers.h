#pragma once
// Small helpers for the simulator tests: the program's side of the line, written from the protocol
// description (not from the simulator's code), so the tests check the simulator against it.
#include "sim/SimStep.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdio>

namespace simtest {

using Fields = std::array<qint64, 7>;

// The download stream as the program writes it: byte 3, per step "NN,TTTTT,FFF,SSSSS,R11", then "99".
inline QByteArray downloadStream(const QList<SimStep> &steps)
{
    QByteArray s(1, char(3));
    for (const SimStep &st : steps) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "%02d,%05lld,%03d,%05lld,%d11", st.stepNo, (long long)st.seconds,
                      st.temperatureF, (long long)st.speedHundredths, st.rotorBob);
        s += buf;
    }
    return s + "99";
}

// Seven fields: digits accumulate, any other single character separates; missing fields read 0.
inline Fields decodeFields(const QByteArray &text)
{
    Fields f{};
    qsizetype p = 0;
    for (int i = 0; i < 7; ++i) {
        qint64 v = 0;
        while (p < text.size() && text[p] >= '0' && text[p] <= '9')
            v = v * 10 + (text[p++] - '0');
        ++p;
        f[size_t(i)] = v;
    }
    return f;
}

// Cuts real-time data messages at byte 26; what follows the last one is left in rest.
inline QList<Fields> decodeMessages(const QByteArray &stream, QByteArray *rest = nullptr)
{
    QList<Fields> out;
    qsizetype start = 0;
    for (qsizetype end = stream.indexOf(char(26)); end >= 0; end = stream.indexOf(char(26), start)) {
        out.append(decodeFields(stream.mid(start, end - start + 1)));
        start = end + 1;
    }
    if (rest)
        *rest = stream.mid(start);
    return out;
}

// Stored-test records: seven fields each followed by one separator, until the byte 2.
inline QList<Fields> decodeRecords(const QByteArray &reply)
{
    QList<Fields> out;
    qsizetype p = 0;
    while (p < reply.size() && reply[p] != char(2)) {
        Fields f{};
        for (int i = 0; i < 7; ++i) {
            qint64 v = 0;
            while (p < reply.size() && reply[p] >= '0' && reply[p] <= '9')
                v = v * 10 + (reply[p++] - '0');
            ++p;
            f[size_t(i)] = v;
        }
        out.append(f);
    }
    return out;
}

inline QString show(const QByteArray &b)
{
    QString s;
    for (char c : b)
        s += (c >= 32 && c < 127) ? QString(QChar::fromLatin1(c))
                                  : QStringLiteral("<%1>").arg(int(static_cast<unsigned char>(c)));
    return s;
}

} // namespace simtest
