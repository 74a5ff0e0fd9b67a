// The simulator's fluid model, its failure-mode settings and the k7100sim command line.
#include "sim/CommandParser.h"
#include "sim/FluidModel.h"
#include "sim/SimulatorCommandLine.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(SimFluidModel, shearStressOfEachModel)
{
    using K = FluidModel::Kind;
    struct Case {
        const char *name;
        FluidModel::Parameters p;
        double rate;
        double temperature;
        double stress;
    };
    auto params = [](K kind, double visc, double yield, double k, double n, double coeff = 0.0) {
        FluidModel::Parameters p;
        p.kind = kind;
        p.viscosityCp = visc;
        p.yieldStress = yield;
        p.consistency = k;
        p.flowIndex = n;
        p.tempCoefficient = coeff;
        return p;
    };
    const QList<Case> cases{
        {"newtonian 100 cP at 1 1/s", params(K::Newtonian, 100, 0, 0, 1), 1.0, 77, 1.0},
        {"newtonian 100 cP at 300 rpm", params(K::Newtonian, 100, 0, 0, 1), 510.69, 77, 510.69},
        {"newtonian ignores yield", params(K::Newtonian, 50, 30, 0, 1), 100.0, 77, 50.0},
        {"bingham", params(K::Bingham, 20, 48, 0, 1), 1021.38, 77, 48 + 0.2 * 1021.38},
        {"herschel-bulkley", params(K::HerschelBulkley, 0, 10, 2, 0.5), 400.0, 77, 10 + 2 * 20.0},
        {"power law", params(K::PowerLaw, 0, 10, 3, 0.8), 100.0, 77, 3 * std::pow(100.0, 0.8)},
        {"standing rotor", params(K::Bingham, 20, 48, 0, 1), 0.0, 77, 0.0},
        {"hotter is thinner", params(K::Newtonian, 100, 0, 0, 1, 0.01), 100.0, 177, 100.0 * std::exp(-1.0)},
        {"colder is thicker", params(K::Newtonian, 100, 0, 0, 1, 0.01), 100.0, 27, 100.0 * std::exp(0.5)},
        {"yield does not thin", params(K::Bingham, 10, 50, 0, 1, 0.01), 100.0, 177, 50 + 10 * std::exp(-1.0)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(FluidModel(c.p).shearStress(c.rate, c.temperature), c.stress, 1e-9 * std::max(1.0, c.stress));
    }
}

TEST(SimFluidModel, gelStrengthGrowsWithLogRestTime)
{
    FluidModel::Parameters p;
    p.gel10s = 20;
    p.gel10m = 40;
    const FluidModel f(p);
    struct Case {
        double rest;
        double gel;
    };
    for (const Case &c :
         QList<Case>{{0, 0}, {5, 10}, {10, 20}, {600, 40}, {1800, 20 + 20 * std::log(180.0) / std::log(60.0)}}) {
        SCOPED_TRACE(c.rest);
        EXPECT_NEAR(f.gelStrength(c.rest), c.gel, 1e-9);
    }
    EXPECT_EQ(FluidModel().gelStrength(600), 0.0) << "no gel structure by default";
}

TEST(SimFluidModel, namesAndValidation)
{
    for (const QString &name : FluidModel::kindNames())
        EXPECT_EQ(FluidModel::kindName(*FluidModel::kindFromName(name)), name);
    EXPECT_EQ(FluidModel::kindFromName(QStringLiteral("HB")), FluidModel::Kind::HerschelBulkley);
    EXPECT_FALSE(FluidModel::kindFromName(QStringLiteral("ketchup")).has_value());

    FluidModel::Parameters p;
    EXPECT_EQ(FluidModel(p).validate(), QString());
    p.flowIndex = 0;
    EXPECT_NE(FluidModel(p).validate(), QString());
    p = {};
    p.yieldStress = -1;
    EXPECT_NE(FluidModel(p).validate(), QString());
}

TEST(SimFailureModes, settingsParseOrExplain)
{
    struct Case {
        const char *setting;
        bool ok;
    };
    const QList<Case> cases{
        {"silent-after=5", true},    {"silent-after", false},   {"silent-after=0", false},
        {"silent-after=256", false}, {"pause", true},           {"pause=50", true},
        {"pause=-1", false},         {"garbage", true},         {"garbage=3", true},
        {"garbage=x", false},        {"split", true},           {"split=0", false},
        {"drop-end", true},          {"drop-end=1", false},     {"disconnect-after=30", true},
        {"disconnect-after", false}, {"explode", false},        {"quiet-after=30", true},
        {"quiet-after=30:15", true}, {"quiet-after", false},    {"quiet-after=30:", false},
        {"quiet-after=0:5", false},  {"endless-upload", true},  {"endless-upload=1", false},
        {"cut-upload", true},        {"cut-upload=yes", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.setting);
        FailureModes f;
        const QString problem = f.add(QString::fromLatin1(c.setting));
        EXPECT_EQ(problem.isEmpty(), c.ok) << problem.toStdString();
        EXPECT_EQ(f.any(), c.ok);
    }
    FailureModes f;
    f.add(QStringLiteral("pause"));
    f.add(QStringLiteral("garbage"));
    f.add(QStringLiteral("split"));
    EXPECT_EQ(f.replyPauseMs, 600);
    EXPECT_EQ(f.garbageEvery, 10);
    EXPECT_EQ(f.splitDelayMs, 300);
    EXPECT_EQ(FailureModes().describe(), QStringLiteral("none"));
    FailureModes quiet;
    quiet.add(QStringLiteral("quiet-after=30:15"));
    EXPECT_EQ(quiet.quietAfterMessages, 30);
    EXPECT_EQ(quiet.quietForMessages, 15);
    EXPECT_EQ(quiet.describe(), QStringLiteral("quiet for 15 messages after the 30. of a run"));
}

TEST(SimCommandParser, loneByte8IsTheUploadRequestWhateverFollows)
{
    using T = CommandParser::Command::Type;
    CommandParser p;
    EXPECT_TRUE(p.feed(char(8)).isEmpty());
    EXPECT_TRUE(p.holdsLoneByte8());
    auto cmds = p.feed(char(1));
    ASSERT_EQ(cmds.size(), 2);
    EXPECT_EQ(cmds[0].type, T::UploadRequest);
    EXPECT_EQ(cmds[1].type, T::SendStoredData);

    p.feed(char(8));
    cmds = p.flushPending();
    ASSERT_EQ(cmds.size(), 1);
    EXPECT_EQ(cmds[0].type, T::UploadRequest);
    EXPECT_TRUE(p.flushPending().isEmpty());

    cmds = p.feed(QByteArray("\x08"
                             "1,60000,35,3")
                  + char(5));
    ASSERT_EQ(cmds.size(), 2) << "a broken run-speed command, then the start byte";
    EXPECT_EQ(cmds[0].type, T::Rejected);
    EXPECT_EQ(cmds[1].type, T::Start);
}

TEST(SimCommandLine, optionsReachTheSimulator)
{
    SimulatorCommandLine cmd;
    ASSERT_TRUE(cmd.parse({QStringLiteral("k7100sim"),   QStringLiteral("--link"),
                           QStringLiteral("/tmp/k7100"), QStringLiteral("--fluid"),
                           QStringLiteral("bingham"),    QStringLiteral("--viscosity"),
                           QStringLiteral("20"),         QStringLiteral("--yield"),
                           QStringLiteral("48"),         QStringLiteral("--rate"),
                           QStringLiteral("20"),         QStringLiteral("--custom-rb"),
                           QStringLiteral("1.234"),      QStringLiteral("--noise"),
                           QStringLiteral("0.5"),        QStringLiteral("--seed"),
                           QStringLiteral("9"),          QStringLiteral("--temp-coeff"),
                           QStringLiteral("0.01"),       QStringLiteral("--gel-10s"),
                           QStringLiteral("24"),         QStringLiteral("--gel-10m"),
                           QStringLiteral("48"),         QStringLiteral("--memory"),
                           QStringLiteral("50"),         QStringLiteral("--store-interval"),
                           QStringLiteral("10"),         QStringLiteral("--heater-tau"),
                           QStringLiteral("0"),          QStringLiteral("--fail"),
                           QStringLiteral("split=200"),  QStringLiteral("--fail"),
                           QStringLiteral("drop-end"),   QStringLiteral("--verbose")}))
        << cmd.error().toStdString();
    const SimulatorOptions &o = cmd.options();
    EXPECT_EQ(cmd.linkPath(), QStringLiteral("/tmp/k7100"));
    EXPECT_TRUE(cmd.verbose());
    EXPECT_EQ(o.fluid.kind, FluidModel::Kind::Bingham);
    EXPECT_EQ(o.fluid.viscosityCp, 20.0);
    EXPECT_EQ(o.fluid.yieldStress, 48.0);
    EXPECT_EQ(o.fluid.tempCoefficient, 0.01);
    EXPECT_EQ(o.fluid.gel10s, 24.0);
    EXPECT_EQ(o.fluid.gel10m, 48.0);
    EXPECT_EQ(o.rate, 20.0);
    EXPECT_EQ(o.customRateFactor, 1.234);
    EXPECT_EQ(o.noise, 0.5);
    EXPECT_EQ(o.seed, 9u);
    EXPECT_EQ(o.memoryCapacity, 50);
    EXPECT_EQ(o.storeInterval, 10);
    EXPECT_EQ(o.heaterTimeConstant, 0.0);
    EXPECT_EQ(o.failures.splitDelayMs, 200);
    EXPECT_TRUE(o.failures.dropEndByte);

    ASSERT_TRUE(cmd.parse({QStringLiteral("k7100sim")}));
    EXPECT_EQ(cmd.options().fluid.kind, FluidModel::Kind::Newtonian);
    EXPECT_EQ(cmd.options().fluid.viscosityCp, 100.0);
    EXPECT_EQ(cmd.options().rate, 1.0);
    EXPECT_FALSE(cmd.options().customRateFactor.has_value());
    EXPECT_EQ(cmd.options().memoryCapacity, 101);
    EXPECT_TRUE(cmd.linkPath().isEmpty());
}

TEST(SimCommandLine, badArgumentsAreExplained)
{
    const QList<QStringList> cases{
        {QStringLiteral("--fluid"), QStringLiteral("ketchup")},   {QStringLiteral("--viscosity"), QStringLiteral("-3")},
        {QStringLiteral("--viscosity"), QStringLiteral("thick")}, {QStringLiteral("--rate"), QStringLiteral("0")},
        {QStringLiteral("--custom-rb"), QStringLiteral("12")},    {QStringLiteral("--memory"), QStringLiteral("1.5")},
        {QStringLiteral("--index"), QStringLiteral("0")},         {QStringLiteral("--fail"), QStringLiteral("explode")},
        {QStringLiteral("--colour"), QStringLiteral("red")},      {QStringLiteral("stray")},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        SimulatorCommandLine cmd;
        EXPECT_FALSE(cmd.parse(QStringList{QStringLiteral("k7100sim")} + args));
        EXPECT_FALSE(cmd.error().isEmpty());
    }
}

TEST(SimCommandLine, helpDocumentsEveryOptionAndReply)
{
    SimulatorCommandLine cmd;
    ASSERT_TRUE(cmd.parse({QStringLiteral("k7100sim"), QStringLiteral("--help")}));
    EXPECT_TRUE(cmd.helpRequested());
    const QString help = cmd.helpText();
    for (const char *option :
         {"--link",       "--verbose",  "--fluid",     "--viscosity",      "--yield",   "--consistency", "--index",
          "--temp-coeff", "--ref-temp", "--gel-10s",   "--gel-10m",        "--ambient", "--heater-tau",  "--noise",
          "--seed",       "--rate",     "--custom-rb", "--store-interval", "--memory",  "--fail"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
    for (const char *mode : {"silent-after", "pause", "garbage", "split", "drop-end", "disconnect-after"})
        EXPECT_TRUE(help.contains(QLatin1String(mode))) << mode;
    EXPECT_TRUE(help.contains(QStringLiteral("\"1234\" + byte 2"))) << "the custom rotor-bob reply";
}
