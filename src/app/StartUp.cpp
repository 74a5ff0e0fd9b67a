#include "app/StartUp.h"
#include "common/ProgramInfo.h"

#include "common/ProgramState.h"
#include "common/SettingsFile.h"
#include "platform/Prompts.h"
#include "store/Database.h"
#include "store/DatabaseLocation.h"

#include <QDir>

#include <cstdio>

QString StartUp::commandLineOf(const QStringList &argumentsAfterProgram)
{
    // QApplication removes these from argv already; stripping them again keeps the rule independent of
    // how the list was obtained (a test, another front end).
    static const QStringList withValue = {
        QStringLiteral("-platform"),        QStringLiteral("-platformpluginpath"),
        QStringLiteral("-platformtheme"),   QStringLiteral("-plugin"),
        QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowtitle"),
        QStringLiteral("-qwindowicon"),     QStringLiteral("-style"),
        QStringLiteral("-stylesheet"),      QStringLiteral("-display"),
        QStringLiteral("-geometry"),        QStringLiteral("-session"),
    };
    static const QStringList flags = {QStringLiteral("-reverse"), QStringLiteral("-nograb"), QStringLiteral("-dograb"),
                                      QStringLiteral("-sync")};
    QStringList kept;
    for (int i = 0; i < argumentsAfterProgram.size(); ++i) {
        const QString &a = argumentsAfterProgram.at(i);
        const QString option = a.startsWith(QStringLiteral("--")) ? a.mid(1) : a;
        if (withValue.contains(option)) {
            ++i; // its value goes with it
            continue;
        }
        if (flags.contains(option) || option.startsWith(QStringLiteral("-qmljsdebugger=")))
            continue;
        kept << a;
    }
    return kept.join(QLatin1Char(' '));
}

bool StartUp::isDebugCommandLine(const QString &commandLine)
{
    return commandLine.toLower() == QLatin1String("/debug");
}

bool StartUp::openDatabase(Database &database, const QString &workDir, QString *error, QString *location)
{
    const QString chosen = DatabaseLocation::forWindows(workDir, error);
    if (location)
        *location = chosen.isEmpty() ? QDir(workDir).filePath(DatabaseLocation::fileName()) : chosen;
    return !chosen.isEmpty() && database.open(chosen, error);
}

void StartUp::initialiseState(ProgramState &state, const QString &workDir, const QString &commandLine, Prompts *prompts)
{
    state = ProgramState();
    state.DebugMode = isDebugCommandLine(commandLine);
    const SettingsValues settings = SettingsFile::read(QDir(workDir).filePath(SettingsFile::fileName()));
    SettingsFile::apply(settings, state);
    if (settings.refusedScreenFactor && prompts)
        prompts->message(
            SettingsFile::screenFactorRefusedText(QString::number(*settings.refusedScreenFactor), state.ScreenFactor),
            ProgramInfo::name(), MsgButtons::Ok, MsgIcon::Exclamation);
    state.NewTestMode = true;
    state.SequenceSent = false;
    state.UnitsChanged = false;
}

QString StartUp::databaseFailureText(const QString &path, const QString &engineError)
{
    if (DatabaseLocation::isServer(path))
        return QStringLiteral("The database %1 could not be opened:\n%2\n\nThe program ends. Check that the server "
                              "is running and can be reached from this computer, and the address in %3.")
            .arg(DatabaseLocation::display(path), engineError.trimmed(), DatabaseLocation::fileName());
    return QStringLiteral("The database %1 could not be opened:\n%2\n\nThe program ends; the file was not changed.")
        .arg(QDir::toNativeSeparators(path), engineError);
}

void StartUp::reportDatabaseFailure(Prompts &prompts, const QString &path, const QString &engineError)
{
    const QString text = databaseFailureText(path, engineError);
    std::fprintf(stderr, "%s: %s\n", qPrintable(ProgramInfo::name()), qPrintable(text));
    prompts.message(text, ProgramInfo::name(), MsgButtons::Ok, MsgIcon::Critical);
}
