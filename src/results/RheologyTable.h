#pragma once
// The rheology models of a test as every output shows them (the Rheology window, the workbook's
// "Rheology" sheet, the PDF lab report and `k7100daq rheology`): the same models, parameter names, units,
// decimals and "N/A" everywhere.
//
// Units. Stresses (YP, gels, τy, the fit's RMS residual) are dial-based as API RP 13D computes them: in EI
// a dial degree is read as 1 lb/100ft2; in SI as 5.11 dyn/cm2, the program's shear stress for that dial
// reading. The power-law K is in dyn·s^n/cm2 in both systems (API RP 13D's own unit for it); the
// Herschel-Bulkley K is in lb·s^n/100ft2 (EI) or dyn·s^n/cm2 (SI), like its τy. PV and AV are in cP.
#include "results/RheologyModels.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct RheologyParameter {
    QString name; // "PV", "n", "τy", ...
    QString unit; // "" for a number without unit
    std::optional<double> value;
    int decimals = 2;

    // The value with its decimals, or "N/A".
    QString text() const;
};

struct RheologyModelRows {
    QString model; // "Bingham plastic", "Power law, pipe (600/300 rpm)", ...
    std::vector<RheologyParameter> parameters;
};

namespace RheologyTable {

QString stressUnit(bool si);

// Every model with its parameters, converted to the unit system.
std::vector<RheologyModelRows> models(const RheologyModels &m, bool si);

// The flow-curve readings the models used, as a table: "Step", "Speed (rpm)", "Shear Rate (1/S)",
// "Fann 35 Dial (deg)".
QStringList readingHeadings();
QStringList readingCells(const FlowReading &reading);

// Plain-text form (command line): the test, the unit system, the readings and an aligned table of
// Model / Parameter / Value / Unit. Lines end with "\n".
QString text(const QString &testName, const RheologyModels &m, bool si);

// JSON form: {"test", "units": "EI"|"SI", "readings": [{step, speed, shearRate, dial}], "models": [{"model",
// "parameters": [{"name", "value" (null for N/A), "unit", "text"}]}]}.
QJsonObject json(const QString &testName, const RheologyModels &m, bool si);

} // namespace RheologyTable
