#pragma once
// The database entries of the main window's File menu: "Import Recovered Test...", "Check Database" and
// "Back Up Database...", placed after the entries that open and retrieve tests. The commands themselves
// are DatabaseCommands (store); this only puts them in the menu.
#include <QObject>

struct AppContext;
class QMainWindow;

class DatabaseMenu : public QObject {
    Q_OBJECT
public:
    DatabaseMenu(AppContext &context, QMainWindow &window);
};
