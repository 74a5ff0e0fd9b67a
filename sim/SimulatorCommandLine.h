#pragma once
// The k7100sim command line: every simulator option, the pty options, and the help text that documents them.
#include "sim/SimulatorOptions.h"

#include <QCommandLineParser>
#include <QStringList>

class SimulatorCommandLine {
public:
    SimulatorCommandLine();

    // args[0] is the program name. False when the arguments are not usable; error() says why.
    bool parse(const QStringList &args);
    QString error() const { return error_; }
    bool helpRequested() const { return help_; }
    QString helpText() const;

    const SimulatorOptions &options() const { return options_; }
    QString linkPath() const { return link_; }
    bool verbose() const { return verbose_; }

private:
    bool number(const QString &name, double &out, double min, double max, bool whole = false);

    QCommandLineParser parser_;
    SimulatorOptions options_;
    QString link_;
    bool verbose_ = false;
    bool help_ = false;
    QString error_;
};
