#include "document/number_text.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
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
constexpr int kExactDigits = 15;

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
bool ParseShortReal(std::string_view text, double& value) {
    std::size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::uint64_t mantissa = 0;
    int significantDigits = 0;
    int exponent = 0;
    bool hasDigits = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        hasDigits = true;
        mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
        if (mantissa != 0 && ++significantDigits > kExactDigits)
            return false;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            hasDigits = true;
            mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
            --exponent;
            if (mantissa != 0 && ++significantDigits > kExactDigits)
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
        for (int digits = 0; j < text.size() && IsDigit(text[j]); ++j) {
            written = written * 10 + (text[j] - '0');
            if (++digits > 4)
                return false;
        }
        exponent += negativeExponent ? -written : written;
    }
    if (mantissa == 0)
        value = 0.0;
    else if (!ScaleByPowerOfTen(static_cast<double>(mantissa), exponent, value))
        return false;
    if (negative)
        value = -value;
    return true;
}

// A float needs at most nine significant digits to be told from its neighbours.
constexpr int kFloatDigits = 9;

// The fewest digits, from six on, whose text the reader narrows to the same float as the
// value, by the standard library's exact conversion; for what the fast path below cannot
// decide, and for values that six digits do not keep.
char* FormatRealExactly(char* out, double value) {
    const float kept = NarrowToFloat(value);
    for (int digits = kSignificantDigits;; ++digits) {
        char* const end =
            std::to_chars(out, out + kMaxRealText, value, std::chars_format::general, digits).ptr;
        if (digits == kFloatDigits || NarrowToFloat(ParseReal({out, std::size_t(end - out)})) == kept)
            return end;
    }
}

// The powers of ten that doubles hold exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Whether the six digits read back as the value's float. The reader makes one correctly
// rounded double of the text, and so does one step by an exact power of ten here.
bool SixDigitsKeepFloat(double value, std::uint32_t digits, int exponent) {
    const int shift = exponent - (kSignificantDigits - 1);
    const double magnitude =
        shift >= 0 ? digits * kExactPowers[shift] : digits / kExactPowers[-shift];
    return NarrowToFloat(magnitude) == NarrowToFloat(std::fabs(value));
}

constexpr double kRoundsUpToSevenDigits = 999999.5;
constexpr std::uint32_t kLowestSixDigits = 100000;
constexpr std::uint32_t kSevenDigits = 1000000;
// One rounding of a value below 2^20 is off by at most 2^-34; anything nearer than this to
// a rounding tie is left to the exact conversion.
constexpr double kTieMargin = 1e-9;

// The powers of ten a six-digit scaling can meet, nearest doubles where not exact, for
// telling which decade a magnitude is in.
constexpr int kLowestDecade = -17;
constexpr double kDecades[] = {1e-17, 1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11, 1e-10, 1e-9, 1e-8,
                               1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,  1e2,
                               1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,  1e11, 1e12,
                               1e13,  1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20,  1e21, 1e22,
                               1e23,  1e24,  1e25,  1e26,  1e27,  1e28};

// The binary exponents whose decade a single exact scaling reaches: 2^-56 to 2^90.
constexpr int kLowestBinade = -56;
constexpr int kHighestBinade = 89;

// floor(b * log10(2)) for each binary exponent b, the decade of 2^b; a magnitude in
// [2^b, 2^(b+1)) is in that decade or the next. 78913 / 2^18 is log10(2) closely enough
// for every b of the range.
struct BinadeDecades {
    signed char of[kHighestBinade - kLowestBinade + 1];
    constexpr BinadeDecades() : of() {
        for (int b = kLowestBinade; b <= kHighestBinade; ++b) {
            const long scaled = b * 78913L;
            const long unit = 1L << 18;
            of[b - kLowestBinade] = static_cast<signed char>(
                scaled >= 0 ? scaled / unit : -((-scaled + unit - 1) / unit));
        }
    }
};
constexpr BinadeDecades kBinadeDecades;

// The magnitude rounded to six significant digits (100000 to 999999) and the decimal
// exponent of the first, when a single scaling by an exact power of ten decides them.
// Values outside the binades above and values within the scaling error of a rounding
// tie give false. However the decade is guessed, a wrong guess only ever gives false.
bool RoundToSixDigits(double value, std::uint32_t& digits, int& exponent) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    // Zeros, subnormals, infinities and NaNs fall outside the binades as well.
    const int binade = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    if (binade < kLowestBinade || binade > kHighestBinade)
        return false;
    const double magnitude = std::fabs(value);
    exponent = kBinadeDecades.of[binade - kLowestBinade];
    exponent += magnitude >= kDecades[exponent + 1 - kLowestDecade] ? 1 : 0;
    double scaled = 0.0;
    if (!ScaleByPowerOfTen(magnitude, kSignificantDigits - 1 - exponent, scaled))
        return false;
    if (scaled > kRoundsUpToSevenDigits - kTieMargin) {
        // The value rounds up to the next power of ten, or sits just below one and the
        // table put it a decade low; at the next exponent both read the same.
        if (scaled < kRoundsUpToSevenDigits + kTieMargin)
            return false;
        ++exponent;
        if (!ScaleByPowerOfTen(magnitude, kSignificantDigits - 1 - exponent, scaled))
            return false;
    }
    const auto whole = static_cast<std::uint32_t>(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < kTieMargin)
        return false;
    digits = whole + (fraction > 0.5 ? 1 : 0);
    if (digits == kSevenDigits) {
        digits = kLowestSixDigits;
        ++exponent;
    }
    return digits >= kLowestSixDigits && digits < kSevenDigits;
}

