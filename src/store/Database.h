#pragma once
// The test and sequence database: one SQLite file in the working directory ("K7100.db").
// A missing file is created with the four tables (column order is part of the format: several writers
// address columns by position) and the indexes lab-sized databases need. A file that is not a usable
// database is refused before anything is written to it.
#include <QSqlDatabase>
#include <QString>

class Database {
public:
    static QString defaultFileName() { return QStringLiteral("K7100.db"); }

    Database() = default;
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens path, creating the file and its tables when it does not exist. On failure returns false,
    // leaves the file as it was and puts the engine's message in *error.
    bool open(const QString &path, QString *error = nullptr);
    void close();

    bool isOpen() const { return db_.isValid() && db_.isOpen(); }
    bool wasCreated() const { return created_; } // the file was new (the example sequence goes in)
    QString path() const { return path_; }
    QSqlDatabase connection() const { return db_; }

    // The CREATE statements, in table order (used by open() and by tests comparing the schema).
    static QStringList schemaStatements();

private:
    QSqlDatabase db_;
    QString connectionName_;
    QString path_;
    bool created_ = false;
};
