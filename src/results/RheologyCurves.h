#pragma once
// The fitted model curves drawn over a test's readings on the charts that plot shear stress (or the dial
// reading) against shear rate (or speed): the least-squares Herschel-Bulkley curve and the pipe and
// annulus power-law curves, across the shear rates of the flow curve. The models work in dial degrees at
// the flow curve's shear rates; the curves are put on the chart's axes with the readings' own ratios
// (chart x per shear rate, chart y per dial degree), so they lie over the plotted points in either unit
// system and with any rotor-bob.
#include "platform/ChartModel.h"
#include "results/RheologyModels.h"

#include <QList>

namespace RheologyCurves {

// Chart types 0 ("Shr. Stress Vs. Shr. Rate"), 2 ("Shr. Stress Vs. Speed") and 9 ("Fann_Deg Vs. Speed").
bool appliesTo(int chartType);

// The curves for that chart type; empty when it takes none or the models give no curve.
QList<ChartCurve> forChart(const RheologyModels &models, int chartType, int samples = 97);

} // namespace RheologyCurves
