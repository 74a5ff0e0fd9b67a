#pragma once
// Number texts that stored files, statements, grids and reports rely on.
// All functions use "." as the decimal separator, whatever the locale, so files read back anywhere.
#include <QString>

namespace NumberText {

// Picture formatting ("##0.0#", "00000", "###.0", ...): '0' a digit always shown, '#' a digit shown only
// when significant, '.' the decimal point (shown even when no decimal digit follows). The value is rounded
// half away from zero at the picture's last decimal place, on its 15-significant-digit decimal form
// (so 2.675 in "0.00" gives "2.68"). A negative value gets a leading "-".
QString Format(double value, const QString &picture);

// The number Format(value, picture) shows, as a number: the value rounded the same way to the picture's
// decimal places ("#0.###" and 2.34567 give 2.346). Spreadsheet cells hold it under the picture as their
// number format, so they show the report's digits and still add up.
double FormatValue(double value, const QString &picture);
// How many decimal places a picture rounds to: its '#' and '0' after the point.
int PictureDecimals(const QString &picture);

// The classic Str: a leading blank before a number of zero or more, "." as separator, no zero before the
// point for values below 1 (" .2215", "-.5"), up to `significant` significant digits (7 for single
// precision values, 15 for double).
QString Str(double value, int significant = 15);

// The classic Val: the leading number of a text (blanks inside it are skipped, "&H" hex is not needed),
// 0 when there is none. "12abc" -> 12, " 3.5 " -> 3.5, "abc" -> 0, "1e3" -> 1000.
double Val(const QString &text);

// The default number-to-text conversion: the shortest text that reads back the value (15 significant
// digits at most), no leading blank, "." as separator; whole numbers without a point ("10", "0.5").
QString Text(double value);

// Rounding on the 15-significant-digit decimal form of the value.
double RoundHalfAwayFromZero(double value, int decimals);
double RoundHalfEven(double value, int decimals);

} // namespace NumberText
