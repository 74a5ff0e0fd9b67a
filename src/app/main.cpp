#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMessageBox>

#include "store/Database.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Database database;
    QString error;
    if (!database.open(QDir::current().filePath(Database::defaultFileName()), &error)) {
        QMessageBox::critical(nullptr, QStringLiteral("K7100DAQ"), error);
        return 1;
    }
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("K7100DAQ  version 2.0.0.12"));
    w.show();
    return app.exec();
}
