#pragma once
// A scratch directory (also the working directory) with a fresh database, and short ways to make
// sequences and read their steps back. The database is a file there, or (engine() overridden) a new
// database on the test run's PostgreSQL server.
#include "sequence/SequenceLibrary.h"
#include "store/Database.h"
#include "store/SqlDialect.h"
#include "tests/support/PostgresServer.h"
#include "tests/support/TempDir.h"

#include <QList>
#include <gtest/gtest.h>

template <class Base> class SequenceDbFixtureOn : public Base {
protected:
    virtual SqlDialect::Engine engine() const { return SqlDialect::Engine::Sqlite; }

    void SetUp() override
    {
        const QString location = engine() == SqlDialect::Engine::Sqlite ? dir.file(Database::defaultFileName())
                                                                        : PostgresServer::newTestDatabase();
        ASSERT_FALSE(location.isEmpty());
        QString error;
        ASSERT_TRUE(db.open(location, &error)) << error.toStdString();
    }

    SequenceLibrary library() { return SequenceLibrary(db.connection()); }

    // A sequence of n steps: step k lasts k*10 s at 100 + k °F and 10*k rpm, recorded every 10 s.
    int sequenceWithSteps(const QString &name, int n)
    {
        QList<SequenceStep> steps;
        for (int k = 1; k <= n; ++k)
            steps << SequenceStep{k, k * 10.0, 100.0 + k, 10.0 * k, 10};
        return library().create(name, 1, steps);
    }

    QList<int> stepNumbers(int id)
    {
        QList<int> out;
        for (const SequenceStep &s : library().steps(id))
            out << s.stepNo;
        return out;
    }

    // The step times in step order: with sequenceWithSteps they tell which original step sits where.
    QList<double> times(int id)
    {
        QList<double> out;
        for (const SequenceStep &s : library().steps(id))
            out << s.time;
        return out;
    }

    TempDir dir;
    Database db;
};

using SequenceDbFixture = SequenceDbFixtureOn<::testing::Test>;

// The same tests on a database file and on a server.
class SequenceDbOnEngine : public SequenceDbFixtureOn<::testing::TestWithParam<SqlDialect::Engine>> {
protected:
    SqlDialect::Engine engine() const override { return GetParam(); }

public:
    static std::string name(const ::testing::TestParamInfo<SqlDialect::Engine> &info)
    {
        return info.param == SqlDialect::Engine::Sqlite ? "Sqlite" : "Postgres";
    }
};
