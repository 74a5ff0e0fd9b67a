#pragma once
// The program's command line for automation, on the same executable as the windows:
//   k7100daq list
//   k7100daq export <test name> (--detail F.xlsx | --brief F.xlsx | --text F.txt | --pdf F.pdf | --csv F.csv)...
//   k7100daq rheology <test name> [--json]
//   k7100daq copy --from DB --to DB [--dry-run]
// each with --database FILE or URI, --si / --ei (default: the unit system of initial.txt) and --help. It needs no
// display and starts no window. Exit status 0 on success, 2 for a usage error, 1 for any other failure,
// which is told in one line on standard error. An export writes every file beside its target first and
// renames them only when all of them are complete, so a failure leaves no file (and no partial one).
//
// Widget-free: the PDF report is drawn by the window libraries and handed in as a function.
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QIODevice;
class QTextStream;
struct ReportSource;

class CommandLine {
public:
    enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };
    enum class Command { Help, List, Export, Rheology, Copy };
    enum class Output { Detail, Brief, Text, Pdf, Csv };

    struct Request {
        Command command = Command::Help;
        QString helpTopic; // for Help: "" (the program) or a command's name
        QString testName;
        QString database; // "" = K7100.db in the working directory
        std::optional<int> unitSystem;
        bool json = false;
        std::vector<std::pair<Output, QString>> outputs; // in the order given
        QString copyFrom, copyTo;                        // copy: the two databases
        bool dryRun = false;
    };
    struct Parsed {
        std::optional<Request> request;
        QString usageError; // set when request is not
    };

    // Draws the PDF lab report of a test into a device; false with a reason in *error.
    using PdfWriter = std::function<bool(const ReportSource &, QIODevice &, QString *error)>;

    // True when the arguments (after the program name) ask for a command-line command rather than the
    // windows: the first one is "list", "export", "rheology", "copy", "help", "--help" or "-h".
    static bool isCommand(const QStringList &arguments);
    static Parsed parse(const QStringList &arguments);
    // True when carrying out the request draws a PDF (and so needs a QApplication).
    static bool needsPdf(const Request &request);

    // Carries out a request with workDir as the working directory; normal output goes to out, the
    // failure line to err. Returns the exit status.
    static int run(const Request &request, const QString &workDir, QTextStream &out, QTextStream &err,
                   const PdfWriter &pdf);

    // Parses and runs; a usage error is told on err with a pointer to the help.
    static int main(const QStringList &arguments, const QString &workDir, QTextStream &out, QTextStream &err,
                    const PdfWriter &pdf);

    static QString helpText(const QString &topic);
};
