// Opening a stored test on a PostgreSQL server against the same test in an SQLite file: a 100,000-point
// test in a database that holds it alone, and in one holding 5,000,000 other readings (10,000 tests of 500
// points, the test's rows between them). The SQLite files are made once under K7100_BENCH_DIR (default
// /tmp/k7100-bench); the server is one of the benchmark's own on this machine (Debian's postgresql, with
// fsync on, as a lab server runs), made anew for each run.
#include "BenchDatabase.h"

#include "common/ProgramState.h"
#include "results/ResultGridModel.h"
#include "results/ResultQuery.h"
#include "store/Database.h"
#include "store/DatabaseCopy.h"
#include "tests/support/PostgresServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>

namespace {

const QString kLargeTest = QStringLiteral("Long run 100000");
const QString kMediumTest = QStringLiteral("Run 4000");

QString benchDir()
{
    QString dir = qEnvironmentVariable("K7100_BENCH_DIR", QStringLiteral("/tmp/k7100-bench"));
    QDir().mkpath(dir);
    return dir;
}

// Where each benchmark database is: a file path or a URI.
std::map<QString, QString> &locations()
{
    static std::map<QString, QString> all;
    return all;
}

bool fail(const QString &what, const QString &error)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(what), qPrintable(error));
    return false;
}

bool exec(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    return q.exec(sql) || fail(sql.left(80), q.lastError().text());
}

// `tests` ordinary tests of 500 readings from id `firstId` on, made by the server itself.
bool addOrdinaryTests(const QSqlDatabase &db, int firstId, int tests)
{
    const QString last = QString::number(firstId + tests - 1);
    const QString first = QString::number(firstId);
    return exec(db,
                QStringLiteral("INSERT INTO RelatedInfo SELECT t, 'Bench test ' || t, 'N/A', "
                               "'2024-01-01T00:00:00', 'Bench', '' FROM generate_series(%1, %2) t")
                    .arg(first, last))
        && exec(db,
                QStringLiteral("INSERT INTO TestResult (TestId, StepNo, Time, Temperature, Speed, Shearstress, "
                               "Gel, Rbfactor) SELECT t, 1 + i / 50, (i % 50 + 1) * 2.0, 120 + sin(i * 0.01) * 5, "
                               "600, 320 + i % 7, 0, 1 + t % 6 FROM generate_series(%1, %2) t, "
                               "generate_series(0, 499) i")
                    .arg(first, last));
}

// Copies the tests of an SQLite file in.
bool copyFrom(const QString &file, const QSqlDatabase &to)
{
    Database source;
    QString error;
    DatabaseCopy::Plan plan;
    if (!source.open(file, &error) || !DatabaseCopy::copy(source.connection(), to, &plan, &error))
        return fail(file, error + plan.clashes.join(QStringLiteral(", ")));
    return true;
}

// A server database: alone = the special tests only; else 5,000 ordinary tests, the special ones, 5,000 more.
bool makeServerDatabase(const QString &uri, bool alone, const QStringList &specialFiles)
{
    Database database;
    QString error;
    if (!database.open(uri, &error))
        return fail(uri, error);
    const QSqlDatabase db = database.connection();
    QElapsedTimer took;
    took.start();
    if (!alone && !addOrdinaryTests(db, 1, 5000))
        return false;
    for (const QString &file : specialFiles)
        if (!copyFrom(file, db))
            return false;
    if (!alone && !addOrdinaryTests(db, 20001, 5000))
        return false;
    if (!exec(db, QStringLiteral("ANALYZE")))
        return false;
    std::fprintf(stderr, "made %s in %.1f s\n", qPrintable(uri), took.elapsed() / 1000.0);
    return true;
}

void openTest(benchmark::State &st, const QString &database, const QString &test)
{
    Database db;
    QString error;
    if (!db.open(locations()[database], &error)) {
        st.SkipWithError(qPrintable(error));
        return;
    }
    ProgramState state;
    state.UnitSystem = UnitsEI;
    state.CurrentTestName = test;
    ResultQuery query(db.connection(), state);
    ResultGridModel grid;
    for (auto _ : st) {
        grid.SetGridHeader(UnitsEI);
        const int rows = grid.LoadResultGrid(query);
        for (int r = 0; r < std::min(rows, 40); ++r)
            for (int c = 0; c < ResultRow::Count; ++c)
                benchmark::DoNotOptimize(grid.data(grid.index(r, c)));
        benchmark::DoNotOptimize(grid.derived().pairCount);
        st.counters["rows"] = rows;
    }
}

} // namespace

BENCHMARK_CAPTURE(openTest, large_test_alone_sqlite, QStringLiteral("file-alone"), kLargeTest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openTest, large_test_alone_server, QStringLiteral("server-alone"), kLargeTest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openTest, large_test_in_lab_db_sqlite, QStringLiteral("file-lab"), kLargeTest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openTest, large_test_in_lab_db_server, QStringLiteral("server-lab"), kLargeTest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openTest, medium_test_in_lab_db_sqlite, QStringLiteral("file-lab"), kMediumTest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openTest, medium_test_in_lab_db_server, QStringLiteral("server-lab"), kMediumTest)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = benchDir();
    const QList<BenchTestSpec> special = {{0, kLargeTest, 100000}, {0, kMediumTest, 4000}};
    QString error;
    std::fprintf(stderr, "preparing databases in %s and on the server (this takes a while)\n", qPrintable(dir));
    const QString largeAlone = dir + QStringLiteral("/large-alone.db");
    const QString mediumAlone = dir + QStringLiteral("/medium-alone.db");
    if (!BenchDatabase::ensure(dir + QStringLiteral("/lab.db"), 10000, 500, special, &error)
        || !BenchDatabase::ensure(largeAlone, 0, 0, {special[0]}, &error)
        || !BenchDatabase::ensure(mediumAlone, 0, 0, {special[1]}, &error)) {
        std::fprintf(stderr, "cannot make the benchmark databases: %s\n", qPrintable(error));
        return 1;
    }
    locations()[QStringLiteral("file-alone")] = largeAlone;
    locations()[QStringLiteral("file-lab")] = dir + QStringLiteral("/lab.db");

    PostgresServer own;
    if (!own.start(&error, true)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    for (const char *name : {"bench_alone", "bench_lab"}) {
        if (!own.run(QStringLiteral("postgres"), {QStringLiteral("CREATE DATABASE %1").arg(QLatin1String(name))},
                     &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    locations()[QStringLiteral("server-alone")] = own.uri(QStringLiteral("bench_alone"));
    locations()[QStringLiteral("server-lab")] = own.uri(QStringLiteral("bench_lab"));
    if (!makeServerDatabase(locations()[QStringLiteral("server-alone")], true, {largeAlone})
        || !makeServerDatabase(locations()[QStringLiteral("server-lab")], false, {largeAlone, mediumAlone}))
        return 1;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
