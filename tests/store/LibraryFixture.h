#pragma once
// A scratch database with stored tests, and the context the library dialogs are handed (state, scripted
// prompts, virtual clock).
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "store/Database.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualClock.h"

#include <QVariant>

class LibraryFixture {
public:
    LibraryFixture();

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
};
