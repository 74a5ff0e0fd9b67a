#pragma once
// Where the program's database is: an SQLite file (a path, "K7100.db" by default) or a PostgreSQL server
// given as a connection URI, "postgresql://user@host:port/dbname?sslmode=require". The URI's query
// options (sslmode, sslrootcert, connect_timeout, ...) go to the server's client library as they are; a
// password, when there is none in the URI, comes from the client library's own conventions (PGPASSWORD,
// ~/.pgpass). The program never writes a password anywhere, and never shows one.
//
// The windows read the location from "database.txt" (one line) in the working directory; without that file
// they use K7100.db there.
#include <QString>
#include <optional>

namespace DatabaseLocation {

QString fileName(); // "database.txt"

// True for "postgresql://..." and "postgres://...".
bool isServer(const QString &location);

struct Server {
    QString host;  // "" = the client library's default (the local socket)
    int port = -1; // -1 = the default
    QString user;
    QString password; // only when written in the URI
    QString database;
    QString options; // "key=value;key=value": the URI's query options
};
// nullopt with *error for a URI that cannot be read.
std::optional<Server> parseServer(const QString &location, QString *error = nullptr);

// The location as it may be shown: a password in it replaced by "***".
QString display(const QString &location);

// The location the windows use: the first non-empty line of database.txt in workDir (a relative file path
// taken from workDir), else K7100.db in workDir. "" with *error for a database.txt that cannot be read.
QString forWindows(const QString &workDir, QString *error = nullptr);

// A location from the command line: a URI as it is, a file path taken from workDir; "" = K7100.db there.
QString resolve(const QString &given, const QString &workDir);

} // namespace DatabaseLocation
