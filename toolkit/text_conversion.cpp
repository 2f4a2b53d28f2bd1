#include "toolkit/text_conversion.h"

namespace KelUtility {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0u) == 0x80u; }

// The code point of the well-formed sequence at text[at], its length in length; false when
// the bytes there are not one (overlong forms and surrogates included).
bool DecodeUtf8(const std::string& text, std::size_t at, char32_t& point, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[at]);
    char32_t minimum = 0;
    if (lead < 0x80u) {
        point = lead;
        length = 1;
        return true;
    }
    if ((lead & 0xE0u) == 0xC0u) {
        point = lead & 0x1Fu, length = 2, minimum = 0x80;
    } else if ((lead & 0xF0u) == 0xE0u) {
        point = lead & 0x0Fu, length = 3, minimum = 0x800;
    } else if ((lead & 0xF8u) == 0xF0u) {
        point = lead & 0x07u, length = 4, minimum = 0x10000;
    } else {
        return false;
    }
    if (text.size() - at < length)
        return false;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(next))
            return false;
        point = (point << 6) | (next & 0x3Fu);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point >= minimum && point <= kLastCodePoint && !surrogate;
}

void AppendWide(std::wstring& wide, char32_t point) {
    if (sizeof(wchar_t) == 2 && point > 0xFFFF) {
        point -= 0x10000;
        wide += static_cast<wchar_t>(0xD800 + (point >> 10));
        wide += static_cast<wchar_t>(0xDC00 + (point & 0x3FF));
    } else {
        wide += static_cast<wchar_t>(point);
    }
}

void AppendUtf8(std::string& narrow, char32_t point) {
    if (point < 0x80) {
        narrow += static_cast<char>(point);
    } else if (point < 0x800) {
        narrow += static_cast<char>(0xC0 | (point >> 6));
        narrow += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        narrow += static_cast<char>(0xE0 | (point >> 12));
        narrow += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        narrow += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        narrow += static_cast<char>(0xF0 | (point >> 18));
        narrow += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        narrow += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        narrow += static_cast<char>(0x80 | (point & 0x3F));
    }
}

// The code point of the unit at text[at], joined with its pair on a two-unit wchar_t.
char32_t WideCodePoint(const std::wstring& text, std::size_t& at) {
    const auto unit = static_cast<char32_t>(text[at]);
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high && at + 1 < text.size()) {
        const auto next = static_cast<char32_t>(text[at + 1]);
        if (next >= 0xDC00 && next <= 0xDFFF) {
            ++at;
            return 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
        }
    }
    return high || low || unit > kLastCodePoint ? kReplacement : unit;
}

} // namespace

std::wstring ToWide(const std::string& text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        char32_t point = 0;
        std::size_t length = 1;
        if (!DecodeUtf8(text, at, point, length)) {
            point = static_cast<unsigned char>(text[at]);
            length = 1;
        }
        AppendWide(wide, point);
        at += length;
    }
    return wide;
}

std::string ToNarrow(const std::wstring& text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at)
        AppendUtf8(narrow, WideCodePoint(text, at));
    return narrow;
}

} // namespace KelUtility
