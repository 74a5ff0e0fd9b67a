#pragma once
// A PostgreSQL server of the test run's own: Debian's server programs (/usr/lib/postgresql/<version>/bin),
// a data directory in a temporary folder, run as an unprivileged user when the tests run as root, listening
// on 127.0.0.1 only on a free port with its socket in the same folder, and stopped when the test program
// ends (a watcher stops it should the program die first). Each test takes a database of its own from it.
//
// shared() starts the one server of the test program on first use; a server that cannot be started (no
// PostgreSQL installed) fails the test that asked for it, with the reason.
#include <QString>
#include <QTemporaryDir>

#include <memory>

class PostgresServer {
public:
    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    // The server of this test program, started on first use; nullptr with *error when it cannot start.
    static PostgresServer *shared(QString *error);
    // Stops the shared server (the test mains call it after the tests).
    static void stopShared();

    // Where the server programs are: $K7100_POSTGRES_BIN, else the newest /usr/lib/postgresql/<v>/bin.
    static QString binDir(QString *error);

    // initdb and start; durable: with fsync and synchronous commits (for benchmarks), else without them.
    bool start(QString *error, bool durable = false);
    bool stop(QString *error = nullptr);
    // Starts the stopped server again on the same port and data.
    bool restart(QString *error = nullptr);
    bool isRunning() const { return running_; }

    int port() const { return port_; }
    QString user() const { return QStringLiteral("k7test"); }
    // postgresql://k7test@127.0.0.1:<port>/<database>?sslmode=disable
    QString uri(const QString &database) const;
    // A new empty database on the server; its connection URI, or "" with *error.
    QString createDatabase(QString *error = nullptr);
    // A new empty database on the shared server for the running test: its URI, or "" after failing the test
    // with the reason (no server could be started, ...).
    static QString newTestDatabase();

    // Runs statements on the given database as the server's superuser; false with *error.
    bool run(const QString &database, const QStringList &statements, QString *error = nullptr) const;

private:
    bool runAsOwner(const QStringList &command, QString *output) const;
    bool startServer(QString *error);

    std::unique_ptr<QTemporaryDir> dir_;
    QString bin_;
    QString owner_; // the unprivileged user the server runs as; "" when the tests are not root
    int port_ = 0;
    bool durable_ = false;
    bool running_ = false;
    int databases_ = 0;
};
