#pragma once
// Values every report derives the same way from a result row.
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h uses size_t without including it

namespace ReportValues {

// The gel column turned back into a Fann 35 dial reading: EI gel / (5.11 / 4.788), SI gel / 5.11.
double gelDialReading(double gel, bool si);

// True when the results grid shows the row's speed as zero (its text reads back as 0): the rotor stood,
// so a viscosity for the row means nothing.
bool speedShowsZero(const ResultRow &row);

} // namespace ReportValues
