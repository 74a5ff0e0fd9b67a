#include "results/ChartTypes.h"

#include "results/ResultRow.h"

namespace {

constexpr const char *StressEI = "Shear Stress (lb/100ft2)";
constexpr const char *StressSI = "Shear Stress (dyn/cm2)";
constexpr const char *TempEI = "Temperature (°F)";
constexpr const char *TempSI = "Temperature (°C)";
constexpr const char *Visc = "Viscosity (Cp)";
constexpr const char *Rate = "Shear Rate (1/S)";
constexpr const char *Time = "Time (S)";

// The list texts keep the spelling the operators know ("Viscocity").
constexpr ChartTypeInfo Types[ChartTypes::Count] = {
    {"Shr. Stress Vs. Shr. Rate", "Shear Stress Vs. Shear Rate", Rate, Rate, StressEI, StressSI, ResultRow::ShearRate,
     ResultRow::ShearStress, true},
    {"Viscocity Vs. Shear Rate", "Viscosity Vs. Shear Rate", Rate, Rate, Visc, Visc, ResultRow::ShearRate,
     ResultRow::Viscosity, true},
    {"Shr. Stress Vs. Speed", "Shear Stress vs. Speed", "Speed (Rpm)", "Speed (Rpm)", StressEI, StressSI,
     ResultRow::Speed, ResultRow::ShearStress, true},
    {"Viscocity Vs. Speed", "Viscosity Vs. Speed", "Speed(Rpm)", "Speed(Rpm)", Visc, Visc, ResultRow::Speed,
     ResultRow::Viscosity, true},
    {"Viscocity Vs. Temperature", "Viscosity Vs. Temperature", TempEI, TempSI, Visc, Visc, ResultRow::Temperature,
     ResultRow::Viscosity, true},
    {"Shr. Stress Vs. Temperature", "Shear Stress vs. Temperature", TempEI, TempSI, StressEI, StressSI,
     ResultRow::Temperature, ResultRow::ShearStress, true},
    {"Shr. Stress Vs. Time", "Shear Stress vs. Time", Time, Time, StressEI, StressSI, ChartTypes::ElapsedTime,
     ResultRow::ShearStress, false},
    {"Viscocity Vs. Time", "Viscosity Vs. Time", Time, Time, Visc, Visc, ChartTypes::ElapsedTime, ResultRow::Viscosity,
     false},
    {"Temperature Vs. Time", "Temperature vs. Time", Time, Time, TempEI, TempSI, ChartTypes::ElapsedTime,
     ResultRow::Temperature, false},
    {"Fann_Deg Vs. Speed", "fann35 Dial vs. Speed", "Speed (Rpm)", "Speed (Rpm)", "fann35 Dial (Deg)",
     "fann35 Dial (Deg)", ResultRow::Speed, ResultRow::Fann, true},
};

} // namespace

namespace ChartTypes {

int clamp(int type)
{
    return type >= 0 && type < Count ? type : 0;
}

const ChartTypeInfo &info(int type)
{
    return Types[clamp(type)];
}

QStringList listTexts()
{
    QStringList out;
    for (const ChartTypeInfo &t : Types)
        out << QString::fromUtf8(t.listText);
    return out;
}

QString listToolTip()
{
    return QStringLiteral("Use this drop-down menu to select different chart types");
}

QString title(int type)
{
    return QString::fromUtf8(info(type).title);
}

QString xLabel(int type, bool si)
{
    return QString::fromUtf8(si ? info(type).xLabelSI : info(type).xLabelEI);
}

QString yLabel(int type, bool si)
{
    return QString::fromUtf8(si ? info(type).yLabelSI : info(type).yLabelEI);
}

QString overCapacityMessage(int type)
{
    if (clamp(type) == 0)
        return QStringLiteral("Last opened test has more data points than the first one.  Please open the one with "
                              "the most sample points first, then overlay others.");
    return QStringLiteral("Last opened test has more data points than the first one.  Please open a test with "
                          "more sample points first, then overlay others.");
}

} // namespace ChartTypes
