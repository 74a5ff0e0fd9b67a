#pragma once
// The setup screen on a scratch database with scripted prompts, a virtual clock and a fake serial port
// that outlives each command's port object, so a test can read what a download wrote.
#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/PortMap.h"
#include "sequence/frmSetup.h"
#include "tests/sequence/SequenceDbFixture.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/VirtualClock.h"

#include <QAction>
#include <QFile>
#include <QTableWidget>
#include <memory>

// Hands every call to the test's one fake port.
class ForwardingPort : public SerialPort {
public:
    explicit ForwardingPort(FakeSerialPort &target) : t_(target) {}
    bool open(const QString &device) override { return t_.open(device); }
    void close() override { t_.close(); }
    bool isOpen() const override { return t_.isOpen(); }
    bool write(const QByteArray &bytes) override { return t_.write(bytes); }
    qint64 bytesAvailable() override { return t_.bytesAvailable(); }
    QByteArray readAll() override { return t_.readAll(); }
    bool hasFailed() const override { return t_.hasFailed(); }
    QString errorString() const override { return t_.errorString(); }

private:
    FakeSerialPort &t_;
};

class SetupScreenFixture : public SequenceDbFixture {
protected:
    void SetUp() override
    {
        SequenceDbFixture::SetUp();
        ctx.state = &state;
        ctx.prompts = &prompts;
        ctx.clock = &clock;
        ctx.database = &db;
        ctx.ports = &ports;
        ctx.workDir = dir.path();
        ctx.makePort = [this] { return std::make_unique<ForwardingPort>(port); };
    }

    // Creates the screen and runs its load as the main window's Setup command does.
    frmSetup &open()
    {
        screen = std::make_unique<frmSetup>(ctx);
        screen->showFromMain();
        return *screen;
    }

    template <class T> T *child(const char *name)
    {
        T *w = screen->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QAction *menu(const char *name) { return child<QAction>(name); }
    QTableWidget *grid() { return child<QTableWidget>("MSFlexGrid1"); }

    void writeSettings(const QByteArray &bytes)
    {
        QFile f(dir.file(QStringLiteral("initial.txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readSettings()
    {
        QFile f(dir.file(QStringLiteral("initial.txt")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    ProgramState state;
    ScriptedPrompts prompts;
    VirtualClock clock;
    PortMap ports;
    FakeSerialPort port{&clock};
    AppContext ctx;
    std::unique_ptr<frmSetup> screen;
};
