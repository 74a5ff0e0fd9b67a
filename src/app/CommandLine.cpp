#include "app/CommandLine.h"

#include "app/CommandLineCopy.h"

#include "common/ProgramInfo.h"
#include "common/ProgramState.h"
#include "common/SettingsFile.h"
#include "platform/WorkbookModel.h"
#include "platform/XlsxWriter.h"
#include "reports/ReportFiles.h"
#include "reports/ReportSource.h"
#include "results/RheologyTable.h"
#include "store/Database.h"
#include "store/DatabaseLocation.h"
#include "store/SampleTime.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

namespace {

const QString kProgram = QStringLiteral("k7100daq");

struct OutputOption {
    const char *option;
    CommandLine::Output kind;
};
const OutputOption kOutputs[] = {
    {"--detail", CommandLine::Output::Detail}, {"--brief", CommandLine::Output::Brief},
    {"--text", CommandLine::Output::Text},     {"--pdf", CommandLine::Output::Pdf},
    {"--csv", CommandLine::Output::Csv},
};

std::optional<CommandLine::Command> commandNamed(const QString &name)
{
    if (name == QLatin1String("list"))
        return CommandLine::Command::List;
    if (name == QLatin1String("export"))
        return CommandLine::Command::Export;
    if (name == QLatin1String("rheology"))
        return CommandLine::Command::Rheology;
    if (name == QLatin1String("copy"))
        return CommandLine::Command::Copy;
    return std::nullopt;
}

bool isHelpOption(const QString &a)
{
    return a == QLatin1String("--help") || a == QLatin1String("-h");
}

// A field of a tab-separated line: tabs and line breaks inside it become blanks.
QString field(QString text)
{
    for (QChar &c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

class CommandFailure {
public:
    explicit CommandFailure(QString message) : message_(std::move(message)) {}
    const QString &message() const { return message_; }

private:
    QString message_;
};

// Where a command opens its database: --database (a file path or a server's URI), else the database the
// windows use (database.txt, else K7100.db in the working directory). A database file that is not there is
// refused rather than created.
void openDatabase(const QString &location, const QString &workDir, Database &database)
{
    QString error;
    const QString path = location.isEmpty() ? DatabaseLocation::forWindows(workDir, &error)
                                            : DatabaseLocation::resolve(location, workDir);
    if (path.isEmpty())
        throw CommandFailure(error);
    if (DatabaseLocation::isServer(path)) {
        if (!database.open(path, &error))
            throw CommandFailure(QStringLiteral("the database %1 could not be opened: %2")
                                     .arg(DatabaseLocation::display(path), error.simplified()));
        return;
    }
    const QFileInfo info(path);
    if (!info.exists())
        throw CommandFailure(QStringLiteral("no database at %1").arg(QDir::toNativeSeparators(path)));
    if (!info.isFile())
        throw CommandFailure(QStringLiteral("%1 is not a database file").arg(QDir::toNativeSeparators(path)));
    if (!database.open(path, &error))
        throw CommandFailure(QStringLiteral("the database %1 could not be opened: %2")
                                 .arg(QDir::toNativeSeparators(path), error.simplified()));
}

int unitSystemOf(const CommandLine::Request &request, const QString &workDir)
{
    if (request.unitSystem)
        return *request.unitSystem;
    return SettingsFile::read(QDir(workDir).filePath(SettingsFile::fileName())).unitSystem == UnitsSI ? UnitsSI
                                                                                                      : UnitsEI;
}

ReportSource loadTest(const Database &database, const QString &name, int unitSystem)
{
    QString error;
    auto source = ReportSource::load(database.connection(), name, unitSystem, &error);
    if (!source)
        throw CommandFailure(error + QStringLiteral(" in ") + DatabaseLocation::display(database.path()));
    return std::move(*source);
}

void list(const Database &database, QTextStream &out)
{
    QSqlQuery q(database.connection());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT r.TestId, r.TestName, r.MudId, r.SampleTime, "
                               "(SELECT count(*) FROM TestResult t WHERE t.TestId = r.TestId) "
                               "FROM RelatedInfo r ORDER BY r.TestId")))
        throw CommandFailure(QStringLiteral("the tests could not be read: ") + q.lastError().text().simplified());
    QString text;
    while (q.next()) {
        text += QStringList{q.value(0).toString(), field(q.value(1).toString()), field(q.value(2).toString()),
                            field(SampleTime::displayStored(q.value(3))), q.value(4).toString()}
                    .join(QLatin1Char('\t'))
            + QLatin1Char('\n');
    }
    if (q.lastError().isValid())
        throw CommandFailure(QStringLiteral("the tests could not be read: ") + q.lastError().text().simplified());
    out << text;
}

