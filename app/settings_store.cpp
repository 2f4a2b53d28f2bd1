#include "app/settings_store.h"

#include "toolkit/text_conversion.h"

#include <windows.h>

using KelUtility::ToNarrow;
using KelUtility::ToWide;

namespace MyApp {
namespace {

// A path is never longer; a longer value is not one the program wrote.
constexpr DWORD kLongestValue = 32768 * sizeof(wchar_t);
const char* const kPlacementValue = "WindowPlacement";

std::string RecentValue(std::size_t position) {
    return "Recent" + std::to_string(position + 1);
}

} // namespace

SettingsStore::SettingsStore(const std::string& keyPath) : m_keyPath(ToWide(keyPath)) {}

RecentProjects SettingsStore::ReadRecent() const {
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < RecentProjects::kLength; ++i)
        kept.push_back(ReadText(RecentValue(i)));
    return RecentProjects(kept);
}

void SettingsStore::WriteRecent(const RecentProjects& recent) const {
    const std::vector<std::string>& paths = recent.Paths();
    for (std::size_t i = 0; i < RecentProjects::kLength; ++i) {
        if (i < paths.size())
            WriteText(RecentValue(i), paths[i]);
        else
            DeleteValue(RecentValue(i));
    }
}

std::optional<WindowPlacement> SettingsStore::ReadPlacement() const {
    return PlacementFromText(ReadText(kPlacementValue));
}

void SettingsStore::WritePlacement(const WindowPlacement& placement) const {
    WriteText(kPlacementValue, PlacementText(placement));
}

bool SettingsStore::ReadLook(const std::string& name) const {
    return ReadText(name) == "1";
}

void SettingsStore::WriteLook(const std::string& name, bool on) const {
    WriteText(name, on ? "1" : "0");
}

std::string SettingsStore::ReadText(const std::string& name) const {
    const std::wstring valueName = ToWide(name);
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, m_keyPath.c_str(), valueName.c_str(), RRF_RT_REG_SZ,
                     nullptr, nullptr, &size) != ERROR_SUCCESS ||
        size > kLongestValue)
        return "";
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, m_keyPath.c_str(), valueName.c_str(), RRF_RT_REG_SZ,
                     nullptr, text.data(), &size) != ERROR_SUCCESS)
        return "";
    text.resize(wcsnlen(text.c_str(), text.size()));
    return ToNarrow(text);
}

void SettingsStore::WriteText(const std::string& name, const std::string& text) const {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    const std::wstring wide = ToWide(text);
    RegSetValueExW(key, ToWide(name).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void SettingsStore::DeleteValue(const std::string& name) const {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, m_keyPath.c_str(), ToWide(name).c_str());
}

} // namespace MyApp
