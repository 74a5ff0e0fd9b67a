#include "reports/ReportValues.h"

#include "common/NumberText.h"
#include "results/ResultGridModel.h"

namespace ReportValues {

double gelDialReading(double gel, bool si)
{
    return si ? gel / 5.11 : gel / (5.11 / 4.788);
}

bool speedShowsZero(const ResultRow &row)
{
    return NumberText::Val(ResultGridModel::cellText(row, ResultRow::Speed)) == 0.0;
}

} // namespace ReportValues
