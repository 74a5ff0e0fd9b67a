#include "store/RecoveryFile.h"

#include "store/DatabaseLocation.h"
#include "store/SampleTime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace RecoveryFile {

namespace {

const char *const kMagic = "K7100DAQ recovered test";
const int kVersion = 1;
const QStringList kPointColumns = {
    QStringLiteral("StepNo"),      QStringLiteral("Time"), QStringLiteral("Temperature"), QStringLiteral("Speed"),
    QStringLiteral("Shearstress"), QStringLiteral("Gel"),  QStringLiteral("Rbfactor")};

QString quoted(const QString &field)
{
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) && !field.contains(QLatin1Char('\n'))
        && !field.contains(QLatin1Char('\r')))
        return field;
    QString s = field;
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString line(const QStringList &fields)
{
    QStringList out;
    for (const QString &f : fields)
        out << quoted(f);
    return out.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QString number(double v)
{
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

// Splits comma-separated text into records of fields; quoted fields may hold commas, quotes and line
// breaks. False when a quote is left open.
bool parseRecords(const QString &text, QList<QStringList> *records)
{
    QStringList record;
    QString field;
    bool inQuotes = false;
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            inQuotes = true;
            any = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
            any = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            if (any || !field.isEmpty()) {
                record << field;
                records->append(record);
            }
            record.clear();
            field.clear();
            any = false;
        } else {
            field += c;
            any = true;
        }
    }
    if (inQuotes)
        return false;
    if (any || !field.isEmpty()) {
        record << field;
        records->append(record);
    }
    return true;
}

bool toNumber(const QString &text, double *out)
{
    bool ok = false;
    *out = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

} // namespace

QString fileFilter()
{
    return QStringLiteral("Recovered tests (*.csv);;All files (*)");
}

QByteArray encode(const RecoveredTest &test)
{
    const RelatedInfoRecord &r = test.info;
    QString text;
    text += line({QString::fromLatin1(kMagic), QString::number(kVersion)});
    text += line({QStringLiteral("TestName"), r.testName});
    text += line({QStringLiteral("TestId"), QString::number(r.testId)});
    text += line({QStringLiteral("MudId"), r.mudId});
    text +=
        line({QStringLiteral("SampleTime"), r.sampleTime.isValid() ? SampleTime::toStored(r.sampleTime) : QString()});
    text += line({QStringLiteral("CompanyName"), r.companyName});
    text += line({QStringLiteral("Desc"), r.desc});
    text += line({QStringLiteral("Reason"), test.reason});
    text += line(kPointColumns);
    for (const TestPoint &p : test.points)
        text += line({QString::number(p.stepNo), number(p.time), number(p.temperature), number(p.speed),
                      number(p.shearStress), number(p.gel), number(p.rbFactor)});
    return text.toUtf8();
}

std::optional<RecoveredTest> decode(const QByteArray &bytes, QString *error)
{
    auto fail = [error](const QString &why) -> std::optional<RecoveredTest> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QList<QStringList> records;
    if (!parseRecords(QString::fromUtf8(bytes), &records))
        return fail(QStringLiteral("the file ends inside a quoted text"));
    if (records.isEmpty() || records.front().value(0) != QLatin1String(kMagic))
        return fail(QStringLiteral("it is not a recovery file of this program"));
    if (records.front().value(1).toInt() != kVersion)
        return fail(QStringLiteral("it was written by another version of the program"));

    RecoveredTest test;
    qsizetype i = 1;
    bool columns = false;
    for (; i < records.size(); ++i) {
        const QStringList &rec = records.at(i);
        const QString key = rec.value(0);
        const QString value = rec.value(1);
        if (key == QLatin1String("StepNo")) {
            if (rec != kPointColumns)
                return fail(QStringLiteral("its column line is damaged"));
            ++i;
            columns = true;
            break;
        }
        if (key == QLatin1String("TestName"))
            test.info.testName = value;
        else if (key == QLatin1String("TestId"))
            test.info.testId = value.toInt();
        else if (key == QLatin1String("MudId"))
            test.info.mudId = value;
        else if (key == QLatin1String("SampleTime"))
            test.info.sampleTime = SampleTime::fromStored(value).value_or(QDateTime());
        else if (key == QLatin1String("CompanyName"))
            test.info.companyName = value;
        else if (key == QLatin1String("Desc"))
            test.info.desc = value;
        else if (key == QLatin1String("Reason"))
            test.reason = value;
    }
    if (!columns)
        return fail(QStringLiteral("it has no data points"));
    if (test.info.testName.trimmed().isEmpty())
        return fail(QStringLiteral("it names no test"));
    for (; i < records.size(); ++i) {
        const QStringList &rec = records.at(i);
        double v[7] = {};
        bool ok = rec.size() == 7;
        for (int c = 0; ok && c < 7; ++c)
            ok = toNumber(rec.at(c), &v[c]);
        if (!ok)
            return fail(QStringLiteral("data line %1 is damaged").arg(i + 1));
        TestPoint p;
        p.stepNo = qint64(v[0]);
        p.time = v[1];
        p.temperature = v[2];
        p.speed = v[3];
        p.shearStress = v[4];
        p.gel = v[5];
        p.rbFactor = v[6];
        test.points << p;
    }
    return test;
}

QString fileNameFor(const QString &testName, const QDateTime &when)
{
    QString name = testName.trimmed();
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (QChar &c : name) {
        if (forbidden.contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    }
    if (name.isEmpty())
        name = QStringLiteral("test");
    return QStringLiteral("K7100 recovered - %1 - %2.csv")
        .arg(name.left(80), when.toString(QStringLiteral("yyyy-MM-dd hhmmss")));
}

QString write(const RecoveredTest &test, const QStringList &folders, const QDateTime &when, QString *error)
{
    const QByteArray bytes = encode(test);
    QStringList problems;
    for (const QString &folder : folders) {
        if (folder.isEmpty())
            continue;
        QDir dir(folder);
        QString path = dir.filePath(fileNameFor(test.info.testName, when));
        for (int n = 2; QFileInfo::exists(path); ++n)
            path = dir.filePath(fileNameFor(test.info.testName, when)
                                    .replace(QStringLiteral(".csv"), QStringLiteral(" (%1).csv").arg(n)));
        // Written whole or not at all: a half-written file would be mistaken for the test.
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
            return path;
        problems << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), file.errorString());
    }
    if (error)
        *error = problems.join(QStringLiteral("; "));
    return {};
}

std::optional<RecoveredTest> read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return decode(file.readAll(), error);
}

QStringList foldersFor(const QString &databasePath)
{
    // A database on a server has no folder of its own here: the working directory stands in for it.
    const QString first =
        DatabaseLocation::isServer(databasePath) ? QDir::currentPath() : QFileInfo(databasePath).absolutePath();
    return {first, QDir::homePath(), QDir::tempPath()};
}

} // namespace RecoveryFile