QByteArray workbookBytes(const WorkbookModel &book)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.xlsx"));
    QString reason;
    if (!dir.isValid() || !XlsxWriter::write(book, path, &reason))
        throw CommandFailure(QStringLiteral("the workbook could not be made: ") + reason);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CommandFailure(QStringLiteral("the workbook could not be made: ") + file.errorString());
    return file.readAll();
}

QByteArray contentOf(CommandLine::Output kind, const ReportSource &source, const CommandLine::PdfWriter &pdf)
{
    switch (kind) {
    case CommandLine::Output::Detail: return workbookBytes(ReportFiles::detailWorkbook(source));
    case CommandLine::Output::Brief: return workbookBytes(ReportFiles::briefWorkbook(source));
    case CommandLine::Output::Text: return ReportFiles::textReport(source);
    case CommandLine::Output::Csv: return ReportFiles::csv(source);
    case CommandLine::Output::Pdf: {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QString reason = QStringLiteral("this build cannot draw PDF reports");
        if (!pdf || !pdf(source, buffer, &reason))
            throw CommandFailure(QStringLiteral("the PDF report could not be made: ") + reason);
        return buffer.data();
    }
    }
    return {};
}

void exportFiles(const CommandLine::Request &request, const ReportSource &source, const QString &workDir,
                 const CommandLine::PdfWriter &pdf)
{
    // Everything is made first; then every file is written beside its target; only when all are written
    // are they renamed into place.
    std::vector<std::pair<QString, QByteArray>> contents;
    for (const auto &[kind, path] : request.outputs)
        contents.emplace_back(QDir(workDir).absoluteFilePath(path), contentOf(kind, source, pdf));
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (const auto &[path, bytes] : contents) {
        auto file = std::make_unique<QSaveFile>(path);
        if (!file->open(QIODevice::WriteOnly) || file->write(bytes) != bytes.size())
            throw CommandFailure(
                QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), file->errorString()));
        files.push_back(std::move(file));
    }
    for (auto &file : files) {
        if (!file->commit())
            throw CommandFailure(QStringLiteral("%1 could not be written: %2")
                                     .arg(QDir::toNativeSeparators(file->fileName()), file->errorString()));
    }
}

} // namespace

bool CommandLine::isCommand(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return false;
    const QString &first = arguments.first();
    return commandNamed(first) || isHelpOption(first) || first == QLatin1String("help");
}

