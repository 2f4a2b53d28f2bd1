#include "toolkit/number_format.h"

#include "toolkit/text_conversion.h"

#include <climits>
#include <sstream>

namespace KelUtility {
namespace {

constexpr char32_t kDecimalFallback = '.';
constexpr char32_t kGroupFallback = ' ';
// The stream writes one byte per separator; these stand in for the real characters, which
// may take several bytes of UTF-8, and are replaced as soon as the stream has written.
constexpr char kDecimalStandIn = '\x01';
constexpr char kGroupStandIn = '\x02';

class Punctuation : public std::numpunct<char> {
public:
    explicit Punctuation(const std::string& grouping) : m_grouping(grouping) {}

protected:
    char do_decimal_point() const override { return kDecimalStandIn; }
    char do_thousands_sep() const override { return kGroupStandIn; }
    std::string do_grouping() const override { return m_grouping; }

private:
    std::string m_grouping;
};

// A separator must not be something a reader takes for part of the number itself. A
// control character would not show, and one beyond 16 bits would not arrive as one typed
// unit.
bool CanSeparate(char32_t c) {
    const bool control = c < 0x20 || c == 0x7F;
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    const bool numeric = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'e' || c == 'E';
    return !control && !surrogate && !numeric && c <= 0xFFFF;
}

char32_t FirstCharacter(const std::wstring& text, char32_t fallback) {
    return text.empty() ? fallback : static_cast<char32_t>(text[0]);
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

template <typename Number> std::string Write(const std::locale& locale, Number value) {
    std::ostringstream out;
    out.imbue(locale);
    out << value;
    return out.str();
}

std::string Utf8Of(char32_t c) { return ToNarrow(std::wstring(1, static_cast<wchar_t>(c))); }

} // namespace

NumberFormat::NumberFormat(char32_t decimalSeparator, char32_t groupSeparator,
                           const std::string& grouping)
    : m_decimal(CanSeparate(decimalSeparator) ? decimalSeparator : kDecimalFallback),
      m_group(CanSeparate(groupSeparator) ? groupSeparator : kGroupFallback),
      m_grouping(grouping) {
    if (m_group == m_decimal) {
        // A reader could not tell the two apart, so numbers are written without groups and
        // the group separator becomes one that differs from the decimal separator.
        m_grouping.clear();
        m_group = m_decimal == ',' ? '.' : ',';
    }
    m_locale = std::locale(std::locale::classic(), new Punctuation(m_grouping));
}

NumberFormat NumberFormat::Classic() {
    return NumberFormat('.', ',', "");
}

NumberFormat NumberFormat::FromWindows(const std::wstring& decimal, const std::wstring& group,
                                       const std::wstring& grouping) {
    // An empty group separator means the user wants numbers written without groups.
    std::string groups = group.empty() ? std::string() : GroupingFromWindows(grouping);
    return NumberFormat(FirstCharacter(decimal, kDecimalFallback),
                        FirstCharacter(group, kGroupFallback), groups);
}

std::string NumberFormat::WithSeparators(const std::string& written) const {
    std::string text;
    text.reserve(written.size() + 4);
    for (char c : written) {
        if (c == kDecimalStandIn)
            text += Utf8Of(m_decimal);
        else if (c == kGroupStandIn)
            text += Utf8Of(m_group);
        else
            text += c;
    }
    return text;
}

std::string NumberFormat::FormatDouble(double value) const {
    return WithSeparators(Write(m_locale, value));
}

std::string NumberFormat::FormatInteger(long long value) const {
    return WithSeparators(Write(m_locale, value));
}

std::string NumberFormat::FormatFixed(double value, int decimals) const {
    std::ostringstream out;
    out.imbue(m_locale);
    out.setf(std::ios::fixed, std::ios::floatfield);
    out.precision(decimals);
    out << value;
    return WithSeparators(out.str());
}

// In numpunct's grouping the last size repeats, and a size of 0, a negative one or
// CHAR_MAX ends the grouping: digits beyond it are not grouped.
int NumberFormat::GroupSize(std::size_t place) const {
    int size = 0;
    for (std::size_t j = 0; j <= place && j < m_grouping.size(); ++j) {
        const char c = m_grouping[j];
        if (c <= 0 || c == CHAR_MAX)
            return 0;
        size = c;
    }
    return size;
}

// Every group but the leftmost holds exactly the size of its place; the leftmost holds at
// least one digit and, where the digits are grouped, no more than that size.
bool NumberFormat::GroupedAsWritten(const std::vector<std::size_t>& lengths) const {
    const std::size_t count = lengths.size();
    for (std::size_t place = 0; place + 1 < count; ++place) {
        const int size = GroupSize(place);
        if (size == 0 || lengths[count - 1 - place] != static_cast<std::size_t>(size))
            return false;
    }
    const int leftmost = GroupSize(count - 1);
    return lengths[0] >= 1 && (leftmost == 0 || lengths[0] <= static_cast<std::size_t>(leftmost));
}

// The number is rewritten in the classic form and read by a classic stream, which stores
// the largest finite double, with its sign, for a number beyond the range.
double NumberFormat::Parse(const std::string& text) const {
    const std::wstring t = ToWide(text);
    const auto group = static_cast<wchar_t>(m_group);
    const auto decimal = static_cast<wchar_t>(m_decimal);
    std::size_t i = 0;
    while (i < t.size() && IsBlank(t[i]))
        ++i;
    std::string plain;
    if (i < t.size() && (t[i] == L'-' || t[i] == L'+'))
        plain += static_cast<char>(t[i++]);

    std::string integer;
    std::vector<std::size_t> groups(1, 0);
    for (; i < t.size(); ++i) {
        if (IsDigit(t[i])) {
            integer += static_cast<char>(t[i]);
            ++groups.back();
        } else if (t[i] == group && groups.back() > 0 && i + 1 < t.size() &&
                   IsDigit(t[i + 1])) {
            groups.push_back(0);
        } else {
            break;
        }
    }
    if (groups.size() > 1 && !GroupedAsWritten(groups)) {
        // The number ends at the misplaced separator.
        plain += integer.substr(0, groups[0]);
        i = t.size();
    } else {
        plain += integer;
    }

    std::string fraction;
    if (i < t.size() && t[i] == decimal) {
        for (++i; i < t.size() && IsDigit(t[i]); ++i)
            fraction += static_cast<char>(t[i]);
    }
    if (integer.empty() && fraction.empty())
        return 0.0;
    if (!fraction.empty())
        plain += "." + fraction;

    if (i < t.size() && (t[i] == L'e' || t[i] == L'E')) {
        std::size_t at = i + 1;
        std::string exponent = "e";
        if (at < t.size() && (t[at] == L'-' || t[at] == L'+'))
            exponent += static_cast<char>(t[at++]);
        const std::size_t firstDigit = at;
        for (; at < t.size() && IsDigit(t[at]); ++at)
            exponent += static_cast<char>(t[at]);
        if (at > firstDigit)
            plain += exponent;
    }

    std::istringstream in(plain);
    in.imbue(std::locale::classic());
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

} // namespace KelUtility
