#include "platform/PortMap.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

QString PortMap::defaultDevice(int commNumber)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(commNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(commNumber - 1);
#endif
}

void PortMap::load(const QString &dir)
{
    fromFile_.clear();
    QFile file(QDir(dir).filePath(QStringLiteral("ports.txt")));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        parse(QString::fromUtf8(file.readAll()));
}

void PortMap::parse(const QString &text)
{
    static const QRegularExpression line(QStringLiteral(R"(^\s*(?:comm?\s*)?(\d+)\s*[=:]\s*(\S.*?)\s*$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString l = raw.trimmed();
        if (l.isEmpty() || l.startsWith(QLatin1Char('#')))
            continue;
        const auto m = line.match(l);
        if (!m.hasMatch())
            continue;
        const int n = m.captured(1).toInt();
        if (n >= 1)
            fromFile_[n] = m.captured(2);
    }
}

QString PortMap::device(int commNumber) const
{
    if (overrides_.contains(commNumber))
        return overrides_.value(commNumber);
    if (fromFile_.contains(commNumber))
        return fromFile_.value(commNumber);
    return defaultDevice(commNumber);
}
