#include "store/StoreError.h"

namespace StoreError {

Kind kindOf(const QSqlError &error)
{
    if (!error.isValid() || error.type() == QSqlError::NoError)
        return Kind::None;
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
