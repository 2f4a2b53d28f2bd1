#include "document/number_text.h"

#include "document/format_text.h"

#include <dragonbox/dragonbox.h>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>
#include <system_error>

namespace MyApp {
namespace {

constexpr int kSignificantDigits = 6;
constexpr long kExponentLimit = 100000;

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

double ParseRealExactly(std::string_view text) {
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

// Every power of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;
// Fifteen decimal digits always fit the 53 bits of a double's significand.
constexpr std::uint64_t kExactLimit = 1000000000000000; // 10^15

// value * 10^power in one correctly rounded operation, when 10^power is exact.
bool ScaleByPowerOfTen(double value, int power, double& scaled) {
    if (power >= 0 && power <= kLargestExactPower) {
        scaled = value * kExactPowersOfTen[power];
        return true;
    }
    if (power < 0 && -power <= kLargestExactPower) {
        scaled = value / kExactPowersOfTen[-power];
        return true;
    }
    return false;
}

// The common numbers of a project file, at most fifteen significant digits and a small
// decimal exponent, are an exact integer and an exact power of ten, so one division or
// multiplication rounds them correctly. False for everything else, which the exact reader
// then takes.
bool ParseShortReal(std::string_view text, double& value, std::size_t& end) {
    end = std::string_view::npos;
    std::size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // More than fifteen significant digits make the mantissa reach 10^15.
    std::uint64_t mantissa = 0;
    int exponent = 0;
    bool hasDigits = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        hasDigits = true;
        mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
        if (mantissa >= kExactLimit)
            return false;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            hasDigits = true;
            mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
            --exponent;
            if (mantissa >= kExactLimit)
                return false;
        }
    }
    if (!hasDigits) {
        value = 0.0;
        return true;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            negativeExponent = text[j++] == '-';
        int written = 0;
        int digits = 0;
        for (; j < text.size() && IsDigit(text[j]); ++j) {
            written = written * 10 + (text[j] - '0');
            if (++digits > 4)
                return false;
        }
        exponent += negativeExponent ? -written : written;
        i = digits > 0 ? j : std::string_view::npos;
    }
    end = i;
    if (mantissa == 0)
        value = 0.0;
    else if (!ScaleByPowerOfTen(static_cast<double>(mantissa), exponent, value))
        return false;
    if (negative)
        value = -value;
    return true;
}

constexpr std::uint32_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000,
                                          100000000, 1000000000};
constexpr int kFloatDigits = 9; // a float needs at most nine to be told from its neighbours

// A float's significant digits as a whole number of `count` digits without trailing
// zeros, the first standing for 10^exponent.
struct Decimal {
    std::uint32_t digits = 0;
    int count = 1;
    int exponent = 0;
};

// The fewest digits that read back as the float, and of those the nearest to it, as
// Dragonbox finds them (the same digits std::to_chars gives, in a third of its time). Where
// six digits or fewer read back they are the float's nearest decimal of six digits with
// its trailing zeros dropped, so "%g" would write the same number.
Decimal ShortestDigits(float value) {
    if (value == 0.0f)
        return {};
    const auto shortest = jkj::dragonbox::to_decimal(value, jkj::dragonbox::policy::sign::ignore);
    Decimal decimal{shortest.significand, 1, 0};
    while (decimal.count < kFloatDigits && decimal.digits >= kPowersOfTen[decimal.count])
        ++decimal.count;
    decimal.exponent = shortest.exponent + decimal.count - 1;
    return decimal;
}

// "00" to "99" as the two bytes they take in a text, the first digit in the low byte.
struct DigitPairs {
    std::uint16_t of[100];
    constexpr DigitPairs() : of() {
        for (int i = 0; i < 100; ++i)
            of[i] = static_cast<std::uint16_t>(('0' + i / 10) | ('0' + i % 10) << 8);
    }
};
constexpr DigitPairs kDigitPairs;

// Nine digits, the decimal's and zeros after them: the first, and the other eight held in
// a word as they lie in memory (the first in the low byte, as on every x86), so that they
// are stored at once.
struct NineDigits {
    char first;
    std::uint64_t rest;
};

