#pragma once
// Everything the reports print about one stored test: its related information, its result rows in a unit
// system, the derived values and the rheology models of those rows. The windows hand over what the open
// test's grid load left; the command line reads a test afresh by name, the same way the grid loader does
// (the rotor-bob probe, then the rows), so both write the same files.
#include "reports/ReportedTestInfo.h"
#include "results/DerivedValues.h"
#include "results/ResultRow.h"
#include "results/RheologyModels.h"
#include <cstddef> // ResultRow.h uses size_t without including it

#include <QSqlDatabase>
#include <QString>
#include <optional>

struct ReportSource {
    ReportedTestInfo info;
    ResultTable rows;
    DerivedValues derived;
    RheologyModels models;
    bool si = false;

    // From rows already read (the open test); computes the models.
    static ReportSource of(const ReportedTestInfo &info, ResultTable rows, const DerivedValues &derived, bool si);

    // The stored test whose name matches testName (letter case ignored), in EI (unitSystem 1) or SI (2).
    // nullopt, with the reason in *error, when there is no such test or it cannot be read.
    static std::optional<ReportSource> load(const QSqlDatabase &db, const QString &testName, int unitSystem,
                                            QString *error);
};
