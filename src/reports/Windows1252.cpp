#include "reports/Windows1252.h"

#include <QList>

namespace Windows1252 {
namespace {

// Bytes 0x80..0x9F of the code page, as Unicode; 0 marks the five bytes the code page leaves unused.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char byteFor(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QByteArray encode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const uint c : text.toUcs4())
        out.append(byteFor(static_cast<char32_t>(c)));
    return out;
}

} // namespace Windows1252
