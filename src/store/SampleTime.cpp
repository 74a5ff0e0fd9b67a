#include "store/SampleTime.h"

#include <QStringList>

namespace {

const QString kStored = QStringLiteral("yyyy-MM-ddTHH:mm:ss");
const QString kDisplay = QStringLiteral("yyyy-MM-dd HH:mm:ss");

std::optional<QDateTime> valid(const QDateTime &t)
{
    if (t.isValid())
        return t;
    return std::nullopt;
}

// A locale format made forgiving: one-digit day, month and hour, and a four-digit year where the
// locale writes two.
QString relaxed(QString format)
{
    format.replace(QStringLiteral("dd"), QStringLiteral("d"));
    format.replace(QStringLiteral("MM"), QStringLiteral("M"));
    format.replace(QStringLiteral("HH"), QStringLiteral("H"));
    format.replace(QStringLiteral("hh"), QStringLiteral("h"));
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

// A two-digit year means this century up to 49 and the last one from 50: Qt reads "yy" as 19xx and may
// read two digits under "yyyy" as the years 0..99.
QDateTime recentCentury(QDateTime t, const QString &format)
{
    if (!t.isValid())
        return t;
    const int year = t.date().year();
    if (year >= 0 && year < 100)
        t = t.addYears(year < 50 ? 2000 : 1900);
    else if (year < 1950 && !format.contains(QStringLiteral("yyyy")) && format.contains(QStringLiteral("yy")))
        t = t.addYears(100);
    return t;
}

} // namespace

QString SampleTime::toStored(const QDateTime &time)
{
    return time.toString(kStored);
}

QString SampleTime::toDisplay(const QDateTime &time)
{
    return time.toString(kDisplay);
}

std::optional<QDateTime> SampleTime::parse(const QString &typed, const QLocale &locale)
{
    const QString text = typed.simplified();
    if (text.isEmpty())
        return std::nullopt;

    for (const char *format : {"yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm", "yyyy-MM-dd HH:mm",
                               "yyyy-M-d H:mm:ss", "yyyy-M-d H:mm"}) {
        if (auto t = valid(QDateTime::fromString(text, QString::fromLatin1(format))))
            return t;
    }
    for (const char *format : {"yyyy-MM-dd", "yyyy-M-d"}) {
        const QDate d = QDate::fromString(text, QString::fromLatin1(format));
        if (d.isValid())
            return QDateTime(d, QTime(0, 0));
    }

    QStringList dateTimeFormats;
    for (auto f : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QString dateTime = locale.dateTimeFormat(f);
        const QString date = locale.dateFormat(f);
        // With and without seconds: the short form often leaves them out.
        dateTimeFormats << dateTime << relaxed(dateTime)
                        << date + QStringLiteral(" ") + locale.timeFormat(QLocale::LongFormat)
                        << relaxed(date) + QStringLiteral(" H:mm:ss") << relaxed(date) + QStringLiteral(" H:mm");
    }
    for (const QString &format : dateTimeFormats) {
        if (auto t = valid(recentCentury(locale.toDateTime(text, format), format)))
            return t;
    }
    for (auto f : {QLocale::ShortFormat, QLocale::LongFormat}) {
        for (const QString &format : {locale.dateFormat(f), relaxed(locale.dateFormat(f))}) {
            const QDate d = locale.toDate(text, format);
            if (d.isValid())
                return recentCentury(QDateTime(d, QTime(0, 0)), format);
        }
    }
    return std::nullopt;
}

std::optional<QDateTime> SampleTime::fromStored(const QVariant &stored)
{
    if (stored.isNull())
        return std::nullopt;
    if (stored.typeId() == QMetaType::QDateTime) // a server's TIMESTAMP column
        return valid(stored.toDateTime());
    const QString text = stored.toString().trimmed();
    for (const QString &format : {kStored, kDisplay}) {
        if (auto t = valid(QDateTime::fromString(text, format)))
            return t;
    }
    return valid(QDateTime::fromString(text, Qt::ISODate));
}

QString SampleTime::displayStored(const QVariant &stored)
{
    if (stored.isNull())
        return {};
    if (auto t = fromStored(stored))
        return toDisplay(*t);
    return stored.toString();
}
