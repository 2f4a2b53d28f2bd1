#pragma once

// A way of writing numbers (decimal separator, group separator, digit grouping) applied
// through standard streams, so that numbers write exactly as a stream imbued with that
// locale does. Text is UTF-8, so separators beyond ASCII (the no-break spaces some locales
// group with) are written and read as the characters they are.

#include <locale>
#include <string>
#include <vector>

namespace KelUtility {

class NumberFormat {
public:
    // grouping is in std::numpunct form: "\3" groups of three repeated, "" no grouping,
    // "\3\x7f" one group of three only. A separator that a reader would take for part of
    // the number (a digit, a sign, 'e'), a control character or one beyond the 16-bit
    // range is replaced by '.' for the decimal and ' ' for the group separator; equal
    // separators keep the decimal one and drop the grouping.
    NumberFormat(char32_t decimalSeparator, char32_t groupSeparator, const std::string& grouping);

    // '.' as the decimal separator and no grouping.
    static NumberFormat Classic();

    // The format from Windows' locale texts for LOCALE_SDECIMAL, LOCALE_STHOUSAND and
    // LOCALE_SGROUPING. Each separator is the first character of its text; no group
    // separator means no grouping.
    static NumberFormat FromWindows(const std::wstring& decimal, const std::wstring& group,
                                    const std::wstring& grouping);

    // General notation, six significant digits, grouped integer part: 1234.5 -> "1.234,5".
    // A value beyond the range of a double is written as the stream writes it ("inf").
    std::string FormatDouble(double value) const;
    std::string FormatInteger(long long value) const;
    // Fixed notation with `decimals` digits after the separator, grouped integer part:
    // 0.754 with 2 -> "0,75".
    std::string FormatFixed(double value, int decimals) const;

    // The leading number of the text as this format writes it: blanks, an optional sign,
    // the integer digits with group separators exactly where the grouping puts them (or
    // none), an optional decimal part and an optional exponent. Reading stops at the first
    // character that does not fit; a misplaced group separator ends the number before it,
    // so "1,5" under groups of three reads 1, never 15. Text without a number gives 0.0,
    // a number beyond the range the largest finite double of its sign.
    double Parse(const std::string& text) const;

    char32_t DecimalSeparator() const { return m_decimal; }
    char32_t GroupSeparator() const { return m_group; }

private:
    // The size of the group at the given place, counted from the decimal separator
    // leftwards from 0; 0 when digits there are not grouped.
    int GroupSize(std::size_t place) const;
    // Whether digit groups of these lengths, left to right, are grouped as this format
    // groups them.
    bool GroupedAsWritten(const std::vector<std::size_t>& lengths) const;
    // The text the stream wrote, its stand-in separators replaced by the real ones.
    std::string WithSeparators(const std::string& written) const;

    char32_t m_decimal;
    char32_t m_group;
    std::string m_grouping;
    std::locale m_locale;
};

// Windows' grouping text ("3;0", "3", "3;2;0", "0") in std::numpunct form.
std::string GroupingFromWindows(const std::wstring& windowsGrouping);

} // namespace KelUtility
