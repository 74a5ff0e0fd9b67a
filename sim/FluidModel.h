#pragma once
// The sample in the simulated cup: how much shear stress it answers to a shear rate at a temperature, and
// how much gel structure it builds while the rotor stands. Stresses are in dyn/cm2, shear rates in 1/s,
// viscosities in cP, temperatures in degrees Fahrenheit (the units the instrument reports in).
#include <QString>
#include <QStringList>
#include <optional>

class FluidModel {
public:
    enum class Kind { Newtonian, Bingham, HerschelBulkley, PowerLaw };

    struct Parameters {
        Kind kind = Kind::Newtonian;
        // Newtonian viscosity, or the plastic viscosity of a Bingham fluid.
        double viscosityCp = 100.0;
        // Bingham and Herschel-Bulkley yield stress.
        double yieldStress = 0.0;
        // Herschel-Bulkley and power-law consistency K (dyn*s^n/cm2) and flow index n.
        double consistency = 1.0;
        double flowIndex = 1.0;
        // The viscous part scales with exp(-tempCoefficient * (T - referenceF)): 0 = no temperature effect.
        double referenceF = 77.0;
        double tempCoefficient = 0.0;
        // Gel strength built by a rest of 10 s and of 10 min; longer and shorter rests follow a log-time
        // curve through these two points. 0 and 0 = a fluid without gel structure.
        double gel10s = 0.0;
        double gel10m = 0.0;
    };

    FluidModel() = default;
    explicit FluidModel(const Parameters &p) : p_(p) {}
    const Parameters &parameters() const { return p_; }

    // Shear stress of the steadily sheared fluid; 0 when the rotor stands (shear rate 0).
    double shearStress(double shearRate, double temperatureF) const;
    // Extra stress the rested structure adds when shearing restarts after restSeconds of standing.
    double gelStrength(double restSeconds) const;
    // Factor on the viscous part at a temperature (1 at the reference temperature).
    double temperatureFactor(double temperatureF) const;

    // A description of the parameter set for start-up messages.
    QString describe() const;
    // Plausibility of the parameters; empty when they are usable.
    QString validate() const;

    static std::optional<Kind> kindFromName(const QString &name);
    static QString kindName(Kind kind);
    static QStringList kindNames();

private:
    Parameters p_;
};
