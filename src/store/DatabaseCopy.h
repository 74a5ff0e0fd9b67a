#pragma once
// Copies every test (its RelatedInfo row and readings) and every sequence (name and steps) from one database
// to another, between files and servers in either direction. Names are kept; a test or sequence keeps its
// id when the other database has no such id, else it gets the next free one. A name that already exists on
// the other side (letter case ignored), or twice in the source, refuses the whole copy: nothing is written
// and the clashes are listed. The copy is one transaction on the target, under its write lock.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace DatabaseCopy {

struct Item {
    bool isTest = true;
    QString name;
    qint64 fromId = 0;
    qint64 toId = 0;
    qint64 rows = 0; // readings of a test, steps of a sequence
};

struct Plan {
    QList<Item> items;   // tests first, then sequences, each by id
    QStringList clashes; // "test \"Mud A\"", ...: nothing may be copied while there are any
    QStringList notes;   // what the copy changes on the way (a sample time that is no date-time)
    qint64 tests() const;
    qint64 readings() const;
    qint64 sequences() const;
};

// What a copy would do now; false with *error when either database cannot be read.
bool plan(const QSqlDatabase &from, const QSqlDatabase &to, Plan *out, QString *error);

// Plans again under the target's write lock and copies when there is no clash. False with *error (or
// with out->clashes filled) when nothing was copied.
bool copy(const QSqlDatabase &from, const QSqlDatabase &to, Plan *out, QString *error);

// "test \"Mud A\" (id 1 -> 3, 24 readings)"
QString describe(const Item &item);

} // namespace DatabaseCopy
