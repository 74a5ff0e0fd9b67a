#include "store/clsConnection.h"

#include "store/Database.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QUuid>

#include <memory>

clsConnection::clsConnection(std::function<double()> random) : random_(std::move(random))
{
    if (!random_) {
        auto generator = std::make_shared<QRandomGenerator>(QRandomGenerator::system()->generate());
        random_ = [generator] { return generator->generateDouble(); };
    }
}

clsConnection::~clsConnection()
{
    close();
}

void clsConnection::close()
{
    if (connectionName_.isEmpty())
        return;
    if (inTransaction_)
        db_.rollback();
    inTransaction_ = false;
    ticket_ = 0;
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
    connectionName_.clear();
}

QString clsConnection::OpenDB()
{
    return OpenDB(QDir::current().filePath(Database::defaultFileName()));
}

QString clsConnection::OpenDB(const QString &path)
{
    close();
    const QFileInfo info(path);
    if (!info.isFile())
        return failedMessage();

    connectionName_ = QStringLiteral("k7100-conn-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db_.setDatabaseName(path);
    // Wait up to 20 seconds for the program's own connection to finish writing.
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=20000"));
    if (!db_.open()) {
        close();
        return failedMessage();
    }
    // SQLite opens anything lazily; reading the catalogue is what proves the file is a database.
    QSqlQuery probe(db_);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        probe = QSqlQuery();
        close();
        return failedMessage();
    }
    return {};
}

int clsConnection::BeginTrans()
{
    if (inTransaction_ || !db_.isOpen())
        return 0;
    const int ticket = static_cast<int>(random_() * 1000000.0) + 1;
    if (!db_.transaction())
        return 0;
    ticket_ = ticket;
    inTransaction_ = true;
    return ticket;
}

bool clsConnection::CommitTrans(int ticket)
{
    if (!inTransaction_ || ticket != ticket_)
        return false;
    if (!db_.commit())
        return false;
    inTransaction_ = false;
    ticket_ = 0;
    return true;
}

bool clsConnection::RollBack(int ticket)
{
    if (!inTransaction_ || ticket != ticket_)
        return false;
    if (!db_.rollback())
        return false;
    inTransaction_ = false;
    ticket_ = 0;
    return true;
}
