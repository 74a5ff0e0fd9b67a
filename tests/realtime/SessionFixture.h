#pragma once
// A real-time session on a database with the sequence "Demo" (step 1 records every 10 s, step 2 every
// 5 s), a fake instrument answering the start byte at once, a virtual clock, and helpers to name the test
// ("Run A", id 7, stored as the naming dialog stores it), run it, deliver messages tick by tick and read
// back the rows stored.
#include "platform/ChartModel.h"
#include "realtime/RealTimeSession.h"
#include "store/SqlDialect.h"
#include "tests/realtime/RealTimeFixture.h"
#include "tests/support/QStringPrinting.h"

#include <QSqlQuery>
#include <gtest/gtest.h>
#include <memory>

// One real-time data message: the fields separated by commas, then the byte 26.
inline QByteArray message(const QList<qint64> &fields)
{
    QByteArray m;
    for (qint64 f : fields)
        m += QByteArray::number(f) + ',';
    m.chop(1);
    return m + char(26);
}

// A reading of step 1 (record rate 10 s) at `second`, with the stress `stress`.
inline QByteArray stepOne(qint64 second, qint64 stress = 250)
{
    return message({1, second, 77, stress, 12, 30000, 1});
}

using Rows = QList<QList<double>>;

// The stored row of stepOne(second, stress).
inline QList<double> stepOneRow(double second, double stress = 250)
{
    return {1, second, 77, 300, stress, 12, 1};
}

// The stored rows of stepOne(second) for each second given.
inline Rows stepOneRows(const QList<int> &seconds)
{
    Rows out;
    for (int s : seconds)
        out << stepOneRow(s);
    return out;
}

class RealTimeSessionFixture : public ::testing::Test {
protected:
    RealTimeFixture fx;
    ChartModel chart;
    std::unique_ptr<RealTimeSession> session;

    void SetUp() override
    {
        fx.addSequence(QStringLiteral("Demo"), {{600, 100, 300, 10}, {600, 150, 600, 5}});
        fx.state.CurrentSequence = QStringLiteral("Demo");
        fx.state.SequenceSent = true;
        fx.onNewPort = [](FakeSerialPort &port) {
            port.responder = [&port](const QByteArray &bytes) {
                if (bytes == QByteArray(1, 5))
                    port.feed(message({1, 1, 70, 0, 0, 0, 1})); // the first reading: shown, not stored
            };
        };
        session = std::make_unique<RealTimeSession>(fx.context, chart);
        session->load();
    }

    void name(qint64 id = 7, const QString &testName = QStringLiteral("Run A"))
    {
        fx.storeTestRow(id, testName);
        fx.state.RelatedOk = true;
        fx.state.NewTestId = int32_t(id);
        session->setNamed(true, testName);
    }

    void startRunning()
    {
        name();
        session->start();
        ASSERT_TRUE(session->isRunning());
        fx.prompts.clear();
    }

    void deliver(const QByteArray &bytes)
    {
        fx.port->feed(bytes);
        fx.clock.advance(1.0);
        session->tick();
    }

    Rows rows(qint64 testId = 7) const
    {
        QSqlQuery q(fx.db());
        q.prepare(QStringLiteral("SELECT StepNo, Time, Temperature, Speed, Shearstress, Gel, Rbfactor FROM TestResult "
                                 "WHERE TestId = ? ORDER BY ")
                  + SqlDialect::of(fx.db()).storedOrder());
        q.addBindValue(testId);
        q.exec();
        Rows out;
        while (q.next()) {
            QList<double> r;
            for (int i = 0; i < 7; ++i)
                r << q.value(i).toDouble();
            out << r;
        }
        return out;
    }
};
