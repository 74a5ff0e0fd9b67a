#include "BenchDatabase.h"

#include "store/Database.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>

namespace {

// A Fann-style cycle of step speeds with rests and 3 rpm gel readings, so the derivations have work to do.
const double kSpeeds[] = {600, 300, 200, 100, 6, 3, 600, 0.000001, 3, 600, 0.000001, 3};

bool insertTest(QSqlQuery &info, QSqlQuery &point, int testId, const QString &name, int points)
{
    info.addBindValue(testId);
    info.addBindValue(name);
    if (!info.exec())
        return false;
    const int steps = std::max(1, std::min(98, points / 50));
    const int perStep = std::max(1, points / steps);
    for (int i = 0; i < points; ++i) {
        const int step = std::min(steps, i / perStep + 1);
        const double speed = kSpeeds[(step - 1) % (sizeof(kSpeeds) / sizeof(kSpeeds[0]))];
        const double time = (i - (step - 1) * perStep + 1) * 2.0;
        point.addBindValue(testId);
        point.addBindValue(step);
        point.addBindValue(time);
        point.addBindValue(120 + std::sin(i * 0.01) * 5);
        point.addBindValue(speed);
        point.addBindValue(speed * 0.5 + 20 + (i % 7));
        point.addBindValue(speed < 1 ? 15.0 : 0.0);
        point.addBindValue(1 + (testId % 6));
        if (!point.exec())
            return false;
    }
    return true;
}

} // namespace

bool BenchDatabase::ensure(const QString &path, int ordinaryTests, int ordinaryPoints,
                           const QList<BenchTestSpec> &special, QString *error)
{
    const QString done = path + QStringLiteral(".complete");
    if (QFile::exists(path) && QFile::exists(done))
        return true;
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));

    Database database;
    if (!database.open(path, error))
        return false;
    QSqlDatabase db = database.connection();
    QSqlQuery pragma(db);
    pragma.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    db.transaction();
    QSqlQuery info(db);
    info.prepare(QStringLiteral("INSERT INTO RelatedInfo VALUES (?, ?, 'N/A', '2024-01-01T00:00:00', 'Bench', '')"));
    QSqlQuery point(db);
    point.prepare(QStringLiteral("INSERT INTO TestResult VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));

    int id = 1;
    auto fail = [&](const QSqlQuery &q) {
        if (error)
            *error = q.lastError().text();
        db.rollback();
        return false;
    };
    for (int t = 0; t < ordinaryTests; ++t) {
        if (t == ordinaryTests / 2) {
            for (const BenchTestSpec &s : special) {
                if (!insertTest(info, point, id++, s.name, s.points))
                    return fail(point);
            }
        }
        if (!insertTest(info, point, id++, QStringLiteral("Bench test %1").arg(t + 1), ordinaryPoints))
            return fail(point);
    }
    if (ordinaryTests == 0) {
        for (const BenchTestSpec &s : special) {
            if (!insertTest(info, point, id++, s.name, s.points))
                return fail(point);
        }
    }
    if (!db.commit()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    pragma.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    pragma.exec(QStringLiteral("ANALYZE"));
    QFile marker(done);
    marker.open(QIODevice::WriteOnly);
    return true;
}
