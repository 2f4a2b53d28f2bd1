#pragma once

// The projects the user opened or saved last, newest first, as the File menu lists them.
// Paths are compared as Windows compares file names: without regard to case, and with
// either slash.

#include <cstddef>
#include <string>
#include <vector>

namespace MyApp {

class RecentProjects {
public:
    static constexpr std::size_t kLength = 4;

    RecentProjects() = default;
    // The list as it was kept: blank entries, repeats and entries past the fourth are left
    // out, so a damaged list still gives a sound one.
    explicit RecentProjects(const std::vector<std::string>& kept);

    // The path goes first; an entry naming the same file leaves its place for it.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& Paths() const { return m_paths; }

private:
    std::vector<std::string> m_paths;
};

// Whether the two paths name the same file on Windows.
bool SamePath(const std::string& first, const std::string& second);

// The entry's menu text: "&1 C:\...\progetto.kv3", the position from 1, then the path;
// a long path keeps its root and as many of its last parts as fit, the file name always,
// and an ampersand in it shows as itself.
std::string RecentMenuText(std::size_t position, const std::string& path);

} // namespace MyApp
