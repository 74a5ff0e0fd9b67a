#include "common/SettingsFile.h"

#include "common/ProgramState.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

// The first number on the line, ignoring blanks; nullopt-like false when there is none.
bool firstNumber(const QString &line, double &out)
{
    static const QRegularExpression number(QStringLiteral(R"(^\s*([-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?))"));
    const auto m = number.match(line);
    if (!m.hasMatch())
        return false;
    bool ok = false;
    out = m.captured(1).toDouble(&ok);
    return ok;
}

QStringList readLines(const QString &path, bool &exists)
{
    QFile file(path);
    exists = file.open(QIODevice::ReadOnly);
    if (!exists)
        return {};
    QString text = QString::fromLatin1(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool writeLines(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString &l : lines)
        bytes += l.toLatin1() + "\r\n";
    file.write(bytes);
    return file.commit();
}

} // namespace

QString SettingsFile::printForm(double value)
{
    QString digits = QString::number(value, 'g', 15);
    if (digits.startsWith(QStringLiteral("0.")))
        digits.remove(0, 1); // classic form drops the leading zero: " .5 "
    else if (digits.startsWith(QStringLiteral("-0.")))
        digits.remove(1, 1);
    return value >= 0 ? QLatin1Char(' ') + digits + QLatin1Char(' ') : digits + QLatin1Char(' ');
}

SettingsValues SettingsFile::read(const QString &path)
{
    SettingsValues v;
    bool exists = false;
    const QStringList lines = readLines(path, exists);
    double x = 0;
    if (!lines.isEmpty() && firstNumber(lines[0], x)) {
        ++v.linesRead;
        const int idx = static_cast<int>(x);
        v.portIndex = (idx >= 0 && idx <= 19) ? idx : 0;
    }
    if (lines.size() >= 2 && firstNumber(lines[1], x)) {
        ++v.linesRead;
        const int u = static_cast<int>(x);
        v.unitSystemRead = (u == 1 || u == 2) && x == u;
        v.unitSystem = v.unitSystemRead ? u : 1;
    }
    if (lines.size() >= 3 && firstNumber(lines[2], x)) {
        ++v.linesRead;
        if (isUsableScreenFactor(x))
            v.screenFactor = x;
        else
            v.refusedScreenFactor = x;
    }
    return v;
}

QString SettingsFile::screenFactorRefusedText(const QString &given, double kept)
{
    return QStringLiteral("The screen size factor %1 is outside the range %2 to %3 in which every window stays "
                          "usable (the factor scales each control twice). The factor %4 is used instead.")
        .arg(given, QString::number(MinScreenFactor), QString::number(MaxScreenFactor), QString::number(kept));
}

void SettingsFile::apply(const SettingsValues &values, ProgramState &state)
{
    state.CommPortNumber = values.portIndex + 1;
    state.UnitSystem = values.unitSystem;
    state.ScreenFactor = values.screenFactor;
}

bool SettingsFile::writeFromSetup(const QString &path, int portIndex, int unitSystem, double screenFactor)
{
    return writeLines(path, {printForm(portIndex), printForm(unitSystem), printForm(screenFactor)});
}

bool SettingsFile::resetScreen(const QString &path)
{
    bool exists = false;
    QStringList lines = readLines(path, exists);
    if (lines.isEmpty())
        lines << printForm(0);
    if (lines.size() < 2)
        lines << printForm(1);
    lines = lines.mid(0, 2);
    lines << printForm(1);
    return writeLines(path, lines);
}
