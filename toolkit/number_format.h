#pragma once

// A way of writing numbers (decimal separator, group separator, digit grouping) applied
// through standard streams, so that numbers read and write exactly as a stream imbued with
// that locale does.

#include <locale>
#include <string>

namespace KelUtility {

class NumberFormat {
public:
    // grouping is in std::numpunct form: "\3" groups of three repeated, "" no grouping,
    // "\3\x7f" one group of three only. A separator that a reader would take for part of
    // the number (a digit, a sign, 'e', NUL) is replaced by '.' for the decimal and ' ' for
    // the group separator; equal separators keep the decimal one and drop the grouping.
    NumberFormat(char decimalSeparator, char groupSeparator, const std::string& grouping);

    // '.' as the decimal separator and no grouping.
    static NumberFormat Classic();

    // The format from Windows' locale texts for LOCALE_SDECIMAL, LOCALE_STHOUSAND and
    // LOCALE_SGROUPING. Each separator is the first character of its text; one beyond
    // U+00FF does not fit a byte and gives '.' or ' ', and no group separator no grouping.
    static NumberFormat FromWindows(const std::wstring& decimal, const std::wstring& group,
                                    const std::wstring& grouping);

    // General notation, six significant digits, grouped integer part: 1234.5 -> "1.234,5".
    std::string FormatDouble(double value) const;
    std::string FormatInteger(long long value) const;

    // The leading number of the text, read the way the stream reads it; the rest of the
    // text is ignored. Text without a number gives 0.0.
    double Parse(const std::string& text) const;

    char DecimalSeparator() const { return m_decimal; }
    char GroupSeparator() const { return m_group; }

private:
    char m_decimal;
    char m_group;
    std::locale m_locale;
};

// The separators a person types in a number box: the first non-digit of 0.1 and of 1000
// as the format writes them. A format without grouping writes no group separator; one that
// cannot be confused with the decimal separator is taken then.
struct TypedSeparators {
    char decimal;
    char group;
};
TypedSeparators TypedSeparatorsOf(const NumberFormat& format);

// Windows' grouping text ("3;0", "3", "3;2;0", "0") in std::numpunct form.
std::string GroupingFromWindows(const std::wstring& windowsGrouping);

} // namespace KelUtility
