#include "app/number_text.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <limits>
#include <system_error>

namespace MyApp {
namespace {

constexpr int kSignificantDigits = 6;
constexpr long kExponentLimit = 100000;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return i;
}

std::size_t CountDigits(std::string_view text, std::size_t from) {
    std::size_t i = from;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i - from;
}

// The shape of the leading number of a line: where its unsigned part starts and ends,
// and what an out-of-range conversion needs to know to tell overflow from underflow.
struct RealShape {
    bool negative = false;
    std::size_t begin = 0;
    std::size_t end = 0;
    long decimalExponent = 0; // exponent of the leading non-zero digit, in powers of ten
    bool hasDigits = false;
};

long LeadingDigitExponent(std::string_view digits, std::size_t integerDigits) {
    for (std::size_t k = 0; k < digits.size(); ++k) {
        if (digits[k] != '0' && digits[k] != '.')
            return static_cast<long>(integerDigits) - static_cast<long>(k) - 1 +
                   (k > integerDigits ? 1 : 0);
    }
    return 0;
}

long ReadExponent(std::string_view text, std::size_t& i) {
    std::size_t j = i + 1;
    bool negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
        negative = text[j++] == '-';
    if (j >= text.size() || !IsDigit(text[j]))
        return 0;
    long exponent = 0;
    for (; j < text.size() && IsDigit(text[j]); ++j) {
        if (exponent < kExponentLimit)
            exponent = exponent * 10 + (text[j] - '0');
    }
    i = j;
    return negative ? -exponent : exponent;
}

RealShape ScanReal(std::string_view text) {
    RealShape shape;
    std::size_t i = SkipBlanks(text);
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        shape.negative = text[i++] == '-';
    shape.begin = i;
    const std::size_t integerDigits = CountDigits(text, i);
    i += integerDigits;
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        fractionDigits = CountDigits(text, i + 1);
        if (integerDigits + fractionDigits > 0)
            i += 1 + fractionDigits;
    }
    shape.hasDigits = integerDigits + fractionDigits > 0;
    if (!shape.hasDigits)
        return shape;
    const std::string_view mantissa = text.substr(shape.begin, i - shape.begin);
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E'))
        exponent = ReadExponent(text, i);
    shape.end = i;
    shape.decimalExponent = LeadingDigitExponent(mantissa, integerDigits) + exponent;
    return shape;
}

} // namespace

std::string FormatReal(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, kSignificantDigits);
    return std::string(buffer, result.ptr);
}

std::string FormatInteger(std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

double ParseReal(std::string_view text) {
    const RealShape shape = ScanReal(text);
    if (!shape.hasDigits)
        return 0.0;
    double value = 0.0;
    const char* first = text.data() + shape.begin;
    const auto result =
        std::from_chars(first, text.data() + shape.end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        value = shape.decimalExponent > 0 ? std::numeric_limits<double>::max() : 0.0;
    return shape.negative ? -value : value;
}

float ParseRealAsFloat(std::string_view text) { return NarrowToFloat(ParseReal(text)); }

float NarrowToFloat(double value) {
    if (std::isnan(value))
        return 0.0f;
    if (value > FLT_MAX)
        return FLT_MAX;
    if (value < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(value);
}

std::int32_t ParseInteger(std::string_view text) {
    std::size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    std::int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace MyApp
