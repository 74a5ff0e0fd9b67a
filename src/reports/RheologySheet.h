#pragma once
// The detailed workbook's second sheet, "Rheology": the test's name and unit system, every model with its
// parameters (numbers with their decimals, "N/A" where the readings give none) and the flow-curve
// readings the models used. The first sheet is left as it is.
#include "platform/WorkbookModel.h"

struct ReportedTestInfo;
struct RheologyModels;

namespace RheologySheet {

constexpr int ModelHeadingRow = 6;

// Adds the sheet "Rheology" after the sheets the workbook has.
void add(WorkbookModel &book, const ReportedTestInfo &info, const RheologyModels &models, bool si);

} // namespace RheologySheet
