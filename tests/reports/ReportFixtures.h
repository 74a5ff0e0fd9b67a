#pragma once
// Small stored tests, already in display units, shared by the report tests and the read-back sample
// writer. The text-report fixture files under fixtures/ were worked out by hand from these rows.
#include "reports/ReportedTestInfo.h"
#include "results/ResultRow.h"
#include <cstddef>

#include <initializer_list>

namespace ReportFixtures {

// f0..f9: step, time, temperature, shear rate, speed, shear stress, viscosity, gel, rotor-bob, dial.
ResultRow row(std::initializer_list<double> fields);
ResultTable table(std::initializer_list<std::initializer_list<double>> rows);

// An EI test over three steps with a standing-rotor row (fixtures/text_report_ei.csv).
ReportedTestInfo eiInfo();
ResultTable eiRows();

// An SI test with a custom rotor-bob over three steps (fixtures/text_report_si.csv).
ReportedTestInfo siInfo();
ResultTable siRows();

// The six-step Fann sequence 600, 300, 200, 100, 6, 3 rpm with dial readings 60, 40, 32, 23, 8, 7,
// four rows per step, so the 300 rpm step's last row is result row 7.
ResultTable fannSixSpeedRows();

} // namespace ReportFixtures
