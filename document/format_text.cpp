#include "document/format_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace MyApp {

bool ParseNumber(std::string_view word, double& value) {
    // std::from_chars takes a '-' but no '+', which many writers put before exponents
    // and some before numbers.
    if (word.size() > 1 && word[0] == '+' && word[1] != '-')
        word.remove_prefix(1);
    const char* end = word.data() + word.size();
    const auto result = std::from_chars(word.data(), end, value);
    return !word.empty() && result.ec == std::errc() && result.ptr == end;
}

bool ParseFiniteNumber(std::string_view word, double& value) {
    return ParseNumber(word, value) && std::isfinite(value);
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered)
        c = AsciiLower(c);
    return lowered;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

std::string UnreadableFileMessage(const std::string& path) {
    return "Impossibile leggere il file.\n" + path;
}

} // namespace MyApp
