#include "sim/SimulatorCommandLine.h"

#include <cmath>

SimulatorCommandLine::SimulatorCommandLine()
{
    parser_.setApplicationDescription(QStringLiteral(
        "Simulated K7100 viscometer on a pseudo-terminal. Prints the device the program should open as its\n"
        "serial port (put it in ports.txt as \"<comm number> = <device>\"), then answers like the instrument\n"
        "until interrupted."));
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOptions({
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")},
        {QStringLiteral("link"),
         QStringLiteral("Also make PATH a symbolic link to the device (replaces an old link, never a file)."),
         QStringLiteral("PATH")},
        {QStringLiteral("verbose"), QStringLiteral("Report every command, run and reply on standard error.")},
        {QStringLiteral("fluid"),
         QStringLiteral("Fluid model: newtonian (default), bingham, herschel-bulkley (or hb), power-law."),
         QStringLiteral("MODEL")},
        {QStringLiteral("viscosity"),
         QStringLiteral("Newtonian viscosity, or Bingham plastic viscosity, in cP (default 100)."),
         QStringLiteral("CP")},
        {QStringLiteral("yield"), QStringLiteral("Bingham / Herschel-Bulkley yield stress in dyn/cm2 (default 0)."),
         QStringLiteral("DYN")},
        {QStringLiteral("consistency"),
         QStringLiteral("Herschel-Bulkley / power-law consistency K in dyn*s^n/cm2 (default 1)."), QStringLiteral("K")},
        {QStringLiteral("index"), QStringLiteral("Herschel-Bulkley / power-law flow index n (default 1)."),
         QStringLiteral("N")},
        {QStringLiteral("temp-coeff"),
         QStringLiteral("Temperature dependence: the viscous part is multiplied by exp(-C * (T - ref-temp)), T in F "
                        "(default 0 = none)."),
         QStringLiteral("C")},
        {QStringLiteral("ref-temp"),
         QStringLiteral("Temperature in F at which the viscosity parameters hold (default 77)."), QStringLiteral("F")},
        {QStringLiteral("gel-10s"), QStringLiteral("Gel strength in dyn/cm2 after a 10-second rest (default 0)."),
         QStringLiteral("DYN")},
        {QStringLiteral("gel-10m"),
         QStringLiteral(
             "Gel strength in dyn/cm2 after a 10-minute rest (default 0); other rests follow a log-time curve."),
         QStringLiteral("DYN")},
        {QStringLiteral("ambient"), QStringLiteral("Sample temperature in F before the first run (default 77)."),
         QStringLiteral("F")},
        {QStringLiteral("heater-tau"),
         QStringLiteral(
             "Time constant in s with which the sample approaches each step's temperature (default 60; 0 = at once)."),
         QStringLiteral("S")},
        {QStringLiteral("noise"),
         QStringLiteral("Standard deviation of the shear-stress noise in dyn/cm2 (default 0 = exact values)."),
         QStringLiteral("DYN")},
        {QStringLiteral("seed"),
         QStringLiteral("Seed of the noise; every run starts from it, so runs repeat exactly (default 1)."),
         QStringLiteral("N")},
        {QStringLiteral("rate"),
         QStringLiteral("Simulated seconds per real second (default 1; 20 runs a 10-minute step in 30 s)."),
         QStringLiteral("R")},
        {QStringLiteral("custom-rb"),
         QStringLiteral(
             "Report a custom rotor-bob with this shear-rate factor in 1/s per rpm (0.008 to 9.999) and shear with it. "
             "The upload request (byte 8) is then answered with factor x 1000 as four digits and the byte 2: "
             "--custom-rb 1.234 answers \"1234\" + byte 2. Without it byte 8 gets no answer."),
         QStringLiteral("FACTOR")},
        {QStringLiteral("store-interval"),
         QStringLiteral("Seconds between readings kept in the instrument's memory during a run; each step's last "
                        "second is kept too (default 30)."),
         QStringLiteral("S")},
        {QStringLiteral("memory"), QStringLiteral("Readings the instrument's memory holds per run (default 101)."),
         QStringLiteral("N")},
        {QStringLiteral("fail"),
         QStringLiteral(
             "Misbehave on purpose; may be given several times. MODE is one of the failure modes listed below."),
         QStringLiteral("MODE")},
    });
}

