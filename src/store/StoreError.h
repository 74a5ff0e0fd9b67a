#pragma once
// What a failed database statement means for the operator, in plain words, and which failures go away by
// themselves (another program holding the file for a while, a server that comes back) so that the work can
// be tried again. SQLite reports its result codes, a PostgreSQL server its five-character SQLSTATE.
#include <QSqlError>
#include <QString>

namespace StoreError {

enum class Kind {
    None,
    Busy,     // another program (or connection) holds the database for the moment
    Full,     // no room left on the disk (or the file reached its size limit)
    Io,       // the disk could not be read or written
    Damaged,  // the file is damaged or no database
    ReadOnly, // the file or its folder cannot be written
    Denied,   // the database server does not let this user make the change
    Lost,     // the database server cannot be reached (the connection is gone)
    Other
};

Kind kindOf(const QSqlError &error);

// "the database is in use by another program", "the disk is full", ... (no engine text).
QString plainWords(Kind kind);

// The plain words followed by the engine's own text in parentheses.
QString describe(const QSqlError &error);

} // namespace StoreError
