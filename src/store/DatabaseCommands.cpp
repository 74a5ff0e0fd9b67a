#include "store/DatabaseCommands.h"

#include "common/AppContext.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "store/Database.h"
#include "store/DatabaseMaintenance.h"
#include "store/RecoveredTests.h"

#include <QDir>
#include <QFileInfo>

namespace DatabaseCommands {

void importRecoveredTest(AppContext &context)
{
    const QString title = QStringLiteral("Import Recovered Test");
    Database &database = *context.database;
    const QString path = context.prompts->openFileName(title, RecoveryFile::foldersFor(database.path()).first(),
                                                       RecoveryFile::fileFilter());
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<RecoveredTest> test = RecoveryFile::read(path, &error);
    if (!test) {
        context.prompts->message(
            QStringLiteral("The file\n%1\ncannot be imported: %2.").arg(QDir::toNativeSeparators(path), error), title,
            MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const RecoveredTests::Outcome outcome = RecoveredTests::restore(database.connection(), *test);
    if (outcome.ok())
        database.checkpoint();
    context.prompts->message(RecoveredTests::importedText(outcome), title, MsgButtons::Ok,
                             outcome.ok() ? MsgIcon::Information : MsgIcon::Critical);
}

void checkDatabase(AppContext &context)
{
    const DatabaseMaintenance::CheckResult result = DatabaseMaintenance::check(context.database->connection());
    context.prompts->message(DatabaseMaintenance::checkText(result, context.database->path()),
                             QStringLiteral("Check Database"), MsgButtons::Ok,
                             result.ok ? MsgIcon::Information : MsgIcon::Critical);
}

void backUpDatabase(AppContext &context)
{
    const QString title = QStringLiteral("Back Up Database");
    Database &database = *context.database;
    if (database.isServer()) {
        const DatabaseMaintenance::BackupResult result =
            DatabaseMaintenance::backUp(database.connection(), database.path(), {});
        context.prompts->message(QStringLiteral("The database is on a server: %1.").arg(result.error), title,
                                 MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    const QString target = context.prompts->saveFileName(
        title, DatabaseMaintenance::proposedBackupPath(database.path(), context.clock->currentDateTime()),
        QStringLiteral("Databases (*.db);;All files (*)"));
    if (target.isEmpty())
        return;
    const DatabaseMaintenance::BackupResult result =
        DatabaseMaintenance::backUp(database.connection(), database.path(), target);
    context.prompts->message(DatabaseMaintenance::backupText(result, target), title, MsgButtons::Ok,
                             result.ok ? MsgIcon::Information : MsgIcon::Critical);
}

} // namespace DatabaseCommands
