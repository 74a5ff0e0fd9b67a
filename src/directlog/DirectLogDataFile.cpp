#include "directlog/DirectLogDataFile.h"

#include "common/NumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    const qint64 before = file.size();
    if (writeAll(file, text.toLatin1(), error))
        return true;
    // A line written in part would be followed by the whole of it at the next try.
    QFile::resize(path_, before);
    return false;
}

bool DirectLogDataFile::start(QString *error)
{
    waiting_.clear();
    restart_ = false;
    if (create(error))
        return true;
    waiting_ << header() + QStringLiteral("\r\n");
    restart_ = true;
    return false;
}

bool DirectLogDataFile::record(const QString &line, QString *error)
{
    waiting_ << line;
    return flush(error);
}

bool DirectLogDataFile::flush(QString *error)
{
    if (waiting_.isEmpty())
        return true;
    const QString text = waiting_.join(QString());
    if (restart_) {
        QFile file(path_);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            if (error)
                *error = file.errorString();
            return false;
        }
        if (!writeAll(file, text.toLatin1(), error)) {
            QFile::resize(path_, 0);
            return false;
        }
    } else if (!append(text, error)) {
        return false;
    }
    waiting_.clear();
    restart_ = false;
    return true;
}

qsizetype DirectLogDataFile::waitingLines() const
{
    return waiting_.size() - (restart_ ? 1 : 0);
}

QString DirectLogDataFile::saveWaiting(const QDateTime &when, QString *error)
{
    if (waiting_.isEmpty())
        return {};
    QString text = waiting_.join(QString());
    if (!restart_)
        text.prepend(header() + QStringLiteral("\r\n"));
    const QByteArray bytes = text.toLatin1();
    const QFileInfo info(path_);
    const QString name = QStringLiteral("%1 recovered %2.txt")
                             .arg(info.completeBaseName().isEmpty() ? info.fileName() : info.completeBaseName(),
                                  when.toString(QStringLiteral("yyyy-MM-dd hhmmss")));
    QStringList problems;
    for (const QString &folder : {info.absolutePath(), QDir::homePath(), QDir::tempPath()}) {
        QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path)) {
            problems << QStringLiteral("%1: a file of that name exists").arg(QDir::toNativeSeparators(path));
            continue;
        }
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
            waiting_.clear();
            restart_ = false;
            return path;
        }
        problems << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), file.errorString());
    }
    if (error)
        *error = problems.join(QStringLiteral("; "));
    return {};
}
