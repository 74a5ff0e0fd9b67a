#pragma once
// What an existing database file must hold before the program touches it: the four tables with the
// columns the program reads and writes (names compared without regard to case). Reads only.
#include <QSqlDatabase>
#include <QStringList>

namespace SchemaCheck {

struct Table {
    QString name;
    QStringList columns;
};

// The tables and columns the program needs.
QList<Table> required();

// What the file lacks, one entry a table or column: "table SequenceName", "column Gel of table TestResult".
// Empty when the file has all of it.
QStringList missing(const QSqlDatabase &db);

// True when the file holds no table at all (a database just created by another tool): it is set up like
// a new file.
bool isEmpty(const QSqlDatabase &db);

} // namespace SchemaCheck
