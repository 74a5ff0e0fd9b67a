#pragma once
// A scratch database with stored tests, and the context the library dialogs are handed (state, scripted
// prompts, virtual clock). The database is a file in the scratch folder, or a new database on the test
// run's PostgreSQL server.
//
// EngineTest runs a test once on each engine: TEST_P(EngineTest-derived suite, ...) with the suite
// instantiated by K7_ON_BOTH_ENGINES(suite).
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "store/Database.h"
#include "store/SqlDialect.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualClock.h"

#include <QVariant>

#include <gtest/gtest.h>

class LibraryFixture {
public:
    explicit LibraryFixture(SqlDialect::Engine engine = SqlDialect::Engine::Sqlite);

    // Where the database is: the file's path or the server database's URI.
    QString location() const { return location_; }

    QSqlDatabase db() const { return database.connection(); }

    // A RelatedInfo row (sample time as stored text, null when invalid) with `points` TestResult rows.
    void addTest(int id, const QVariant &name, int points = 1, const QString &mudId = "mud",
                 const QVariant &sampleTime = "2024-01-05T10:00:00", const QVariant &company = "Acme",
                 const QString &desc = "");

    int count(const QString &sql) const;
    QVariant value(const QString &sql) const;

    TempDir dir;
    Database database;
    ProgramState state;
    ScriptedPrompts prompts;
    VirtualClock clock;
    AppContext context;

private:
    QString location_;
};

class EngineTest : public ::testing::TestWithParam<SqlDialect::Engine> {
public:
    static std::string name(const ::testing::TestParamInfo<SqlDialect::Engine> &info)
    {
        return info.param == SqlDialect::Engine::Sqlite ? "Sqlite" : "Postgres";
    }
};

#define K7_ON_BOTH_ENGINES(suite)                                                                                      \
    INSTANTIATE_TEST_SUITE_P(, suite, ::testing::Values(SqlDialect::Engine::Sqlite, SqlDialect::Engine::Postgres),     \
                             EngineTest::name)
