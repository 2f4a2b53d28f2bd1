#pragma once

// Number text of the project file. It never depends on the user's locale: reals are
// written like "%g" ('.' as the decimal point) with the shortest digits of the
// single-precision value they narrow to, six at least where the float has them (a real
// past the float range keeps the shortest digits of its double), and read
// back by the lenient rules of the reader, which take the leading number of a line and
// ignore whatever follows it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace MyApp {

// Room that FormatRealTo and FormatIntegerTo need at `out`. The text itself is at most 24
// characters ("-1.7976931348623157e+308"; within the float range 15, "-1.17549435e-38")
// and 20 ("-9223372036854775808"); the real writer may fill the rest of its room with
// scratch bytes past the end it returns.
constexpr std::size_t kMaxRealText = 24;
constexpr std::size_t kMaxIntegerText = 20;

// General notation, no trailing zeros, exponent form for very large or very small values:
// the text "%g" gives in the C locale for the float the value narrows to (NaN as 0), with
// six significant digits when they read back as that float (so a value of six digits or
// fewer is written as "%g" writes it), and otherwise with the fewest that do, as
// std::to_chars finds them. A finite value beyond the float range is written with the
// fewest digits that read back as the double itself ("1e+300"), which a project keeps.
std::string FormatReal(double value);

// The same text written at `out`; returns the end of what was written.
char* FormatRealTo(char* out, double value);

// Base-10 text of a whole number.
std::string FormatInteger(std::int64_t value);

// The same text written at `out`; returns the end of what was written.
char* FormatIntegerTo(char* out, std::int64_t value);

// One line of a text of numbers: a real or a whole number.
struct NumberLine {
    static NumberLine OfReal(double value) { return {value, 0, false}; }
    static NumberLine OfInteger(std::int64_t value) { return {0, value, true}; }

    double Real = 0;
    std::int64_t Integer = 0;
    bool IsInteger = false;
};

// The most bytes a number line takes with its CR LF.
constexpr std::size_t kMaxNumberLine = kMaxRealText + 2;

// The lines, each written like FormatRealTo or FormatIntegerTo and followed by CR LF, at
// `out`, which has room for kMaxNumberLine bytes a line and kMaxRealText more; returns the
// end of the text.
char* FormatNumberLinesTo(char* out, const NumberLine* lines, std::size_t count);

// Leading blanks, an optional sign, digits with an optional '.', an optional exponent;
// the rest of the text is ignored. No number gives 0. A magnitude beyond the range of a
// double gives the largest finite double with its sign, never an infinity.
double ParseReal(std::string_view text);
// The same, and in the same reading whether the whole text is one real (IsRealText).
double ParseReal(std::string_view text, bool& whole);

// The same as ParseReal, narrowed to a float; beyond the float range it gives the
// largest finite float with its sign.
float ParseRealAsFloat(std::string_view text);

// The float nearest the value: beyond the float range the largest finite float with its
// sign, never an infinity; NaN gives 0.
float NarrowToFloat(double value);

// Leading blanks, an optional sign and base-10 digits; the rest is ignored. No digits
// gives 0; values beyond the 32-bit range saturate at its ends.
std::int32_t ParseInteger(std::string_view text);
// The same, and whether the whole text is one whole number (IsIntegerText).
std::int32_t ParseInteger(std::string_view text, bool& whole);

// A colour word as the writer writes it, unsigned: read like ParseInteger, but up to
// 4,294,967,295, so that every 32-bit colour reads back as it was. A negative value, down
// to -2,147,483,648, is taken as the same 32 bits read signed.
std::uint32_t ParseColor(std::string_view text, bool& whole);

// The length of the number that starts `text` with no blank before it, read as the two
// readers above read it, with `value` set; 0 where the text does not start with a number
// those readers take in their quick way (a blank first, an exponent of many digits, more
// than fifteen significant digits), which they then read in full.
std::size_t ParseRealPrefix(std::string_view text, double& value);
std::size_t ParseIntegerPrefix(std::string_view text, std::int32_t& value);
std::size_t ParseColorPrefix(std::string_view text, std::uint32_t& value);

// Whether the whole text is one number of its kind, as a writer of the project file writes
// it: leading and trailing blanks aside, nothing but the number. The lenient readers above
// take more; these tell a line that was a number from one that only reads as one.
bool IsRealText(std::string_view text);
bool IsIntegerText(std::string_view text);

} // namespace MyApp
