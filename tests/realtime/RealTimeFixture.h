#pragma once
// A scratch database, shared state, scripted prompts, a virtual clock and fake ports wired into an
// AppContext the way start-up wires the real ones. Each port the code makes is kept in `port` (the latest).
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "common/RotorBobTable.h"
#include "platform/PortMap.h"
#include "store/Database.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualClock.h"

#include <QSqlQuery>
#include <QVariant>
#include <functional>
#include <memory>

struct SequenceStepSpec {
    double time = 600;
    double temperature = 100;
    double speed = 100;
    int recordRate = 10;
};

class RealTimeFixture {
public:
    TempDir dir;
    Database database;
    ProgramState state;
    ScriptedPrompts prompts;
    VirtualClock clock;
    PortMap ports;
    AppContext context;
    FakeSerialPort *port = nullptr;
    // Called for every port made (lets a test script the instrument before the code uses the port).
    std::function<void(FakeSerialPort &)> onNewPort;

    RealTimeFixture()
    {
        database.open(dir.file(Database::defaultFileName()));
        context.state = &state;
        context.prompts = &prompts;
        context.clock = &clock;
        context.database = &database;
        context.ports = &ports;
        context.workDir = dir.path();
        context.makePort = [this] {
            auto p = std::make_unique<FakeSerialPort>(&clock);
            port = p.get();
            if (onNewPort)
                onNewPort(*p);
            return p;
        };
        // A real-time run follows a download, so the setup screen has chosen a rotor-bob (R1-B1).
        RotorBobTable::select(0, state);
    }

    QSqlDatabase db() const { return database.connection(); }

    // Adds a sequence with the given steps (numbered from 1) and returns its id.
    int addSequence(const QString &name, const QList<SequenceStepSpec> &steps)
    {
        QSqlQuery q(db());
        q.exec(QStringLiteral("SELECT COALESCE(MAX(SequenceId), 0) + 1 FROM SequenceName"));
        q.next();
        const int id = q.value(0).toInt();
        q.prepare(QStringLiteral("INSERT INTO SequenceName VALUES (?, ?, 1)"));
        q.addBindValue(id);
        q.addBindValue(name);
        q.exec();
        int stepNo = 1;
        for (const SequenceStepSpec &s : steps) {
            q.prepare(QStringLiteral("INSERT INTO SequenceSetup VALUES (?, ?, ?, ?, ?, ?)"));
            for (const QVariant &v : {QVariant(id), QVariant(stepNo++), QVariant(s.time), QVariant(s.temperature),
                                      QVariant(s.speed), QVariant(s.recordRate)})
                q.addBindValue(v);
            q.exec();
        }
        return id;
    }

    // The RelatedInfo row the naming dialog stores for a test (a stand-in for the dialog calls this).
    void storeTestRow(qint64 id, const QString &name)
    {
        QSqlQuery q(db());
        q.prepare(QStringLiteral("INSERT INTO RelatedInfo (TestId, TestName, MudId) VALUES (?, ?, 'N/A') "
                                 "ON CONFLICT (TestId) DO UPDATE SET TestName = excluded.TestName, MudId = 'N/A'"));
        q.addBindValue(id);
        q.addBindValue(name);
        q.exec();
    }

    int count(const QString &sql) const
    {
        QSqlQuery q(db());
        q.exec(sql);
        return q.next() ? q.value(0).toInt() : -1;
    }
};
