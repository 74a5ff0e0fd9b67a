#pragma once
// The link fixture plus a scratch database holding sequences, and a progress sink that records what
// a download showed and when.
#include "link/DownloadProgress.h"
#include "link/SequenceDownload.h"
#include "store/Database.h"
#include "tests/link/LinkFixture.h"
#include "tests/support/TempDir.h"

#include <QSqlQuery>
#include <QVariant>

struct ProgressEvent {
    QString what; // "status", "show", "set", "hide"
    QString text;
    int value = 0;
    double at = 0;
    bool operator==(const ProgressEvent &o) const { return what == o.what && text == o.text && value == o.value; }
};

class RecordingProgress : public DownloadProgress {
public:
    explicit RecordingProgress(const Clock &clock) : clock_(clock) {}
    void setStatus(const QString &text) override { events.append({"status", text, 0, clock_.now()}); }
    void showProgress(int maximum) override { events.append({"show", {}, maximum, clock_.now()}); }
    void setProgress(int value) override { events.append({"set", {}, value, clock_.now()}); }
    void hideProgress() override { events.append({"hide", {}, 0, clock_.now()}); }
    QList<ProgressEvent> events;

private:
    const Clock &clock_;
};

struct Step {
    int no;
    double seconds;
    double tempF;
    double rpm;
};

class SequenceFixture : public LinkFixture {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(db.open(dir.file(Database::defaultFileName()), &error)) << error.toStdString();
        ctx.database = &db;
    }

    void addSequence(int id, const QString &name, const QList<Step> &steps)
    {
        QSqlQuery q(db.connection());
        ASSERT_TRUE(q.prepare("INSERT INTO SequenceName (SequenceId, SequenceName, Rbfactor) VALUES (?, ?, ?)"));
        q.addBindValue(id);
        q.addBindValue(name);
        q.addBindValue(1);
        ASSERT_TRUE(q.exec());
        for (const Step &s : steps) {
            ASSERT_TRUE(
                q.prepare("INSERT INTO SequenceSetup (SequenceId, StepNo, Time, Temperature, Speed, RecordRate) "
                          "VALUES (?, ?, ?, ?, ?, ?)"));
            for (const QVariant &v :
                 {QVariant(id), QVariant(s.no), QVariant(s.seconds), QVariant(s.tempF), QVariant(s.rpm), QVariant(10)})
                q.addBindValue(v);
            ASSERT_TRUE(q.exec());
        }
    }

    bool send(const QString &name, int rotorBob = 1) { return SequenceDownload::send(ctx, name, rotorBob, progress); }

    TempDir dir;
    Database db;
    RecordingProgress progress{clock};
};
