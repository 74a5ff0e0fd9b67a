#include "tests/store/LibraryFixture.h"

#include "tests/support/PostgresServer.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

LibraryFixture::LibraryFixture(SqlDialect::Engine engine)
{
    QString error;
    location_ = engine == SqlDialect::Engine::Sqlite ? dir.file(Database::defaultFileName())
                                                     : PostgresServer::newTestDatabase();
    if (!location_.isEmpty() && !database.open(location_, &error))
        ADD_FAILURE() << error.toStdString();
    context.state = &state;
    context.prompts = &prompts;
    context.clock = &clock;
    context.database = &database;
    context.workDir = dir.path();
}

void LibraryFixture::addTest(int id, const QVariant &name, int points, const QString &mudId, const QVariant &sampleTime,
                             const QVariant &company, const QString &desc)
{
    QSqlDatabase c = db();
    c.transaction();
    QSqlQuery q(c);
    q.prepare("INSERT INTO RelatedInfo VALUES (?, ?, ?, ?, ?, ?)");
    for (const QVariant &v : {QVariant(id), name, QVariant(mudId), sampleTime, company, QVariant(desc)})
        q.addBindValue(v);
    if (!q.exec())
        ADD_FAILURE() << q.lastError().text().toStdString();
    q.prepare("INSERT INTO TestResult VALUES (?, 1, ?, 100, 300, 150, 0, 1)");
    for (int i = 0; i < points; ++i) {
        q.addBindValue(id);
        q.addBindValue(i * 10);
        if (!q.exec())
            ADD_FAILURE() << q.lastError().text().toStdString();
    }
    c.commit();
}

int LibraryFixture::count(const QString &sql) const
{
    return value(sql).toInt();
}

QVariant LibraryFixture::value(const QString &sql) const
{
    QSqlQuery q(db());
    if (!q.exec(sql) || !q.next()) {
        ADD_FAILURE() << "query failed: " << sql.toStdString();
        return {};
    }
    return q.value(0);
}