NineDigits Spell(const Decimal& decimal) {
    const std::uint32_t padded = decimal.digits * kPowersOfTen[kFloatDigits - decimal.count];
    const std::uint32_t low = padded % 100000000;
    return {static_cast<char>('0' + padded / 100000000),
            kDigitPairs.of[low / 1000000] | std::uint64_t{kDigitPairs.of[low / 10000 % 100]} << 16 |
                std::uint64_t{kDigitPairs.of[low / 100 % 100]} << 32 |
                std::uint64_t{kDigitPairs.of[low % 100]} << 48};
}

// "%g" with max(6, count) digits: plain notation for exponents from -4 to that less one,
// else one digit, the fraction and a signed exponent of two digits (a float's exponent
// never needs three). The digits are stored as a word wherever they go, and the end
// moved by what they hold: what lies past the returned end is scratch, within
// kMaxRealText.
char* WriteGeneral(char* out, bool negative, const Decimal& decimal) {
    *out = '-';
    out += negative ? 1 : 0;
    const NineDigits digits = Spell(decimal);
    const int count = decimal.count;
    const int exponent = decimal.exponent;
    if (exponent < -4 || exponent >= std::max(count, kSignificantDigits)) {
        out[0] = digits.first;
        out[1] = '.';
        std::memcpy(out + 2, &digits.rest, sizeof digits.rest);
        out += count > 1 ? count + 1 : 1;
        const int magnitude = exponent < 0 ? -exponent : exponent;
        out[0] = 'e';
        out[1] = exponent < 0 ? '-' : '+';
        out[2] = static_cast<char>('0' + magnitude / 10);
        out[3] = static_cast<char>('0' + magnitude % 10);
        return out + 4;
    }
    if (exponent < 0) {
        std::memcpy(out, "0.000", 5);
        out[1 - exponent] = digits.first;
        std::memcpy(out + 2 - exponent, &digits.rest, sizeof digits.rest);
        return out + 1 - exponent + count;
    }
    const int whole = exponent + 1;
    out[0] = digits.first;
    if (count <= whole) {
        std::memcpy(out + 1, &digits.rest, sizeof digits.rest);
        return out + whole;
    }
    // The point goes after the whole digits, and the last digit past the word.
    const std::uint64_t before = (std::uint64_t{1} << (8 * (whole - 1))) - 1;
    const std::uint64_t pointed =
        (digits.rest & before) | std::uint64_t{'.'} << (8 * (whole - 1)) | (digits.rest & ~before) << 8;
    std::memcpy(out + 1, &pointed, sizeof pointed);
    out[9] = static_cast<char>(digits.rest >> 56);
    return out + count + 1;
}

// The end of an optional sign and the digits after it; `digits` tells how many there were.
std::size_t SkipSignedDigits(std::string_view text, std::size_t i, std::size_t& digits) {
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    digits = CountDigits(text, i);
    return i + digits;
}

// An optional sign and digits from `i`, saturating at `kLow` and `kHigh`; the end of the
// digits, or `i` where there are none.
template <std::int64_t kLow, std::int64_t kHigh>
std::size_t ScanWhole(std::string_view text, std::size_t i, std::int64_t& value) {
    const std::size_t start = i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::int64_t limit = negative ? -kLow : kHigh;
    // Eighteen digits fit; those past them only saturate.
    constexpr std::size_t kFittingDigits = 18;
    std::int64_t magnitude = 0;
    const std::size_t first = i;
    for (; i < text.size() && IsDigit(text[i]) && i - first < kFittingDigits; ++i)
        magnitude = magnitude * 10 + (text[i] - '0');
    for (; i < text.size() && IsDigit(text[i]); ++i)
        magnitude = limit;
    magnitude = std::min(magnitude, limit);
    value = negative ? -magnitude : magnitude;
    return i > first ? i : start;
}

std::size_t ScanInteger(std::string_view text, std::size_t i, std::int32_t& value) {
    std::int64_t wide = 0;
    const std::size_t end = ScanWhole<INT32_MIN, INT32_MAX>(text, i, wide);
    value = static_cast<std::int32_t>(wide);
    return end;
}

bool OnlyBlanksFrom(std::string_view text, std::size_t i) {
    return SkipBlanks(text.substr(i)) == text.size() - i;
}