CommandLine::Parsed CommandLine::parse(const QStringList &arguments)
{
    Parsed parsed;
    auto usage = [&](const QString &message) {
        parsed.usageError = message;
        return parsed;
    };
    Request request;
    if (arguments.isEmpty())
        return usage(QStringLiteral("no command given"));
    const QString &first = arguments.first();
    if (isHelpOption(first) || first == QLatin1String("help")) {
        request.command = Command::Help;
        if (arguments.size() > 1) {
            if (!commandNamed(arguments.at(1)))
                return usage(QStringLiteral("no command named \"%1\"").arg(arguments.at(1)));
            request.helpTopic = arguments.at(1);
        }
        parsed.request = request;
        return parsed;
    }
    const auto command = commandNamed(first);
    if (!command)
        return usage(QStringLiteral("no command named \"%1\"").arg(first));
    request.command = *command;

    QStringList positional;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (optionsEnded || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            positional << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (isHelpOption(a)) {
            Request help;
            help.command = Command::Help;
            help.helpTopic = first;
            parsed.request = help;
            return parsed;
        }
        // "--option value" or "--option=value".
        QString name = a;
        std::optional<QString> inlineValue;
        if (const qsizetype eq = a.indexOf(QLatin1Char('=')); eq > 0) {
            name = a.left(eq);
            inlineValue = a.mid(eq + 1);
        }
        auto value = [&]() -> std::optional<QString> {
            if (inlineValue)
                return inlineValue->isEmpty() ? std::nullopt : inlineValue;
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments.at(++i);
        };
        auto flag = [&](bool allowed) { return allowed && !inlineValue; };

        if ((name == QLatin1String("--from") || name == QLatin1String("--to")) && request.command == Command::Copy) {
            const auto v = value();
            if (!v)
                return usage(QStringLiteral("%1 needs a file or an address").arg(name));
            (name == QLatin1String("--from") ? request.copyFrom : request.copyTo) = *v;
        } else if (name == QLatin1String("--dry-run") && flag(request.command == Command::Copy)) {
            request.dryRun = true;
        } else if (name == QLatin1String("--database") && request.command != Command::Copy) {
            const auto v = value();
            if (!v)
                return usage(QStringLiteral("--database needs a file or an address"));
            request.database = *v;
        } else if ((name == QLatin1String("--si") || name == QLatin1String("--ei"))
                   && flag(request.command != Command::List && request.command != Command::Copy)) {
            const int units = name == QLatin1String("--si") ? UnitsSI : UnitsEI;
            if (request.unitSystem && *request.unitSystem != units)
                return usage(QStringLiteral("--si and --ei exclude each other"));
            request.unitSystem = units;
        } else if (name == QLatin1String("--json") && flag(request.command == Command::Rheology)) {
            request.json = true;
        } else {
            std::optional<Output> output;
            for (const OutputOption &o : kOutputs)
                if (name == QLatin1String(o.option))
                    output = o.kind;
            if (!output || request.command != Command::Export)
                return usage(QStringLiteral("%1 does not take %2").arg(first, name));
            const auto v = value();
            if (!v)
                return usage(QStringLiteral("%1 needs a file").arg(name));
            for (const auto &[kind, path] : request.outputs)
                if (QFileInfo(path).absoluteFilePath() == QFileInfo(*v).absoluteFilePath())
                    return usage(QStringLiteral("the file %1 is given twice").arg(*v));
            request.outputs.emplace_back(*output, *v);
        }
    }

    if (request.command == Command::Copy) {
        if (!positional.isEmpty())
            return usage(QStringLiteral("copy takes no test name"));
        if (request.copyFrom.isEmpty() || request.copyTo.isEmpty())
            return usage(QStringLiteral("copy needs --from and --to"));
    } else if (request.command == Command::List) {
        if (!positional.isEmpty())
            return usage(QStringLiteral("list takes no test name"));
    } else {
        if (positional.isEmpty())
            return usage(QStringLiteral("%1 needs a test name").arg(first));
        if (positional.size() > 1)
            return usage(QStringLiteral("%1 takes one test name (put a name with blanks in quotes)").arg(first));
        request.testName = positional.first();
    }
    if (request.command == Command::Export && request.outputs.empty())
        return usage(QStringLiteral("export needs at least one file: --detail, --brief, --text, --pdf or --csv"));
    parsed.request = request;
    return parsed;
}

bool CommandLine::needsPdf(const Request &request)
{
    for (const auto &[kind, path] : request.outputs)
        if (kind == Output::Pdf)
            return true;
    return false;
}

int CommandLine::run(const Request &request, const QString &workDir, QTextStream &out, QTextStream &err,
                     const PdfWriter &pdf)
{
    if (request.command == Command::Help) {
        out << helpText(request.helpTopic);
        return Success;
    }
    if (request.command == Command::Copy)
        return CommandLineCopy::run(request, workDir, out, err);
    try {
        Database database;
        openDatabase(request.database, workDir, database);
        const int units = unitSystemOf(request, workDir);
        switch (request.command) {
        case Command::List: list(database, out); break;
        case Command::Rheology: {
            const ReportSource source = loadTest(database, request.testName, units);
            const QString name = source.info.testName.value_or(request.testName);
            if (request.json)
                out << QString::fromUtf8(
                    QJsonDocument(RheologyTable::json(name, source.models, source.si)).toJson(QJsonDocument::Indented));
            else
                out << RheologyTable::text(name, source.models, source.si);
            break;
        }
        case Command::Export: exportFiles(request, loadTest(database, request.testName, units), workDir, pdf); break;
        case Command::Help:
        case Command::Copy: break;
        }
    } catch (const CommandFailure &failure) {
        out.flush();
        err << kProgram << QStringLiteral(": ") << failure.message() << QLatin1Char('\n');
        return Failure;
    }
    return Success;
}

