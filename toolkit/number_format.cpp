#include "toolkit/number_format.h"

#include <climits>
#include <cstdint>
#include <sstream>

namespace KelUtility {
namespace {

constexpr char kDecimalFallback = '.';
constexpr char kGroupFallback = ' ';

class Punctuation : public std::numpunct<char> {
public:
    Punctuation(char decimal, char group, const std::string& grouping)
        : m_decimal(decimal), m_group(group), m_grouping(grouping) {}

protected:
    char do_decimal_point() const override { return m_decimal; }
    char do_thousands_sep() const override { return m_group; }
    std::string do_grouping() const override { return m_grouping; }

private:
    char m_decimal;
    char m_group;
    std::string m_grouping;
};

// A separator must not be something a stream reads as part of the number itself, and a
// NUL would cut the text short in every window that shows it.
bool CanSeparate(char c) {
    return c != '\0' && (c < '0' || c > '9') && c != '+' && c != '-' && c != 'e' && c != 'E';
}

// A narrow program can only use a separator of one byte. Characters up to 0xFF keep their
// value (U+00A0, the no-break space, becomes 0xA0); anything beyond, such as the narrow
// no-break space U+202F some locales group with, cannot be one byte and takes the fallback.
char NarrowSeparator(const std::wstring& text, char fallback) {
    if (text.empty() || static_cast<std::uint32_t>(text[0]) > 0xFFu)
        return fallback;
    return static_cast<char>(static_cast<unsigned char>(text[0]));
}

// The first character of a formatted number that is not a digit, or the fallback.
char FirstNonDigit(const std::string& text, char fallback) {
    for (char c : text) {
        if (c < '0' || c > '9')
            return c;
    }
    return fallback;
}

template <typename Number> std::string Write(const std::locale& locale, Number value) {
    std::ostringstream out;
    out.imbue(locale);
    out << value;
    return out.str();
}

} // namespace

NumberFormat::NumberFormat(char decimalSeparator, char groupSeparator, const std::string& grouping)
    : m_decimal(CanSeparate(decimalSeparator) ? decimalSeparator : kDecimalFallback),
      m_group(CanSeparate(groupSeparator) ? groupSeparator : kGroupFallback) {
    std::string groups = grouping;
    if (m_group == m_decimal) {
        // A reader could not tell the two apart, so numbers are written without groups and
        // the group separator becomes one that differs from the decimal separator.
        groups.clear();
        m_group = m_decimal == ',' ? '.' : ',';
    }
    m_locale = std::locale(std::locale::classic(), new Punctuation(m_decimal, m_group, groups));
}

NumberFormat NumberFormat::Classic() {
    return NumberFormat('.', ',', "");
}

NumberFormat NumberFormat::FromWindows(const std::wstring& decimal, const std::wstring& group,
                                       const std::wstring& grouping) {
    // An empty group separator means the user wants numbers written without groups.
    std::string groups = group.empty() ? std::string() : GroupingFromWindows(grouping);
    return NumberFormat(NarrowSeparator(decimal, kDecimalFallback),
                        NarrowSeparator(group, kGroupFallback), groups);
}

std::string NumberFormat::FormatDouble(double value) const {
    return Write(m_locale, value);
}

std::string NumberFormat::FormatInteger(long long value) const {
    return Write(m_locale, value);
}

// The stream stores 0 when the text holds no number and the largest finite double, with its
// sign, when the number is beyond the range. Group separators between digits of the integer
// part are skipped, even where the grouping would not put them; one at the start or two in
// a row end the number with nothing read. Text that is empty or blank leaves the result
// untouched, hence the 0.0 it starts from.
double NumberFormat::Parse(const std::string& text) const {
    std::istringstream in(text);
    in.imbue(m_locale);
    double value = 0.0;
    in >> value;
    return value;
}

// Windows writes one digit per group size, from the decimal separator leftwards, separated
// by ';'. A final 0 repeats the size before it; without it, digits beyond the listed groups
// are not grouped, which numpunct says with CHAR_MAX. Anything unreadable ends the list.
std::string GroupingFromWindows(const std::wstring& windowsGrouping) {
    std::string grouping;
    for (std::size_t i = 0; i < windowsGrouping.size(); i += 2) {
        const wchar_t size = windowsGrouping[i];
        if (size < L'0' || size > L'9')
            break;
        if (i + 1 < windowsGrouping.size() && windowsGrouping[i + 1] != L';')
            break;
        if (size == L'0')
            return grouping;
        grouping += static_cast<char>(size - L'0');
    }
    if (!grouping.empty())
        grouping += static_cast<char>(CHAR_MAX);
    return grouping;
}

TypedSeparators TypedSeparatorsOf(const NumberFormat& format) {
    const char decimal = FirstNonDigit(format.FormatDouble(0.1), '.');
    char group = FirstNonDigit(format.FormatInteger(1000), ',');
    if (group == decimal)
        group = format.GroupSeparator() != decimal ? format.GroupSeparator() : '.';
    return {decimal, group};
}

} // namespace KelUtility