// A real past the float range in "%g"'s exponent form with the shortest digits that read
// back as the double: a float would turn it into the largest float, another number.
char* WriteBeyondFloat(char* out, double value) {
    const auto shortest = jkj::dragonbox::to_decimal(value, jkj::dragonbox::policy::sign::ignore);
    char digits[20] = {};
    const char* digitsEnd = std::to_chars(digits, digits + sizeof digits, shortest.significand).ptr;
    const int count = static_cast<int>(digitsEnd - digits);
    if (std::signbit(value))
        *out++ = '-';
    *out++ = digits[0];
    if (count > 1) {
        *out++ = '.';
        out = std::copy(static_cast<const char*>(digits) + 1, digitsEnd, out);
    }
    const int exponent = shortest.exponent + count - 1;
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        *out++ = '0';
    return std::to_chars(out, out + 3, magnitude).ptr;
}

} // namespace

std::string FormatReal(double value) {
    char buffer[kMaxRealText];
    return std::string(buffer, FormatRealTo(buffer, value));
}

char* FormatRealTo(char* out, double value) {
    if (std::isfinite(value) && std::fabs(value) > FLT_MAX)
        return WriteBeyondFloat(out, value);
    const float kept = NarrowToFloat(value);
    return WriteGeneral(out, std::signbit(kept), ShortestDigits(kept));
}

char* FormatNumberLinesTo(char* out, const NumberLine* lines, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        out = lines[i].IsInteger ? FormatIntegerTo(out, lines[i].Integer) : FormatRealTo(out, lines[i].Real);
        *out++ = '\r';
        *out++ = '\n';
    }
    return out;
}

std::string FormatInteger(std::int64_t value) {
    char buffer[kMaxIntegerText];
    return std::string(buffer, FormatIntegerTo(buffer, value));
}

char* FormatIntegerTo(char* out, std::int64_t value) {
    return std::to_chars(out, out + kMaxIntegerText, value).ptr;
}

double ParseReal(std::string_view text) {
    bool whole = false;
    return ParseReal(text, whole);
}

double ParseReal(std::string_view text, bool& whole) {
    double value = 0.0;
    std::size_t end = 0;
    if (ParseShortReal(text, value, end)) {
        whole = end != std::string_view::npos && OnlyBlanksFrom(text, end);
        return value;
    }
    whole = IsRealText(text);
    return ParseRealExactly(text);
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
    bool whole = false;
    return ParseInteger(text, whole);
}

std::int32_t ParseInteger(std::string_view text, bool& whole) {
    std::int32_t value = 0;
    const std::size_t i = SkipBlanks(text);
    const std::size_t end = ScanInteger(text, i, value);
    whole = end > i && OnlyBlanksFrom(text, end);
    return value;
}

std::uint32_t ParseColor(std::string_view text, bool& whole) {
    std::int64_t value = 0;
    const std::size_t i = SkipBlanks(text);
    const std::size_t end = ScanWhole<INT32_MIN, UINT32_MAX>(text, i, value);
    whole = end > i && OnlyBlanksFrom(text, end);
    return static_cast<std::uint32_t>(value);
}

std::size_t ParseColorPrefix(std::string_view text, std::uint32_t& value) {
    if (text.empty() || IsBlank(text[0]))
        return 0;
    std::int64_t wide = 0;
    const std::size_t end = ScanWhole<INT32_MIN, UINT32_MAX>(text, 0, wide);
    value = static_cast<std::uint32_t>(wide);
    return end;
}

std::size_t ParseRealPrefix(std::string_view text, double& value) {
    if (text.empty() || IsBlank(text[0]))
        return 0;
    std::size_t end = 0;
    return ParseShortReal(text, value, end) && end != std::string_view::npos ? end : 0;
}

std::size_t ParseIntegerPrefix(std::string_view text, std::int32_t& value) {
    if (text.empty() || IsBlank(text[0]))
        return 0;
    return ScanInteger(text, 0, value);
}

bool IsRealText(std::string_view text) {
    std::size_t integerDigits = 0;
    std::size_t i = SkipSignedDigits(text, SkipBlanks(text), integerDigits);
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        fractionDigits = CountDigits(text, i + 1);
        i += 1 + fractionDigits;
    }
    if (integerDigits + fractionDigits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t exponentDigits = 0;
        i = SkipSignedDigits(text, i + 1, exponentDigits);
        if (exponentDigits == 0)
            return false;
    }
    return OnlyBlanksFrom(text, i);
}

bool IsIntegerText(std::string_view text) {
    std::size_t digits = 0;
    const std::size_t i = SkipSignedDigits(text, SkipBlanks(text), digits);
    return digits > 0 && OnlyBlanksFrom(text, i);
}

} // namespace MyApp
