#include "store/StoreError.h"

#include <optional>

namespace StoreError {

namespace {

// A server's SQLSTATE: two characters of class, three of condition.
std::optional<Kind> serverKind(const QString &state)
{
    if (state.size() != 5)
        return std::nullopt;
    static const struct {
        const char *prefix;
        Kind kind;
    } table[] = {
        {"08", Kind::Lost},   {"57P", Kind::Lost},      {"53", Kind::Full},       {"42501", Kind::Denied},
        {"28", Kind::Denied}, {"25006", Kind::Denied},  {"55P03", Kind::Busy},    {"40", Kind::Busy},
        {"58", Kind::Io},     {"XX001", Kind::Damaged}, {"XX002", Kind::Damaged},
    };
    for (const auto &row : table) {
        if (state.startsWith(QLatin1String(row.prefix)))
            return row.kind;
    }
    return Kind::Other;
}

} // namespace

Kind kindOf(const QSqlError &error)
{
    if (!error.isValid() || error.type() == QSqlError::NoError)
        return Kind::None;
    if (const std::optional<Kind> kind = serverKind(error.nativeErrorCode()))
        return *kind;
    // QSQLITE reports SQLite's result code; the low byte is the primary code.
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    if (numeric) {
        switch (code & 0xff) {
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            return Kind::Busy;
        case 13: // SQLITE_FULL
            return Kind::Full;
        case 10: // SQLITE_IOERR
        case 14: // SQLITE_CANTOPEN
            return Kind::Io;
        case 11: // SQLITE_CORRUPT
        case 26: // SQLITE_NOTADB
            return Kind::Damaged;
        case 8: // SQLITE_READONLY
            return Kind::ReadOnly;
        default: break;
        }
    }
    const QString text = error.text().toLower();
    // The server's client library gives no SQLSTATE when the connection itself broke.
    if (text.contains(QLatin1String("server closed the connection")) || text.contains(QLatin1String("no connection"))
        || text.contains(QLatin1String("connection to server")) || text.contains(QLatin1String("could not connect"))
        || text.contains(QLatin1String("terminating connection")))
        return Kind::Lost;
    if (text.contains(QLatin1String("locked")) || text.contains(QLatin1String("busy")))
        return Kind::Busy;
    if (text.contains(QLatin1String("full")))
        return Kind::Full;
    if (text.contains(QLatin1String("malformed")) || text.contains(QLatin1String("not a database")))
        return Kind::Damaged;
    return Kind::Other;
}

QString plainWords(Kind kind)
{
    switch (kind) {
    case Kind::None: return QStringLiteral("no error");
    case Kind::Busy: return QStringLiteral("the database is in use by another program");
    case Kind::Full: return QStringLiteral("the disk is full");
    case Kind::Io: return QStringLiteral("the disk could not be read or written");
    case Kind::Damaged: return QStringLiteral("the database file is damaged");
    case Kind::ReadOnly: return QStringLiteral("the database file cannot be written");
    case Kind::Denied: return QStringLiteral("the database server does not allow this user to make the change");
    case Kind::Lost: return QStringLiteral("the connection to the database server was lost");
    case Kind::Other: break;
    }
    return QStringLiteral("the database refused the change");
}

QString describe(const QSqlError &error)
{
    const QString engine = error.text().trimmed();
    const QString words = plainWords(kindOf(error));
    return engine.isEmpty() ? words : words + QStringLiteral(" (") + engine + QLatin1Char(')');
}

} // namespace StoreError
