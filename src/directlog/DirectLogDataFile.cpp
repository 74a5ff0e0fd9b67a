#include "directlog/DirectLogDataFile.h"

#include "common/NumberText.h"

#include <QDir>
#include <QFile>

namespace {

bool writeAll(QFile &file, const QByteArray &bytes, QString *error)
{
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        if (error)
            *error = file.errorString();
        file.close();
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

QString DirectLogDataFile::printForm(double value, int significant)
{
    return NumberText::Str(value, significant) + QLatin1Char(' ');
}

QString DirectLogDataFile::line(qint64 secondsInStep, const QTime &clock, qint64 shearStress, double speedRpm,
                                float viscosity)
{
    const QString comma(QLatin1Char(','));
    return printForm(double(secondsInStep)) + comma + clock.toString(QStringLiteral("hh:mm:ss")) + comma
        + printForm(double(shearStress)) + comma + printForm(speedRpm) + comma + printForm(double(viscosity), 7)
        + QStringLiteral("\r\n");
}

QString DirectLogDataFile::pathFor(const QString &workDir, const QString &fileName)
{
    return QDir(workDir.isEmpty() ? QDir::currentPath() : workDir).filePath(fileName.trimmed());
}

bool DirectLogDataFile::create(QString *error)
{
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return writeAll(file, (header() + QStringLiteral("\r\n")).toLatin1(), error);
}

bool DirectLogDataFile::append(const QString &text, QString *error)
{
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return writeAll(file, text.toLatin1(), error);
}
