// k7100sim: the simulated K7100 on a pseudo-terminal, for running the program without an instrument.
#include "sim/PtyHost.h"
#include "sim/SimulatorCommandLine.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

QString printable(const QByteArray &bytes)
{
    QString s;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127)
            s += QChar::fromLatin1(c);
        else
            s += QStringLiteral("<%1>").arg(int(u));
    }
    return s;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("k7100sim"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    SimulatorCommandLine cmd;
    if (!cmd.parse(QCoreApplication::arguments())) {
        err << "k7100sim: " << cmd.error() << "\n(k7100sim --help lists the options)\n";
        return 2;
    }
    if (cmd.helpRequested()) {
        out << cmd.helpText();
        return 0;
    }

    PtyHost host(cmd.options());
    QString problem;
    if (!host.open(&problem)) {
        err << "k7100sim: " << problem << '\n';
        return 1;
    }
    if (!cmd.linkPath().isEmpty() && !host.setLink(cmd.linkPath(), &problem)) {
        err << "k7100sim: " << problem << '\n';
        return 1;
    }

    // First line of standard output: the device to put in ports.txt.
    out << host.devicePath() << Qt::endl;
    const auto &o = cmd.options();
    err << "K7100 simulator on " << host.devicePath();
    if (!host.linkPath().isEmpty())
        err << " (also " << host.linkPath() << ')';
    err << "\n  fluid: " << FluidModel(o.fluid).describe() << "\n  rate: " << o.rate << " simulated s per s; noise "
        << o.noise << " dyn/cm2 (seed " << o.seed << ")";
    if (o.customRateFactor)
        err << "; custom rotor-bob " << *o.customRateFactor << " 1/s per rpm";
    err << "\n  failure modes: " << o.failures.describe()
        << "\n  ports.txt line for Comm 1: 1 = " << (host.linkPath().isEmpty() ? host.devicePath() : host.linkPath())
        << "\n  Ctrl+C ends the simulator.\n";
    err.flush();

    if (cmd.verbose()) {
        host.simulator().setLogger([&err](const QString &text) { err << "k7100sim: " << text << Qt::endl; });
        QObject::connect(&host, &PtyHost::received,
                         [&err](const QByteArray &b) { err << "  <- " << printable(b) << Qt::endl; });
        QObject::connect(&host, &PtyHost::sent,
                         [&err](const QByteArray &b) { err << "  -> " << printable(b) << Qt::endl; });
        QObject::connect(&host, &PtyHost::lost, [&err](const QByteArray &b) {
            err << "  -> (port closed, lost) " << printable(b) << Qt::endl;
        });
        QObject::connect(&host, &PtyHost::listenerChanged, [&err](bool present) {
            err << (present ? "k7100sim: port opened" : "k7100sim: port closed") << Qt::endl;
        });
    }
    QObject::connect(&host, &PtyHost::disconnected, [&err] {
        err << "k7100sim: failure mode: line dropped, simulator ends" << Qt::endl;
        QCoreApplication::exit(3);
    });

    // Ctrl+C and kill end the loop normally, so the link is removed.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::exit(0); });
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
        std::signal(SIGHUP, onSignal);
    }
    const int rc = QCoreApplication::exec();
    host.close();
    return rc;
}
