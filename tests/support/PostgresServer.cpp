#include "tests/support/PostgresServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace {

const QString kUnprivileged = QStringLiteral("nobody");

// A port nobody listens on just now: the kernel's choice for a socket bound to port 0.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

std::unique_ptr<PostgresServer> &sharedServer()
{
    static std::unique_ptr<PostgresServer> server;
    return server;
}

} // namespace

PostgresServer::PostgresServer() = default;

PostgresServer::~PostgresServer()
{
    stop();
}

PostgresServer *PostgresServer::shared(QString *error)
{
    static QString startError;
    std::unique_ptr<PostgresServer> &server = sharedServer();
    if (!server && startError.isEmpty()) {
        auto started = std::make_unique<PostgresServer>();
        if (started->start(&startError))
            server = std::move(started);
    }
    if (!server && error)
        *error = startError;
    return server.get();
}

void PostgresServer::stopShared()
{
    sharedServer().reset();
}

QString PostgresServer::binDir(QString *error)
{
    const QString chosen = qEnvironmentVariable("K7100_POSTGRES_BIN");
    QStringList candidates;
    if (!chosen.isEmpty()) {
        candidates << chosen;
    } else {
        QDir versions(QStringLiteral("/usr/lib/postgresql"));
        QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
        for (const QString &v : found)
            candidates << versions.filePath(v + QStringLiteral("/bin"));
    }
    for (const QString &dir : candidates) {
        if (QFileInfo(dir + QStringLiteral("/initdb")).isExecutable()
            && QFileInfo(dir + QStringLiteral("/pg_ctl")).isExecutable()
            && QFileInfo(dir + QStringLiteral("/postgres")).isExecutable())
            return dir;
    }
    if (error)
        *error = QStringLiteral("No PostgreSQL server programs (initdb, pg_ctl, postgres) in %1: install Debian's "
                                "postgresql package (apt-get install postgresql) or set K7100_POSTGRES_BIN.")
                     .arg(chosen.isEmpty() ? QStringLiteral("/usr/lib/postgresql/<version>/bin") : chosen);
    return {};
}

bool PostgresServer::runAsOwner(const QStringList &command, QString *output) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(dir_->path());
    if (owner_.isEmpty())
        process.start(command.first(), command.mid(1));
    else
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), owner_, QStringLiteral("--")} + command);
    const bool finished = process.waitForFinished(60000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool PostgresServer::start(QString *error, bool durable)
{
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    stop();
    durable_ = durable;
    bin_ = binDir(error);
    if (bin_.isEmpty())
        return false;
    dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/k7100-postgres-XXXXXX"));
    if (!dir_->isValid())
        return fail(QStringLiteral("No temporary folder for the PostgreSQL server: ") + dir_->errorString());
    owner_.clear();
    if (::geteuid() == 0) {
        // The server refuses to run as root: the folder and the server belong to an unprivileged user.
        const passwd *user = ::getpwnam(kUnprivileged.toLocal8Bit().constData());
        if (!user)
            return fail(QStringLiteral("No user %1 to run the PostgreSQL server as").arg(kUnprivileged));
        if (::chown(QFile::encodeName(dir_->path()).constData(), user->pw_uid, user->pw_gid) != 0)
            return fail(QStringLiteral("The folder %1 could not be given to %2").arg(dir_->path(), kUnprivileged));
        owner_ = kUnprivileged;
    }
    QString output;
    if (!runAsOwner({bin_ + QStringLiteral("/initdb"), QStringLiteral("-D"), dir_->filePath(QStringLiteral("data")),
                     QStringLiteral("-U"), user(), QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
                     QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")},
                    &output))
        return fail(QStringLiteral("initdb failed: ") + output);

    // The watcher: should this program die without stopping the server, the server goes too.
    const QString script =
        QStringLiteral("while [ -d /proc/%1 ]; do sleep 1; done; '%2/pg_ctl' -D '%3' -m immediate stop; rm -rf '%4'")
            .arg(QCoreApplication::applicationPid())
            .arg(bin_, dir_->filePath(QStringLiteral("data")), dir_->path());
    QProcess watcher;
    watcher.setStandardInputFile(QProcess::nullDevice());
    watcher.setStandardOutputFile(QProcess::nullDevice());
    watcher.setStandardErrorFile(QProcess::nullDevice());
    if (owner_.isEmpty()) {
        watcher.setProgram(QStringLiteral("sh"));
        watcher.setArguments({QStringLiteral("-c"), script});
    } else {
        watcher.setProgram(QStringLiteral("runuser"));
        watcher.setArguments(
            {QStringLiteral("-u"), owner_, QStringLiteral("--"), QStringLiteral("sh"), QStringLiteral("-c"), script});
    }
    watcher.startDetached();

    for (int attempt = 0; attempt < 5; ++attempt) {
        port_ = freePort();
        if (startServer(error))
            return true;
    }
    return false;
}

bool PostgresServer::startServer(QString *error)
{
    QString options =
        QStringLiteral("-c listen_addresses=127.0.0.1 -p %1 -k %2 -c max_connections=50").arg(port_).arg(dir_->path());
    if (!durable_)
        options += QStringLiteral(" -c fsync=off -c synchronous_commit=off -c full_page_writes=off");
    QString output;
    if (!runAsOwner({bin_ + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), dir_->filePath(QStringLiteral("data")),
                     QStringLiteral("-l"), dir_->filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
                     QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("-o"), options,
                     QStringLiteral("start")},
                    &output)) {
        QFile log(dir_->filePath(QStringLiteral("server.log")));
        log.open(QIODevice::ReadOnly);
        if (error)
            *error = QStringLiteral("The PostgreSQL server did not start: %1\n%2")
                         .arg(output, QString::fromLocal8Bit(log.readAll().right(2000)));
        return false;
    }
    running_ = true;
    return true;
}

bool PostgresServer::stop(QString *error)
{
    if (!running_)
        return true;
    QString output;
    const bool stopped =
        runAsOwner({bin_ + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), dir_->filePath(QStringLiteral("data")),
                    QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")},
                   &output);
    if (!stopped && error)
        *error = QStringLiteral("The PostgreSQL server did not stop: ") + output;
    running_ = !stopped;
    return stopped;
}

bool PostgresServer::restart(QString *error)
{
    return running_ || startServer(error);
}

QString PostgresServer::uri(const QString &database) const
{
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3?sslmode=disable").arg(user()).arg(port_).arg(database);
}

bool PostgresServer::run(const QString &database, const QStringList &statements, QString *error) const
{
    const QString name = QStringLiteral("k7test-admin-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(port_);
        db.setUserName(user());
        db.setDatabaseName(database);
        if (!db.open()) {
            ok = false;
            if (error)
                *error = db.lastError().text();
        }
        QSqlQuery q(db);
        for (const QString &statement : statements) {
            if (!ok)
                break;
            if (!q.exec(statement)) {
                ok = false;
                if (error)
                    *error = statement + QStringLiteral(": ") + q.lastError().text();
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QString PostgresServer::newTestDatabase()
{
    QString error;
    PostgresServer *server = shared(&error);
    QString uri = server ? server->createDatabase(&error) : QString();
    if (uri.isEmpty())
        ADD_FAILURE() << "No PostgreSQL database for the test: " << error.toStdString();
    return uri;
}

QString PostgresServer::createDatabase(QString *error)
{
    const QString name = QStringLiteral("k7test_%1").arg(++databases_);
    if (!run(QStringLiteral("postgres"), {QStringLiteral("CREATE DATABASE %1").arg(name)}, error))
        return {};
    return uri(name);
}
