#pragma once
// One-letter border lines for the tables of expected cell borders in the report tests.
#include "platform/WorkbookModel.h"

inline constexpr auto N = BorderLine::None;
inline constexpr auto T = BorderLine::Thin;
inline constexpr auto K = BorderLine::Thick;
