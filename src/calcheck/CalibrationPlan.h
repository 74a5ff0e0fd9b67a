#pragma once
// What a calibration check asks of the instrument, from the viscosity of the calibration fluid: the rotor
// speeds at which a Newtonian fluid of that viscosity gives exactly 3, 6, 10, 100 and 800 dyn/cm2 with the
// R1 rotor and B1 bob, and how many of them the check runs (a target is run only when its speed is at most
// 600 rpm, the instrument's top speed). The steps go to the instrument as a temporary sequence of 30-second
// steps at 55 degF.
#include "link/DownloadStream.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

struct CalibrationPlan {
    static constexpr int TargetCount = 5;
    static constexpr std::array<int, TargetCount> TargetStresses{3, 6, 10, 100, 800}; // dyn/cm2
    static constexpr double MinViscosity = 0.9;                                       // cP, accepted
    static constexpr double MaxViscosity = 5000;                                      // cP, accepted
    static constexpr double MaxSpeedRpm = 600;
    static constexpr double StepSeconds = 30;
    static constexpr double StepTemperatureF = 55;
    // Shear rate of R1-B1 in 1/s per rpm.
    static constexpr double R1B1RatePerRpm = 1.7023;

    double viscosity = 0;                          // cP
    double MinSpeed = 0;                           // rpm at which the fluid gives 1 dyn/cm2
    int StepCount = 0;                             // targets run, 0 to 5, always the lowest ones
    std::array<double, TargetCount> CheckSpeeds{}; // rpm of each target, run or not

    // The viscosity typed by the operator: the leading number of the text, accepted from 0.9 to 5000 cP.
    // nullopt for anything else (out of range, or no number at all).
    static std::optional<double> viscosityFrom(const QString &text);

    static CalibrationPlan forViscosity(double viscosity);

    // The shear stress (dyn/cm2) the fluid gives at the top speed: decides how many targets are run.
    double stressAtMaxSpeed() const { return MaxSpeedRpm / MinSpeed; }

    // The temporary steps sent to the instrument, numbered from 1, one per target run.
    QList<DownloadStep> steps() const;
};
