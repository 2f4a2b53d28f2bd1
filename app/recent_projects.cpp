#include "app/recent_projects.h"

#include "toolkit/text_conversion.h"

#include <algorithm>

using KelUtility::ToNarrow;
using KelUtility::ToWide;

namespace MyApp {
namespace {

// Paths longer than this many characters are shortened in the menu.
constexpr std::size_t kShownLength = 48;
const std::wstring kEllipsis = L"...";

// Lower case for the letters of the alphabets file names are most often written in:
// Latin with its accented letters, Greek and Cyrillic.
wchar_t Folded(wchar_t c) {
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<wchar_t>(c + 0x50);
    if (c == 0x178)
        return 0xFF;
    const bool evenUpper =
        (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x460 && c <= 0x4BF);
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1))
        return static_cast<wchar_t>(c + 1);
    return c == L'/' ? L'\\' : c;
}

std::wstring FoldedPath(const std::string& path) {
    std::wstring wide = ToWide(path);
    std::transform(wide.begin(), wide.end(), wide.begin(), Folded);
    return wide;
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// "C:\" for a drive path, "\\server\share\" for a network one, "" for any other.
std::size_t RootLength(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]))
        return 3;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        std::size_t end = 2;
        for (int part = 0; part < 2 && end != std::wstring::npos; ++part) {
            end = path.find_first_of(L"\\/", end);
            if (end != std::wstring::npos)
                ++end;
        }
        return end == std::wstring::npos ? 0 : end;
    }
    return 0;
}

std::wstring Shortened(const std::wstring& path) {
    if (path.size() <= kShownLength)
        return path;
    const std::size_t root = RootLength(path);
    const std::wstring head = path.substr(0, root) + kEllipsis;
    // Whole parts from the end while they fit; the file name even when it does not.
    std::size_t start = path.find_last_of(L"\\/");
    if (start == std::wstring::npos || start < root)
        return path;
    for (;;) {
        if (start <= root)
            return path;
        const std::size_t previous = path.find_last_of(L"\\/", start - 1);
        if (previous == std::wstring::npos || previous < root ||
            head.size() + path.size() - previous > kShownLength)
            break;
        start = previous;
    }
    return head + path.substr(start);
}

} // namespace

RecentProjects::RecentProjects(const std::vector<std::string>& kept) {
    for (const std::string& path : kept) {
        if (m_paths.size() == kLength)
            break;
        const bool repeated = std::any_of(m_paths.begin(), m_paths.end(),
                                          [&](const auto& known) { return SamePath(known, path); });
        if (!path.empty() && !repeated)
            m_paths.push_back(path);
    }
}

void RecentProjects::Add(const std::string& path) {
    if (path.empty())
        return;
    Remove(path);
    m_paths.insert(m_paths.begin(), path);
    if (m_paths.size() > kLength)
        m_paths.resize(kLength);
}

void RecentProjects::Remove(const std::string& path) {
    m_paths.erase(std::remove_if(m_paths.begin(), m_paths.end(),
                                 [&](const std::string& known) { return SamePath(known, path); }),
                  m_paths.end());
}

bool SamePath(const std::string& first, const std::string& second) {
    return FoldedPath(first) == FoldedPath(second);
}

std::string RecentMenuText(std::size_t position, const std::string& path) {
    std::wstring shown;
    for (wchar_t c : Shortened(ToWide(path))) {
        shown += c;
        if (c == L'&')
            shown += L'&';
    }
    return "&" + std::to_string(position) + " " + ToNarrow(shown);
}

} // namespace MyApp
