#include "app/CommandLineCopy.h"

#include "store/Database.h"
#include "store/DatabaseCopy.h"
#include "store/DatabaseLocation.h"

#include <QFileInfo>
#include <QTextStream>

namespace CommandLineCopy {

namespace {

QString counted(qint64 n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

// Opens one side; an empty string when it is open, else the reason.
QString open(Database &database, const QString &location, bool mustExist)
{
    if (!DatabaseLocation::isServer(location)) {
        const QFileInfo info(location);
        if (mustExist && !info.exists())
            return QStringLiteral("no database at %1").arg(DatabaseLocation::display(location));
        if (info.exists() && !info.isFile())
            return QStringLiteral("%1 is not a database file").arg(DatabaseLocation::display(location));
    }
    QString error;
    if (!database.open(location, &error))
        return QStringLiteral("the database %1 could not be opened: %2")
            .arg(DatabaseLocation::display(location), error.simplified());
    return {};
}

} // namespace

int run(const CommandLine::Request &request, const QString &workDir, QTextStream &out, QTextStream &err)
{
    const QString from = DatabaseLocation::resolve(request.copyFrom, workDir);
    const QString to = DatabaseLocation::resolve(request.copyTo, workDir);
    auto fail = [&](const QString &message) {
        out.flush();
        err << QStringLiteral("k7100daq: ") << message << QLatin1Char('\n');
        return int(CommandLine::Failure);
    };
    if (from == to
        || (!DatabaseLocation::isServer(from) && QFileInfo(to).exists()
            && QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath()))
        return fail(QStringLiteral("--from and --to name the same database"));

    Database source;
    if (const QString problem = open(source, from, true); !problem.isEmpty())
        return fail(problem);
    Database target;
    if (request.dryRun && !DatabaseLocation::isServer(to) && !QFileInfo::exists(to)) {
        // Nothing is made for a dry run: a new file would receive everything.
        if (const QString problem = open(target, QStringLiteral(":memory:"), false); !problem.isEmpty())
            return fail(problem);
    } else if (const QString problem = open(target, to, false); !problem.isEmpty()) {
        return fail(problem);
    }

    DatabaseCopy::Plan plan;
    QString error;
    const bool ok = request.dryRun ? DatabaseCopy::plan(source.connection(), target.connection(), &plan, &error)
                                   : DatabaseCopy::copy(source.connection(), target.connection(), &plan, &error);
    if (!plan.clashes.isEmpty())
        return fail(
            QStringLiteral("nothing was copied: %1 already in %2: %3")
                .arg(plan.clashes.size() == 1 ? QStringLiteral("this name is") : QStringLiteral("these names are"),
                     DatabaseLocation::display(to), plan.clashes.join(QStringLiteral(", "))));
    if (!ok)
        return fail(QStringLiteral("nothing was copied: ") + error);

    out << (request.dryRun ? QStringLiteral("Would copy") : QStringLiteral("Copied"))
        << QStringLiteral(" %1 with %2, and %3 from %4 to %5\n")
               .arg(counted(plan.tests(), "test", "tests"), counted(plan.readings(), "reading", "readings"),
                    counted(plan.sequences(), "sequence", "sequences"), DatabaseLocation::display(from),
                    DatabaseLocation::display(to));
    for (const DatabaseCopy::Item &item : plan.items)
        out << DatabaseCopy::describe(item) << QLatin1Char('\n');
    for (const QString &note : plan.notes)
        out << QStringLiteral("note: ") << note << QLatin1Char('\n');
    return CommandLine::Success;
}

QString helpText()
{
    return QStringLiteral(
        "Usage: k7100daq copy --from DB --to DB [--dry-run]\n\n"
        "Copies every test (with its readings) and every sequence from one database to another: files\n"
        "(K7100.db) and PostgreSQL servers (postgresql://user@host:port/name) in either direction. Names are\n"
        "kept; a test or sequence gets a new id when its id is taken in the target. When a name already\n"
        "exists in the target, nothing is copied and the names are listed. A target file that does not\n"
        "exist is made.\n\nOptions:\n"
        "  --from DB         the database to copy from (it must exist)\n"
        "  --to DB           the database to copy into\n"
        "  --dry-run         list what would be copied, and change nothing\n"
        "  --help            this help\n");
}

} // namespace CommandLineCopy
