#include "common/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace NumberText {
namespace {

// A non-negative decimal number as a digit string: value = 0.d1d2d3... x 10^pointPos, i.e. pointPos digits
// stand before the decimal point. No leading or trailing zeros in digits; zero is an empty digit string.
struct Decimal {
    QString digits;
    int pointPos = 0;
    bool isZero() const { return digits.isEmpty(); }
};

// The value's 15-significant-digit (or fewer) decimal form. Working on this form rather than on the binary
// value is what makes 2.675 round to 2.68: its binary neighbour 2.67499999... reads as 2.67500000000000.
Decimal decimalOf(double magnitude, int significant = 15)
{
    Decimal d;
    if (magnitude == 0.0)
        return d;
    const QString e = QString::number(magnitude, 'e', significant - 1); // "d.ddddde+XX", locale-free
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

enum class Tie { AwayFromZero, Even };

// Rounds to `decimals` places after the point (negative: to tens, hundreds...).
Decimal roundDecimal(Decimal d, int decimals, Tie tie)
{
    const int keep = d.pointPos + decimals; // digits that stay
    if (d.isZero() || keep >= d.digits.size())
        return d;
    if (keep < 0)
        return {}; // the first dropped digit is an implied zero

    QString kept = d.digits.left(keep);
    const QString dropped = d.digits.mid(keep); // never empty, never ends in '0'
    const QChar first = dropped.at(0);
    bool up = false;
    if (tie == Tie::AwayFromZero) {
        up = first >= QLatin1Char('5');
    } else {
        const bool exactHalf = dropped == QLatin1String("5");
        const bool lastOdd = !kept.isEmpty() && (kept.back().digitValue() % 2 == 1);
        up = first > QLatin1Char('5') || (first == QLatin1Char('5') && (!exactHalf || lastOdd));
    }

    if (up) {
        int i = kept.size() - 1;
        while (i >= 0 && kept.at(i) == QLatin1Char('9')) {
            kept[i] = QLatin1Char('0');
            --i;
        }
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

QString integerDigits(const Decimal &d)
{
    if (d.pointPos <= 0)
        return {};
    QString s = d.digits.left(d.pointPos);
    return s + QString(d.pointPos - s.size(), QLatin1Char('0'));
}

QString fractionDigits(const Decimal &d)
{
    if (d.pointPos >= d.digits.size())
        return {};
    if (d.pointPos >= 0)
        return d.digits.mid(d.pointPos);
    return QString(-d.pointPos, QLatin1Char('0')) + d.digits;
}

double toDouble(const Decimal &d, bool negative)
{
    if (d.isZero())
        return 0.0;
    const QString text = QStringLiteral("0.") + d.digits + QStringLiteral("e") + QString::number(d.pointPos);
    const double v = text.toDouble();
    return negative ? -v : v;
}

double roundValue(double value, int decimals, Tie tie)
{
    if (!std::isfinite(value))
        return value;
    return toDouble(roundDecimal(decimalOf(std::fabs(value)), decimals, tie), std::signbit(value));
}

QString nonFinite(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
}

// The runtime's general number form: up to `significant` digits, fixed notation for decimal exponents
// -4..significant-1 and "1.5E+20" / "1E-05" outside that range. No sign, no leading blank.
QString generalForm(double magnitude, int significant, bool zeroBeforePoint)
{
    const Decimal d = decimalOf(magnitude, significant);
    if (d.isZero())
        return QStringLiteral("0");
    const int exponent = d.pointPos - 1;
    if (exponent < -4 || exponent >= significant) {
        QString s = d.digits.left(1);
        if (d.digits.size() > 1)
            s += QLatin1Char('.') + d.digits.mid(1);
        s += QLatin1Char('E');
        s += QLatin1Char(exponent < 0 ? '-' : '+');
        s += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
        return s;
    }
    QString intPart = integerDigits(d);
    const QString frac = fractionDigits(d);
    if (intPart.isEmpty() && zeroBeforePoint)
        intPart = QStringLiteral("0");
    return frac.isEmpty() ? intPart : intPart + QLatin1Char('.') + frac;
}

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0');
}

// A picture taken apart once: the text around the number section, whether it shows a decimal point, the
// integer digits always shown, the decimal places rounded to and those always shown.
struct Picture {
    QString text; // the picture itself, to find it again
    bool numeric = false;
    QString prefix;
    QString suffix;
    bool point = false;
    int minInt = 0;
    int decimals = 0;
    int minFrac = 0;
};

Picture parsePicture(const QString &picture)
{
    Picture p;
    p.text = picture;
    // The number section runs from the first to the last '#', '0' or '.'; text around it is kept as is.
    int first = -1, last = -1;
    for (int i = 0; i < picture.size(); ++i) {
        const QChar c = picture.at(i);
        if (isPlaceholder(c) || c == QLatin1Char('.')) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return p;
    p.numeric = true;
    p.prefix = picture.left(first);
    p.suffix = picture.mid(last + 1);
    const QString section = picture.mid(first, last - first + 1);
    const int point = section.indexOf(QLatin1Char('.'));
    p.point = point >= 0;
    const QString intPicture = point < 0 ? section : section.left(point);
    const QString fracPicture = point < 0 ? QString() : section.mid(point + 1);
    // Integer digits: every placeholder from the first '0' on is always shown.
    bool zeroSeen = false;
    for (const QChar c : intPicture) {
        zeroSeen = zeroSeen || c == QLatin1Char('0');
        if (zeroSeen && isPlaceholder(c))
            ++p.minInt;
    }
    // Decimal digits: all placeholders are rounded to; those up to the last '0' are always shown.
    for (const QChar c : fracPicture) {
        if (!isPlaceholder(c))
            continue;
        ++p.decimals;
        if (c == QLatin1Char('0'))
            p.minFrac = p.decimals;
    }
    return p;
}

// Reports format millions of cells with a handful of pictures: each thread keeps the ones it used last.
const Picture &pictureOf(const QString &picture)
{
    thread_local std::array<Picture, 8> recent;
    thread_local size_t next = 0;
    for (const Picture &p : recent)
        if (p.text.size() == picture.size() && p.text == picture && !p.text.isNull())
            return p;
    Picture &slot = recent[next];
    next = (next + 1) % recent.size();
    slot = parsePicture(picture);
    return slot;
}

// decimalOf() into a character buffer (at most 15 digits), without the strings in between.
void decimalDigits(double magnitude, char (&digits)[32], int &count, int &pointPos)
{
    count = 0;
    pointPos = 0;
    if (magnitude == 0.0)
        return;
    // "d.dddddddddddddde+XX": 15 significant digits, correctly rounded, locale-free.
    char text[40];
    const char *end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 14).ptr;
    const char *e = std::find(static_cast<const char *>(text), end, 'e');
    for (const char *c = text; c < e; ++c) {
        if (*c != '.')
            digits[count++] = *c;
    }
    while (count > 0 && digits[count - 1] == '0')
        --count;
    int exponent = 0;
    bool negative = false;
    for (const char *c = e + 1; c < end; ++c) {
        if (*c == '-')
            negative = true;
        else if (*c >= '0' && *c <= '9')
            exponent = exponent * 10 + (*c - '0');
    }
    pointPos = (negative ? -exponent : exponent) + 1;
}

// The value 0.d1d2d3... x 10^pointPos, read back as the nearest double.
double digitsToDouble(const char (&digits)[32], int count, int pointPos, bool negative)
{
    if (count == 0)
        return 0.0;
    char text[48] = {'0', '.'};
    std::memcpy(text + 2, digits, size_t(count));
    char *p = text + 2 + count;
    *p++ = 'e';
    p = std::to_chars(p, text + sizeof text, pointPos).ptr;
    double v = 0.0;
    std::from_chars(text, p, v);
    return negative ? -v : v;
}

void roundAwayFromZero(char (&digits)[32], int &count, int &pointPos, int decimals)
{
    const int keep = pointPos + decimals;
    if (count == 0 || keep >= count)
        return;
    if (keep < 0) {
        count = 0;
        pointPos = 0;
        return;
    }
    const bool up = digits[keep] >= '5';
    count = keep;
    if (up) {
        int i = count - 1;
        while (i >= 0 && digits[i] == '9') {
            digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[i];
        } else {
            std::memmove(digits + 1, digits, size_t(count));
            digits[0] = '1';
            ++count;
            ++pointPos;
        }
    }
    while (count > 0 && digits[count - 1] == '0')
        --count;
    if (count == 0)
        pointPos = 0;
}

} // namespace

double RoundHalfAwayFromZero(double value, int decimals)
{
    // The reports round every cell they write: this works on digit characters, as Format does.
    if (!std::isfinite(value))
        return value;
    char digits[32];
    int count = 0;
    int pointPos = 0;
    decimalDigits(std::fabs(value), digits, count, pointPos);
    roundAwayFromZero(digits, count, pointPos, decimals);
    return digitsToDouble(digits, count, pointPos, std::signbit(value));
}

double RoundHalfEven(double value, int decimals)
{
    return roundValue(value, decimals, Tie::Even);
}

int PictureDecimals(const QString &picture)
{
    const int point = picture.indexOf(QLatin1Char('.'));
    if (point < 0)
        return 0;
    int decimals = 0;
    for (int i = point + 1; i < picture.size(); ++i) {
        if (isPlaceholder(picture.at(i)))
            ++decimals;
    }
    return decimals;
}

double FormatValue(double value, const QString &picture)
{
    return RoundHalfAwayFromZero(value, PictureDecimals(picture));
}

QString Format(double value, const QString &picture)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    if (picture.isEmpty())
        return Text(value);
    const Picture &p = pictureOf(picture);
    if (!p.numeric)
        return picture;

    // The rounded magnitude as digit characters: value = 0.d1d2d3... x 10^pointPos.
    char digits[32];
    int count = 0;
    int pointPos = 0;
    decimalDigits(std::fabs(value), digits, count, pointPos);
    roundAwayFromZero(digits, count, pointPos, p.decimals);

    QString out;
    out.reserve(p.prefix.size() + p.suffix.size() + std::max(pointPos, p.minInt) + p.decimals + 2);
    // A value that rounds to zero shows no sign: "-0.0" is not a reading anyone wants to see.
    if (value < 0 && count > 0)
        out += QLatin1Char('-');
    out += p.prefix;
    const int intDigits = std::max(pointPos, 0);
    for (int i = intDigits; i < p.minInt; ++i)
        out += QLatin1Char('0');
    for (int i = 0; i < intDigits; ++i)
        out += QLatin1Char(i < count ? digits[i] : '0');
    if (p.point)
        out += QLatin1Char('.');
    // Decimal places after the point: the rounded digits, then zeros up to the last '0' of the picture.
    for (int place = 1; place <= p.decimals; ++place) {
        const int index = pointPos + place - 1; // digit index of this decimal place
        const bool significant = index < count;
        if (!significant && place > p.minFrac)
            break;
        out += QLatin1Char(index >= 0 && significant ? digits[index] : '0');
    }
    out += p.suffix;
    return out;
}

QString Str(double value, int significant)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    significant = std::clamp(significant, 1, 17);
    const QString body = generalForm(std::fabs(value), significant, false);
    if (body == QLatin1String("0"))
        return QStringLiteral(" 0");
    return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + body;
}