// "00" to "99" as the two bytes they take in a text, the first digit in the low byte, so
// that six digits take three look-ups instead of a chain of divisions.
struct DigitPairs {
    std::uint16_t of[100];
    constexpr DigitPairs() : of() {
        for (int i = 0; i < 100; ++i)
            of[i] = static_cast<std::uint16_t>(('0' + i / 10) | ('0' + i % 10) << 8);
    }
};
constexpr DigitPairs kDigitPairs;

int TrailingZeros(std::uint32_t digits) {
    return (digits % 10 == 0) + (digits % 100 == 0) + (digits % 1000 == 0) + (digits % 10000 == 0) +
           (digits % 100000 == 0);
}

// Eight bytes of text held in a word, the first in the low byte; compilers turn the
// stores into one.
void StoreText(char* out, std::uint64_t word) {
    out[0] = static_cast<char>(word);
    out[1] = static_cast<char>(word >> 8);
    out[2] = static_cast<char>(word >> 16);
    out[3] = static_cast<char>(word >> 24);
    out[4] = static_cast<char>(word >> 32);
    out[5] = static_cast<char>(word >> 40);
    out[6] = static_cast<char>(word >> 48);
    out[7] = static_cast<char>(word >> 56);
}

constexpr std::uint64_t kPointAndZeros = 0x3030303030302E30; // "0.000000"

// "%g" with six significant digits: plain notation for exponents from -4 to 5, else one
// digit, the fraction and a signed exponent of at least two digits; trailing zeros of the
// fraction and a bare point are left out. The digits and the point are laid out in one
// word, whatever the form, so that no branch depends on where the point goes; what lies
// past the returned end is scratch, within kMaxRealText - 1 bytes of out.
char* WriteGeneral(char* out, double value, std::uint32_t digits, int exponent) {
    *out = '-';
    out += std::signbit(value) ? 1 : 0;
    const bool scientific = exponent >= kSignificantDigits || exponent < -4;
    const bool belowOne = !scientific && exponent < 0;
    const int pointAfter = scientific ? 1 : belowOne ? kSignificantDigits : exponent + 1;
    std::uint64_t word = kDigitPairs.of[digits / 10000] |
                         std::uint64_t{kDigitPairs.of[digits / 100 % 100]} << 16 |
                         std::uint64_t{kDigitPairs.of[digits % 100]} << 32;
    const std::uint64_t before = (std::uint64_t{1} << (8 * pointAfter)) - 1;
    word = (word & before) | std::uint64_t{'.'} << (8 * pointAfter) | (word & ~before) << 8;
    // Below one the text starts "0." and as many zeros as the exponent asks.
    StoreText(out, kPointAndZeros);
    char* const text = out + (belowOne ? 1 - exponent : 0);
    StoreText(text, word);
    const int used = kSignificantDigits - TrailingZeros(digits);
    out = text + (belowOne ? used : used > pointAfter ? used + 1 : pointAfter);
    if (!scientific)
        return out;
    const int magnitude = exponent < 0 ? -exponent : exponent;
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    if (magnitude >= 100)
        *out++ = static_cast<char>('0' + magnitude / 100);
    const std::uint16_t pair = kDigitPairs.of[magnitude % 100];
    *out++ = static_cast<char>(pair & 0xFF);
    *out++ = static_cast<char>(pair >> 8);
    return out;
}

} // namespace

std::string FormatReal(double value) {
    char buffer[kMaxRealText];
    return std::string(buffer, FormatRealTo(buffer, value));
}

char* FormatRealTo(char* out, double value) {
    std::uint32_t digits = 0;
    int exponent = 0;
    if (!RoundToSixDigits(value, digits, exponent) || !SixDigitsKeepFloat(value, digits, exponent))
        return FormatRealExactly(out, value);
    return WriteGeneral(out, value, digits, exponent);
}

char* FormatNumberLinesTo(char* out, const NumberLine* lines, std::size_t count) {
    // Rounding a real is a long chain of dependent steps, and each text waits for the end
    // of the one before it; rounding a group before writing any lets the processor work
    // on its values side by side.
    constexpr std::size_t kGroup = 8;
    for (std::size_t first = 0; first < count; first += kGroup) {
        const std::size_t size = std::min(kGroup, count - first);
        const NumberLine* const group = lines + first;
        std::uint32_t digits[kGroup] = {};
        int exponents[kGroup] = {};
        bool quick[kGroup] = {};
        for (std::size_t i = 0; i < size; ++i) {
            if (!group[i].IsInteger)
                quick[i] = RoundToSixDigits(group[i].Real, digits[i], exponents[i]) &&
                           SixDigitsKeepFloat(group[i].Real, digits[i], exponents[i]);
        }
        for (std::size_t i = 0; i < size; ++i) {
            const NumberLine& line = group[i];
            if (line.IsInteger)
                out = FormatIntegerTo(out, line.Integer);
            else if (quick[i])
                out = WriteGeneral(out, line.Real, digits[i], exponents[i]);
            else
                out = FormatRealExactly(out, line.Real);
            *out++ = '\r';
            *out++ = '\n';
        }
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
    double value = 0.0;
    if (ParseShortReal(text, value))
        return value;
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

namespace {

// The end of an optional sign and the digits after it; `digits` tells how many there were.
std::size_t SkipSignedDigits(std::string_view text, std::size_t i, std::size_t& digits) {
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    digits = CountDigits(text, i);
    return i + digits;
}

bool OnlyBlanksFrom(std::string_view text, std::size_t i) {
    return SkipBlanks(text.substr(i)) == text.size() - i;
}

} // namespace

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
