#include "document/reported_number.h"

#include <atomic>

using KelUtility::NumberFormat;

namespace MyApp {
namespace {

// Set once as the program starts and read by every message, from whichever thread makes it.
std::atomic<NumberFormatSource> g_source{nullptr};

NumberFormat UserFormat() {
    const NumberFormatSource source = g_source.load();
    return source != nullptr ? source() : NumberFormat::Classic();
}

} // namespace

void SetReportedNumberFormat(NumberFormatSource source) {
    g_source.store(source);
}

std::string ReportedCount(std::uint64_t count) {
    // Past the largest signed count, which no mesh reaches, the digits go ungrouped.
    if (count > static_cast<std::uint64_t>(INT64_MAX))
        return std::to_string(count);
    return UserFormat().FormatInteger(static_cast<long long>(count));
}

std::string ReportedDecimal(double value, int decimals) {
    return UserFormat().FormatFixed(value, decimals);
}

std::string ReportedReal(double value) {
    return UserFormat().FormatDouble(value);
}

} // namespace MyApp
