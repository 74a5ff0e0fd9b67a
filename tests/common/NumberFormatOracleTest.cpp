// Format takes its pictures apart once and works on digit characters, so that reports of a million
// readings format quickly. The straightforward string-by-string Format it replaced is kept here as the
// oracle: both must give the same text for every picture the program uses and for odd ones, on values of
// every size, sign and rounding tie.
#include "common/NumberText.h"

#include <QList>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Decimal {
    QString digits;
    int pointPos = 0;
    bool isZero() const { return digits.isEmpty(); }
};

Decimal decimalOf(double magnitude)
{
    Decimal d;
    if (magnitude == 0.0)
        return d;
    const QString e = QString::number(magnitude, 'e', 14);
    const int ePos = e.indexOf(QLatin1Char('e'));
    QString mantissa = e.left(ePos);
    mantissa.remove(QLatin1Char('.'));
    const int exponent = e.mid(ePos + 1).toInt();
    while (mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);
    d.digits = mantissa;
    d.pointPos = exponent + 1;
    return d;
}

Decimal roundAwayFromZero(Decimal d, int decimals)
{
    const int keep = d.pointPos + decimals;
    if (d.isZero() || keep >= d.digits.size())
        return d;
    if (keep < 0)
        return {};
    QString kept = d.digits.left(keep);
    if (d.digits.at(keep) >= QLatin1Char('5')) {
        int i = kept.size() - 1;
        while (i >= 0 && kept.at(i) == QLatin1Char('9'))
            kept[i--] = QLatin1Char('0');
        if (i >= 0) {
            kept[i] = QChar(kept.at(i).unicode() + 1);
        } else {
            kept.prepend(QLatin1Char('1'));
            ++d.pointPos;
        }
    }
    while (kept.endsWith(QLatin1Char('0')))
        kept.chop(1);
    d.digits = kept;
    if (d.isZero())
        d.pointPos = 0;
    return d;
}

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0');
}

// The earlier Format, for finite values and non-empty pictures.
QString oracleFormat(double value, const QString &picture)
{
    int first = -1, last = -1;
    for (int i = 0; i < picture.size(); ++i) {
        if (isPlaceholder(picture.at(i)) || picture.at(i) == QLatin1Char('.')) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return picture;
    const QString section = picture.mid(first, last - first + 1);
    const int point = section.indexOf(QLatin1Char('.'));
    const QString intPicture = point < 0 ? section : section.left(point);
    const QString fracPicture = point < 0 ? QString() : section.mid(point + 1);
    int minInt = 0;
    bool zeroSeen = false;
    for (const QChar c : intPicture) {
        zeroSeen = zeroSeen || c == QLatin1Char('0');
        if (zeroSeen && isPlaceholder(c))
            ++minInt;
    }
    int decimals = 0, minFrac = 0;
    for (const QChar c : fracPicture) {
        if (!isPlaceholder(c))
            continue;
        ++decimals;
        if (c == QLatin1Char('0'))
            minFrac = decimals;
    }
    const Decimal r = roundAwayFromZero(decimalOf(std::fabs(value)), decimals);
    QString intPart;
    if (r.pointPos > 0) {
        intPart = r.digits.left(r.pointPos);
        intPart += QString(r.pointPos - intPart.size(), QLatin1Char('0'));
    }
    if (intPart.size() < minInt)
        intPart.prepend(QString(minInt - intPart.size(), QLatin1Char('0')));
    QString frac;
    if (r.pointPos < r.digits.size())
        frac = r.pointPos >= 0 ? r.digits.mid(r.pointPos) : QString(-r.pointPos, QLatin1Char('0')) + r.digits;
    frac += QString(decimals - frac.size(), QLatin1Char('0'));
    while (frac.size() > minFrac && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    const QString sign = (value < 0 && !r.isZero()) ? QStringLiteral("-") : QString();
    return sign + picture.left(first) + intPart + (point >= 0 ? QStringLiteral(".") : QString()) + frac
        + picture.mid(last + 1);
}

const char *const Pictures[] = {
    // every picture of the grids, reports and files
    "##0", "###0.#", "##0.#", "###0.##", "##0.###", "####0.00#", "###0.###", "#0.#####", "#0.###", "####0.0##",
    "####0.0#", "##0.0#", "###0.00", "0.0", "0.", "0", "#0", "###.0", "###.00", "###.#", "####.00", ".", "00000",
    // and odd ones: text around the number, separators inside it, a second point, no number at all
    "#,##0.00", "Step 00", "0.0 kg", "#.#.#0", "0#0.#0#", "abc", "##", "#", ".00", "0.000000000000"};

} // namespace

TEST(NumberTextFormat, GivesWhatTheStringByStringFormatGave)
{
    QRandomGenerator random(1969);
    QList<double> values = {0.0,   -0.0,   0.5,       -0.5,     1.5,      2.5,    2.675,
                            0.045, 0.0045, 9.995,     99.95,    999.9999, 1e-7,   123456789.125,
                            1e15,  4.788,  1 / 4.788, 0.000001, 1e21,     -1e-20, 0.09999999};
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::pow(10.0, -8.0 + 20.0 * random.generateDouble());
        double v = random.bounded(2) ? magnitude * random.generateDouble() : magnitude;
        if (i % 5 == 0) // a tie at some decimal place
            v = std::round(v * 1000.0) / 1000.0 + 0.0005;
        values.append(random.bounded(3) == 0 ? -v : v);
    }
    for (const char *picture : Pictures) {
        const QString p = QString::fromLatin1(picture);
        for (const double v : values)
            ASSERT_EQ(NumberText::Format(v, p), oracleFormat(v, p)) << picture << " " << v;
    }
}
