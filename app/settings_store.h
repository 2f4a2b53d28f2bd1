#pragma once

// What the editor remembers for the user between runs, kept under a key of
// HKEY_CURRENT_USER: the recent projects, one string value each ("Recent1" newest), and the
// main window's placement ("WindowPlacement", as window_placement.h writes it), and the
// preview's looks. A missing
// key, a value of another type or one too long reads as nothing kept; writing fails
// silently, as remembering is a courtesy and never stops the work.

#include "app/recent_projects.h"
#include "app/window_placement.h"

#include <optional>
#include <string>

namespace MyApp {

// Where the program keeps its settings.
inline const char* const kSettingsKey = "Software\\Kel Morvane\\Kel Morvane";

class SettingsStore {
public:
    explicit SettingsStore(const std::string& keyPath);

    RecentProjects ReadRecent() const;
    void WriteRecent(const RecentProjects& recent) const;
    std::optional<WindowPlacement> ReadPlacement() const;
    void WritePlacement(const WindowPlacement& placement) const;
    // The preview's looks, each a value of its own ("Ombreggiato", "Spigoli": "1" or
    // "0"); off when missing.
    bool ReadLook(const std::string& name) const;
    void WriteLook(const std::string& name, bool on) const;

private:
    std::string ReadText(const std::string& name) const;
    void WriteText(const std::string& name, const std::string& text) const;
    void DeleteValue(const std::string& name) const;

    std::wstring m_keyPath;
};

} // namespace MyApp
