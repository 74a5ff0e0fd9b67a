#pragma once
// A connection of its own to the program's database file, with ticketed transactions: the caller that
// begins a transaction gets a ticket, and only that ticket commits or rolls it back. Nothing on the
// program's main path uses it; it exists for tools that need a batch of statements applied all or nothing.
#include <QSqlDatabase>
#include <QString>

#include <functional>

class clsConnection {
public:
    static QString failedMessage() { return QStringLiteral("Failed to open Database Connection!"); }

    // random: numbers in [0, 1) for the tickets; by default a generator seeded here from the system.
    explicit clsConnection(std::function<double()> random = {});
    ~clsConnection();
    clsConnection(const clsConnection &) = delete;
    clsConnection &operator=(const clsConnection &) = delete;

    // Opens the database file "K7100.db" of the current directory (or the given file). Returns "" when the
    // connection is open, otherwise "Failed to open Database Connection!". A missing file or one that is not
    // a database is refused and left as it was (no empty database is made next to the real one).
    QString OpenDB();
    QString OpenDB(const QString &path);

    // The connection itself, for statements (invalid until OpenDB succeeded).
    QSqlDatabase ADOConnection() const { return db_; }

    // Starts a transaction and returns its ticket (1 to 1,000,000); 0 when one is already open (which is
    // left alone) or the connection is not open.
    int BeginTrans();
    // Commit or roll back the open transaction when the ticket is its own: True. Otherwise False, and
    // nothing changes. A commit the database refuses also gives False and keeps the transaction open.
    bool CommitTrans(int ticket);
    bool RollBack(int ticket);
    bool InTransaction() const { return inTransaction_; }

private:
    void close();

    std::function<double()> random_;
    QSqlDatabase db_;
    QString connectionName_;
    bool inTransaction_ = false;
    int ticket_ = 0;
};