QString SimulatorCommandLine::helpText() const
{
    QString text = parser_.helpText();
    text += QStringLiteral("\nFailure modes (--fail MODE):\n");
    for (const QString &line : FailureModes::help())
        text += QStringLiteral("  ") + line + QLatin1Char('\n');
    text += QStringLiteral(
        "\nWhat the simulated instrument answers:\n"
        "  byte 3 ... \"99\"   keeps the downloaded steps (NN,TTTTT,FFF,SSSSS,R11 each); no reply\n"
        "  byte 5            runs the kept sequence (or the run-speed program): one data message\n"
        "                    \"step,seconds,F,stress,gel,speed*100,rotor-bob\" + byte 26 per simulated second,\n"
        "                    the first one simulated second after the start; byte 8 after the last step.\n"
        "                    gel = the peak stress of a step that shears again after a rest, else 0\n"
        "  byte 6            stops the run; no reply\n"
        "  byte 8            upload request: see --custom-rb\n"
        "  byte 1            the readings kept during the last sequence run, each \"f1,...,f7,\", then byte 2\n"
        "  byte 8 + \"1,60000,35,<speed*100>,<code>\"  run-speed command: byte 5 then runs at that speed\n"
        "                    until byte 6, or byte 8 after its duration (60000 s); 35 is taken as its\n"
        "                    temperature in F. A later download selects the sequence again\n"
        "  Bytes sent while the program has the port closed are lost, as on a serial line; a run\n"
        "  goes on meanwhile (stand-alone test).\n"
        "\nExample: k7100sim --link /tmp/k7100 --fluid newtonian --viscosity 100 --rate 20\n");
    return text;
}

bool SimulatorCommandLine::number(const QString &name, double &out, double min, double max, bool whole)
{
    if (!parser_.isSet(name))
        return true;
    bool ok = false;
    const double v = parser_.value(name).toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < min || v > max || (whole && v != std::floor(v))) {
        error_ = QStringLiteral("--%1 needs %2 from %3 to %4, not \"%5\"")
                     .arg(name, whole ? QStringLiteral("a whole number") : QStringLiteral("a number"))
                     .arg(min, 0, 'g', 16)
                     .arg(max, 0, 'g', 16)
                     .arg(parser_.value(name));
        return false;
    }
    out = v;
    return true;
}

bool SimulatorCommandLine::parse(const QStringList &args)
{
    error_.clear();
    options_ = SimulatorOptions{};
    if (!parser_.parse(args)) {
        error_ = parser_.errorText();
        return false;
    }
    help_ = parser_.isSet(QStringLiteral("help"));
    if (!parser_.positionalArguments().isEmpty()) {
        error_ = QStringLiteral("unexpected argument \"%1\"").arg(parser_.positionalArguments().front());
        return false;
    }
    link_ = parser_.value(QStringLiteral("link"));
    verbose_ = parser_.isSet(QStringLiteral("verbose"));

    auto &f = options_.fluid;
    if (parser_.isSet(QStringLiteral("fluid"))) {
        const auto kind = FluidModel::kindFromName(parser_.value(QStringLiteral("fluid")));
        if (!kind) {
            error_ =
                QStringLiteral("--fluid must be one of %1").arg(FluidModel::kindNames().join(QStringLiteral(", ")));
            return false;
        }
        f.kind = *kind;
    }
    double seed = double(options_.seed);
    double storeInterval = options_.storeInterval;
    double memory = options_.memoryCapacity;
    double customRb = 0.0;
    const bool ok = number(QStringLiteral("viscosity"), f.viscosityCp, 0, 1e7)
        && number(QStringLiteral("yield"), f.yieldStress, 0, 1e6)
        && number(QStringLiteral("consistency"), f.consistency, 0, 1e7)
        && number(QStringLiteral("index"), f.flowIndex, 0.01, 3)
        && number(QStringLiteral("temp-coeff"), f.tempCoefficient, -0.5, 0.5)
        && number(QStringLiteral("ref-temp"), f.referenceF, -100, 1000)
        && number(QStringLiteral("gel-10s"), f.gel10s, 0, 1e6) && number(QStringLiteral("gel-10m"), f.gel10m, 0, 1e6)
        && number(QStringLiteral("ambient"), options_.ambientF, -100, 1000)
        && number(QStringLiteral("heater-tau"), options_.heaterTimeConstant, 0, 100000)
        && number(QStringLiteral("noise"), options_.noise, 0, 100000)
        && number(QStringLiteral("seed"), seed, 0, 9007199254740992.0, true)
        && number(QStringLiteral("rate"), options_.rate, 0.01, 1000)
        && number(QStringLiteral("custom-rb"), customRb, 0.008, 9.999)
        && number(QStringLiteral("store-interval"), storeInterval, 1, 100000, true)
        && number(QStringLiteral("memory"), memory, 0, 100000, true);
    if (!ok)
        return false;
    options_.seed = quint64(seed);
    options_.storeInterval = int(storeInterval);
    options_.memoryCapacity = int(memory);
    if (parser_.isSet(QStringLiteral("custom-rb")))
        options_.customRateFactor = customRb;

    for (const QString &mode : parser_.values(QStringLiteral("fail"))) {
        const QString problem = options_.failures.add(mode);
        if (!problem.isEmpty()) {
            error_ = QStringLiteral("--fail: ") + problem;
            return false;
        }
    }
    error_ = options_.validate();
    return error_.isEmpty();
}
