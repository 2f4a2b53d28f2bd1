#pragma once

// Numbers in the texts the user reads (messages, reports, notes), written as the user's
// locale writes them, the way the number boxes write theirs. The project file and the model
// files keep their own text, which no locale changes (number_text.h).

#include "toolkit/number_format.h"

#include <cstdint>
#include <string>

namespace MyApp {

// Where the user's format comes from, asked again for every number so that a change of the
// user's settings reaches the next message, as it reaches the next box. Without a source
// (the portable library alone) numbers are written with '.' and no groups.
using NumberFormatSource = KelUtility::NumberFormat (*)();
void SetReportedNumberFormat(NumberFormatSource source);

// A count, with the locale's groups: 1800 -> "1.800" in Italian, "1,800" in English.
std::string ReportedCount(std::uint64_t count);

// A measure with fixed `decimals`: 0.754 with 2 -> "0,75" in Italian.
std::string ReportedDecimal(double value, int decimals);

// Any real in general notation, six significant digits: 3.4028235e38 -> "3,40282e+38".
std::string ReportedReal(double value);

} // namespace MyApp
