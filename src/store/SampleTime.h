#pragma once
// The sample time of a stored test: kept in the database as a real date-time (ISO text
// "yyyy-MM-ddTHH:mm:ss", which SQLite's date functions read and which sorts as text), typed by the user in
// the ISO form or the locale's usual forms, shown as "yyyy-MM-dd HH:mm:ss".
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>
#include <optional>

class SampleTime {
public:
    // The stored text of a date-time ("2024-05-06T07:08:09").
    static QString toStored(const QDateTime &time);
    // The text the dialogs show ("2024-05-06 07:08:09").
    static QString toDisplay(const QDateTime &time);

    // What the user typed: ISO date-times ("2024-05-06 07:08", "2024-05-06T07:08:09", "2024-05-06") and the
    // locale's short and long date and date-time forms (one-digit days and months and four-digit years
    // accepted, a two-digit year taken as 20xx up to 2049, 19xx from 50). nullopt when it is no date.
    static std::optional<QDateTime> parse(const QString &typed, const QLocale &locale = QLocale());

    // A stored value read back (text, or a server's date-time): a date-time, nullopt when it is null or not
    // a date-time.
    static std::optional<QDateTime> fromStored(const QVariant &stored);
    // A stored value as the dialogs show it: a date-time in display form, other text as it was stored,
    // null as "".
    static QString displayStored(const QVariant &stored);
};