QString Text(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    QString body = generalForm(std::fabs(value), 15, true);
    if (body == QLatin1String("0"))
        return body;
    return value < 0 ? QStringLiteral("-") + body : body;
}

double Val(const QString &text)
{
    // Blanks, tabs and line breaks are skipped wherever they are, as the classic Val does ("1 000" is 1000).
    QString s;
    s.reserve(text.size());
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            s += c;
    }

    int i = 0;
    QString number;
    if (i < s.size() && (s.at(i) == QLatin1Char('-') || s.at(i) == QLatin1Char('+')))
        number += s.at(i++);
    int mantissaDigits = 0;
    while (i < s.size() && s.at(i).isDigit() && s.at(i).unicode() < 128) {
        number += s.at(i++);
        ++mantissaDigits;
    }
    if (i < s.size() && s.at(i) == QLatin1Char('.')) {
        number += s.at(i++);
        while (i < s.size() && s.at(i).isDigit() && s.at(i).unicode() < 128) {
            number += s.at(i++);
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0.0;

    // An exponent counts only when digits follow it ("2e" is 2, "2e3" is 2000; the old "D" form too).
    if (i < s.size()) {
        const QChar e = s.at(i).toLower();
        if (e == QLatin1Char('e') || e == QLatin1Char('d')) {
            int j = i + 1;
            QString exponent = QStringLiteral("e");
            if (j < s.size() && (s.at(j) == QLatin1Char('-') || s.at(j) == QLatin1Char('+')))
                exponent += s.at(j++);
            int expDigits = 0;
            while (j < s.size() && s.at(j).isDigit() && s.at(j).unicode() < 128) {
                exponent += s.at(j++);
                ++expDigits;
            }
            if (expDigits > 0)
                number += exponent;
        }
    }

    bool ok = false;
    const double v = number.toDouble(&ok); // QString::toDouble is locale-independent ("." always)
    return ok && std::isfinite(v) ? v : 0.0;
}

} // namespace NumberText
