#include "app/DatabaseMenu.h"

#include "store/DatabaseCommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

DatabaseMenu::DatabaseMenu(AppContext &context, QMainWindow &window) : QObject(&window)
{
    QMenu *file = window.menuBar()->findChild<QMenu *>(QStringLiteral("MenuFile"));
    if (!file)
        return;
    // Before the report entries (after Open and Retrieve); at the end when the menu is laid out otherwise.
    QAction *before = nullptr;
    const auto actions = file->actions();
    for (qsizetype i = 0; i < actions.size(); ++i) {
        if (actions[i]->objectName() == QLatin1String("menureport"))
            before = i > 0 && actions[i - 1]->isSeparator() ? actions[i - 1] : actions[i];
    }
    struct Entry {
        const char *name;
        const char *caption;
        void (*command)(AppContext &);
    };
    const Entry entries[] = {
        {"MenuFileImport", "&Import Recovered Test...", &DatabaseCommands::importRecoveredTest},
        {"MenuFileCheck", "&Check Database", &DatabaseCommands::checkDatabase},
        {"MenuFileBackup", "&Back Up Database...", &DatabaseCommands::backUpDatabase},
    };
    QList<QAction *> added;
    added << new QAction(&window);
    added.back()->setSeparator(true);
    for (const Entry &e : entries) {
        auto *a = new QAction(QString::fromUtf8(e.caption), &window);
        a->setObjectName(QString::fromLatin1(e.name));
        const auto command = e.command;
        connect(a, &QAction::triggered, this, [&context, command] { command(context); });
        added << a;
    }
    file->insertActions(before, added);
}
