#pragma once
// Direct logging on a fake port and a virtual clock (the link tests' context, with a scratch working
// directory). The fake instrument answers the start byte one second later, unless told to stay silent,
// with a message of second 0: the validity rule drops it, so a test counts only the readings it feeds.
#include "common/RotorBobTable.h"
#include "tests/link/LinkFixture.h"
#include "tests/support/TempDir.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <initializer_list>

namespace directlog {

// A constant-speed reading: step 1, `second` into it, 77 degF, the stress, 300 rpm, R1-B1.
inline QByteArray reading(qint64 second, qint64 stress = 250)
{
    return realTimeMessage({1, second, 77, stress, 0, 30000, 1});
}

} // namespace directlog

class DirectLogFixture : public LinkFixture {
protected:
    DirectLogFixture()
    {
        ctx.workDir = dir.path();
        // The setup screen has been visited and R1-B1 chosen (from the program's start state Run is
        // refused; a test of that starts from StartUp's state itself).
        RotorBobTable::select(0, state);
        configurePort = [this](FakeSerialPort &port) {
            FakeSerialPort *p = &port;
            port.responder = [this, p](const QByteArray &bytes) {
                if (bytes == QByteArray(1, 5) && instrumentAnswers)
                    p->feed(directlog::reading(0), clock.now() + 1.0);
            };
        };
    }

    // The data file's lines (CR LF removed); "<missing>" when it does not exist.
    QStringList fileLines(const QString &name) const
    {
        QFile f(dir.file(name));
        if (!f.open(QIODevice::ReadOnly))
            return {QStringLiteral("<missing>")};
        QStringList lines = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    TempDir dir;
    bool instrumentAnswers = true;
};
