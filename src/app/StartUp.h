#pragma once
// What happens before the main window exists: the database is opened, the command line and the settings
// file are read and the program-wide state gets its starting values. Widget-free, so tests run it in a
// scratch directory.
#include <QString>
#include <QStringList>

struct ProgramState;
class Database;
class Prompts;

class StartUp {
public:
    // The command line as the program sees it: the arguments after the program name joined by blanks,
    // without the options the Qt runtime consumes itself (-platform vnc, -style fusion, ...).
    static QString commandLineOf(const QStringList &argumentsAfterProgram);

    // Debug mode is on only when the whole command line, lower-cased, is "/debug".
    static bool isDebugCommandLine(const QString &commandLine);

    // Opens the database database.txt in workDir names (a file or a server's URI), else "K7100.db" in
    // workDir (created with its tables when missing). On failure returns false with the engine's message
    // in *error; the file is left as it was. *location: the database it tried.
    static bool openDatabase(Database &database, const QString &workDir, QString *error, QString *location = nullptr);

    // Sets the starting values: DebugMode from the command line, port / units / screen factor from
    // "initial.txt" in workDir (port 1, EI and factor 1.0 for what is missing or unreadable),
    // NewTestMode True, SequenceSent False, UnitsChanged False; the rest as a new state has them. A screen
    // factor outside the usable range is told through prompts (when given) and 1.0 is used.
    static void initialiseState(ProgramState &state, const QString &workDir, const QString &commandLine,
                                Prompts *prompts = nullptr);

    // The message shown when the database (a file or a server's URI) cannot be opened, before the program
    // ends.
    static QString databaseFailureText(const QString &path, const QString &engineError);
    static void reportDatabaseFailure(Prompts &prompts, const QString &path, const QString &engineError);
};