int CommandLine::main(const QStringList &arguments, const QString &workDir, QTextStream &out, QTextStream &err,
                      const PdfWriter &pdf)
{
    const Parsed parsed = parse(arguments);
    if (!parsed.request) {
        const QString topic =
            !arguments.isEmpty() && commandNamed(arguments.first()) ? QLatin1Char(' ') + arguments.first() : QString();
        err << kProgram << QStringLiteral(": ") << parsed.usageError << QStringLiteral(" (see ") << kProgram << topic
            << QStringLiteral(" --help)\n");
        return UsageError;
    }
    return run(*parsed.request, workDir, out, err, pdf);
}

QString CommandLine::helpText(const QString &topic)
{
    const QString common =
        QStringLiteral("  --database DB     the database to read: a file, or a PostgreSQL server's address\n"
                       "                    postgresql://user@host:port/name (default: the one database.txt in\n"
                       "                    the current directory names, else K7100.db there)\n"
                       "  --help            this help\n");
    const QString units = QStringLiteral(
        "  --si, --ei        metric (dyn/cm2, degC) or English (lb/100ft2, degF) units; default: the unit\n"
        "                    system of initial.txt in the current directory\n");
    if (topic == QLatin1String("list"))
        return QStringLiteral("Usage: k7100daq list [--database DB]\n\n"
                              "One line per stored test, tab-separated: id, name, fluid id, sample time and the\n"
                              "number of readings.\n\nOptions:\n")
            + common;
    if (topic == QLatin1String("export"))
        return QStringLiteral("Usage: k7100daq export <test name> FILE OPTIONS... [--si|--ei] [--database DB]\n\n"
                              "Writes report files of a stored test, the same files the windows write:\n"
                              "  --detail F.xlsx   the detailed workbook, with its \"Rheology\" sheet\n"
                              "  --brief F.xlsx    the brief workbook\n"
                              "  --text F.txt      the text report\n"
                              "  --pdf F.pdf       the one-page PDF lab report (A4 or Letter by the locale)\n"
                              "  --csv F.csv       every reading with the results grid's columns\n"
                              "Any number of them may be given. Nothing is written unless every file can be.\n\n"
                              "Options:\n")
            + units + common;
    if (topic == QLatin1String("copy"))
        return CommandLineCopy::helpText();
    if (topic == QLatin1String("rheology"))
        return QStringLiteral("Usage: k7100daq rheology <test name> [--json] [--si|--ei] [--database DB]\n\n"
                              "The rheology models of a stored test (Bingham plastic, gels, power law for pipe and\n"
                              "annulus, Herschel-Bulkley by API RP 13D and by least squares) with the flow-curve\n"
                              "readings they use, as aligned text or as JSON.\n\nOptions:\n"
                              "  --json            JSON instead of text\n")
            + units + common;
    return QStringLiteral("Usage: k7100daq [COMMAND [ARGUMENTS]]\n\n"
                          "Without a command the program's windows start (\"k7100daq /debug\" in debug mode,\n"
                          "\"k7100daq --simulate\" with the built-in K7100 simulator).\n\n"
                          "Commands:\n"
                          "  list                    the stored tests, one a line\n"
                          "  export <test name> ...  report files of a test (workbooks, text, PDF, CSV)\n"
                          "  rheology <test name>    the rheology models of a test\n"
                          "  copy --from DB --to DB  every test and sequence from one database to another\n\n"
                          "Options:\n"
                          "  --version         the program's version\n"
                          "  --help            this help; \"k7100daq <command> --help\" for a command's\n\n"
                          "Exit status: 0 success, 2 usage error, 1 any other failure (told in one line on\n"
                          "standard error).\n");
}
