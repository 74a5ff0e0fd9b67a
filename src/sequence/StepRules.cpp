#include "sequence/StepRules.h"

#include "common/NumberText.h"
#include "common/ProgramInfo.h"
#include "common/RecordRate.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace {

bool within(double v, double low, double high)
{
    return v >= low && v <= high;
}

StepRefusal refusal(StepField field, const QString &text, const QString &title)
{
    return {field, text, title};
}

StepRefusal timeRefusal()
{
    return refusal(StepField::Time, QStringLiteral("Invalid time input."), QStringLiteral("Time input out of range"));
}
StepRefusal temperatureRefusal()
{
    return refusal(StepField::Temperature, QStringLiteral("Invalid temperature input."),
                   QStringLiteral("Temperature input out of range"));
}
StepRefusal speedRefusal()
{
    return refusal(StepField::Speed, StepRules::invalidSpeedText(), QStringLiteral("Speed input out of range"));
}
StepRefusal recordRateRefusal()
{
    return refusal(StepField::RecordRate, QStringLiteral("Invalid real time data recording rate input."),
                   ProgramInfo::name());
}

// Ranges of the speed field: the OK check is a little stricter below zero than the check on leaving it.
constexpr double kSpeedMax = 600.01;
constexpr double kSpeedMinOnLeave = -0.0099;
constexpr double kSpeedMinOnOk = -0.00099;
constexpr double kShearRateMin = -0.01;
constexpr double kShearRateMaxOnLeave = 90000;
constexpr double kShearRateMaxOnOk = 9000;

} // namespace

std::optional<double> StepRules::number(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?\s*$)"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

StepCheck StepRules::check(const StepFieldTexts &t, StepDialogKind kind, bool si)
{
    StepCheck out;
    const auto fail = [&](const StepRefusal &r) {
        out.refusal = r;
        return out;
    };

    const auto time = number(t.time);
    if (!time || !within(*time, 0, 6300))
        return fail(timeRefusal());

    const auto temperature = number(t.temperature);
    if (!temperature)
        return fail(temperatureRefusal());
    if (si ? !within(*temperature, -6, 90) : !within(*temperature, 20, kind == StepDialogKind::Insert ? 200 : 220))
        return fail(temperatureRefusal());

    const auto speed = number(t.speed);
    if (!speed || !within(*speed, kSpeedMinOnOk, kSpeedMax))
        return fail(speedRefusal());

    // The shear rate is never stored (the speed is); an empty field counts as zero.
    const auto shear = t.shearRate.trimmed().isEmpty() ? std::optional<double>(0.0) : number(t.shearRate);
    if (!shear || !within(*shear, kShearRateMin, kShearRateMaxOnOk))
        return fail(
            refusal(StepField::ShearRate, invalidShearRateText(), QStringLiteral("Shear rate input out of range")));

    // Whole seconds only: the real-time screen records on whole seconds of a step.
    const auto rate = number(t.recordRate);
    if (!rate || !RecordRate::isAcceptable(*rate))
        return fail(recordRateRefusal());

    StepValues v;
    v.time = *time;
    v.temperature = si ? storedFahrenheit(*temperature) : *temperature;
    v.speed = *speed;
    v.recordRate = *rate;
    out.values = v;
    return out;
}

std::optional<StepRefusal> StepRules::checkCopyPaste(int from, int to, const QString &temperatureText)
{
    if (to < from)
        return refusal(StepField::CopyRange,
                       QStringLiteral("Copy range should be from a lower to a higher numbered step"),
                       QStringLiteral("Step No. input invalid"));
    const double t = NumberText::Val(temperatureText);
    if (t <= 0)
        return refusal(StepField::Temperature, QStringLiteral("Please input the temperature"),
                       QStringLiteral("Temperature input invalid"));
    // A pasted step goes to the instrument like any other: the widest step limits (those of editing) apply.
    if (!number(temperatureText) || !within(t, 20, 220))
        return temperatureRefusal();
    return std::nullopt;
}

Coupling StepRules::speedLeft(const QString &speedText, float rateFactor)
{
    Coupling c;
    if (speedText.trimmed().isEmpty())
        return c; // nothing typed yet: leave the shear rate alone
    const auto speed = number(speedText);
    if (!speed || !within(*speed, kSpeedMinOnLeave, kSpeedMax)) {
        c.refusal = speedRefusal();
        return c;
    }
    c.otherText = NumberText::Format(shearRate(*speed, rateFactor), QStringLiteral("###.00"));
    return c;
}

Coupling StepRules::shearRateLeft(const QString &shearRateText, float rateFactor)
{
    Coupling c;
    const StepRefusal refused = refusal(StepField::ShearRate, invalidShearRateText(),
                                        QStringLiteral("Shear rate input out of range. Please try again."));
    if (shearRateText.trimmed().isEmpty())
        return c;
    const auto shear = number(shearRateText);
    if (!shear || !within(*shear, kShearRateMin, kShearRateMaxOnLeave)) {
        c.refusal = refused;
        return c;
    }
    const QString speedText = NumberText::Format(speedForShearRate(*shear, rateFactor), QStringLiteral("####.00"));
    c.otherText = speedText;
    if (!within(NumberText::Val(speedText), kSpeedMinOnLeave, kSpeedMax))
        c.refusal = refused;
    return c;
}

double StepRules::rateFactorValue(float rateFactor)
{
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, rateFactor);
    return QString::fromLatin1(buf, int(res.ptr - buf)).toDouble();
}

double StepRules::shearRate(double speed, float rateFactor)
{
    return speed / RpmPerShearRate * rateFactorValue(rateFactor);
}

double StepRules::speedForShearRate(double shearRate, float rateFactor)
{
    const double f = rateFactorValue(rateFactor);
    return f == 0 ? 0 : shearRate * RpmPerShearRate / f;
}

double StepRules::displayTemperature(double fahrenheit, bool si)
{
    return si ? (fahrenheit - 32) * 5.0 / 9.0 : fahrenheit;
}

double StepRules::storedFahrenheit(double celsius)
{
    return NumberText::Val(NumberText::Format(celsius * 1.8 + 32, QStringLiteral("###.#")));
}

QString StepRules::temperatureLabel(bool si)
{
    return si ? QStringLiteral("Temp (°C)") : QStringLiteral("Temp (°F)");
}
