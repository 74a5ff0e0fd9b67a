#include "sim/FluidModel.h"

#include <algorithm>
#include <cmath>

namespace {
// Structure broken down within a few seconds of shearing follows a log-time growth while resting.
constexpr double kTenSeconds = 10.0;
constexpr double kTenMinutes = 600.0;
} // namespace

double FluidModel::temperatureFactor(double temperatureF) const
{
    return std::exp(-p_.tempCoefficient * (temperatureF - p_.referenceF));
}

double FluidModel::shearStress(double shearRate, double temperatureF) const
{
    if (!(shearRate > 0.0))
        return 0.0;
    const double f = temperatureFactor(temperatureF);
    switch (p_.kind) {
    case Kind::Newtonian:
        // 1 cP = 0.01 dyn*s/cm2
        return p_.viscosityCp * f / 100.0 * shearRate;
    case Kind::Bingham: return p_.yieldStress + p_.viscosityCp * f / 100.0 * shearRate;
    case Kind::HerschelBulkley: return p_.yieldStress + p_.consistency * f * std::pow(shearRate, p_.flowIndex);
    case Kind::PowerLaw: return p_.consistency * f * std::pow(shearRate, p_.flowIndex);
    }
    return 0.0;
}

double FluidModel::gelStrength(double restSeconds) const
{
    if (!(restSeconds > 0.0) || (p_.gel10s <= 0.0 && p_.gel10m <= 0.0))
        return 0.0;
    if (restSeconds < kTenSeconds)
        return p_.gel10s * restSeconds / kTenSeconds;
    const double along = std::log(restSeconds / kTenSeconds) / std::log(kTenMinutes / kTenSeconds);
    return std::max(0.0, p_.gel10s + (p_.gel10m - p_.gel10s) * along);
}

QString FluidModel::validate() const
{
    if (!(p_.viscosityCp >= 0.0) && (p_.kind == Kind::Newtonian || p_.kind == Kind::Bingham))
        return QStringLiteral("viscosity must be 0 or more");
    if (!(p_.yieldStress >= 0.0))
        return QStringLiteral("yield stress must be 0 or more");
    if (!(p_.consistency >= 0.0))
        return QStringLiteral("consistency must be 0 or more");
    if (!(p_.flowIndex > 0.0 && p_.flowIndex <= 3.0))
        return QStringLiteral("flow index must be above 0 and at most 3");
    if (!std::isfinite(p_.tempCoefficient) || std::fabs(p_.tempCoefficient) > 0.5)
        return QStringLiteral("temperature coefficient must lie between -0.5 and 0.5 per degree F");
    if (!(p_.gel10s >= 0.0) || !(p_.gel10m >= 0.0))
        return QStringLiteral("gel strengths must be 0 or more");
    return {};
}

QString FluidModel::describe() const
{
    QString text;
    switch (p_.kind) {
    case Kind::Newtonian: text = QStringLiteral("Newtonian, %1 cP").arg(p_.viscosityCp); break;
    case Kind::Bingham:
        text = QStringLiteral("Bingham, plastic viscosity %1 cP, yield stress %2 dyn/cm2")
                   .arg(p_.viscosityCp)
                   .arg(p_.yieldStress);
        break;
    case Kind::HerschelBulkley:
        text = QStringLiteral("Herschel-Bulkley, yield stress %1 dyn/cm2, K %2 dyn*s^n/cm2, n %3")
                   .arg(p_.yieldStress)
                   .arg(p_.consistency)
                   .arg(p_.flowIndex);
        break;
    case Kind::PowerLaw:
        text = QStringLiteral("power law, K %1 dyn*s^n/cm2, n %2").arg(p_.consistency).arg(p_.flowIndex);
        break;
    }
    if (p_.tempCoefficient != 0.0)
        text += QStringLiteral(", viscous part x exp(-%1 * (T - %2 F))").arg(p_.tempCoefficient).arg(p_.referenceF);
    if (p_.gel10s > 0.0 || p_.gel10m > 0.0)
        text += QStringLiteral(", gels %1 / %2 dyn/cm2 (10 s / 10 min)").arg(p_.gel10s).arg(p_.gel10m);
    return text;
}

std::optional<FluidModel::Kind> FluidModel::kindFromName(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("newtonian"))
        return Kind::Newtonian;
    if (n == QLatin1String("bingham"))
        return Kind::Bingham;
    if (n == QLatin1String("herschel-bulkley") || n == QLatin1String("hb"))
        return Kind::HerschelBulkley;
    if (n == QLatin1String("power-law"))
        return Kind::PowerLaw;
    return std::nullopt;
}

QString FluidModel::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Newtonian: return QStringLiteral("newtonian");
    case Kind::Bingham: return QStringLiteral("bingham");
    case Kind::HerschelBulkley: return QStringLiteral("herschel-bulkley");
    case Kind::PowerLaw: return QStringLiteral("power-law");
    }
    return {};
}

QStringList FluidModel::kindNames()
{
    return {kindName(Kind::Newtonian), kindName(Kind::Bingham), kindName(Kind::HerschelBulkley),
            kindName(Kind::PowerLaw)};
}
