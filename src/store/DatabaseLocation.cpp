#include "store/DatabaseLocation.h"

#include "store/Database.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QUrlQuery>

namespace DatabaseLocation {

QString fileName()
{
    return QStringLiteral("database.txt");
}

bool isServer(const QString &location)
{
    const QString l = location.trimmed();
    return l.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || l.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

std::optional<Server> parseServer(const QString &location, QString *error)
{
    const QUrl url(location.trimmed(), QUrl::StrictMode);
    auto fail = [&](const QString &why) -> std::optional<Server> {
        if (error)
            *error = QStringLiteral("the database address %1 cannot be read: %2").arg(display(location), why);
        return std::nullopt;
    };
    if (!url.isValid())
        return fail(url.errorString());
    Server s;
    s.host = url.host();
    s.port = url.port(-1);
    s.user = url.userName(QUrl::FullyDecoded);
    s.password = url.password(QUrl::FullyDecoded);
    s.database = url.path(QUrl::FullyDecoded).mid(1);
    if (s.database.contains(QLatin1Char('/')))
        return fail(QStringLiteral("the database name may not hold \"/\""));
    QStringList options;
    const QUrlQuery query(url);
    for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key.isEmpty() || key.contains(QLatin1Char(';')) || key.contains(QLatin1Char(' '))
            || value.contains(QLatin1Char(';')) || value.contains(QLatin1Char(' ')))
            return fail(QStringLiteral("the option \"%1\" cannot be passed on").arg(key));
        options << key + QLatin1Char('=') + value;
    }
    s.options = options.join(QLatin1Char(';'));
    return s;
}

QString display(const QString &location)
{
    if (!isServer(location))
        return QDir::toNativeSeparators(location);
    QUrl url(location.trimmed());
    if (!url.password().isEmpty())
        url.setPassword(QStringLiteral("***"));
    return url.toString();
}

QString resolve(const QString &given, const QString &workDir)
{
    QString location = given.trimmed();
    if (location.isEmpty())
        return QDir(workDir).filePath(Database::defaultFileName());
    if (isServer(location))
        return location;
    return QDir(workDir).absoluteFilePath(location);
}

QString forWindows(const QString &workDir, QString *error)
{
    QFile file(QDir(workDir).filePath(fileName()));
    if (!file.exists())
        return resolve({}, workDir);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("%1 could not be read: %2").arg(file.fileName(), file.errorString());
        return {};
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (!line.trimmed().isEmpty())
            return resolve(line, workDir);
    }
    return resolve({}, workDir);
}

} // namespace DatabaseLocation
