#pragma once

// A fresh folder for one test, removed with everything in it when the test ends.

#include <filesystem>
#include <string>
#include <vector>

class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // A narrow path to a name inside the folder.
    std::string File(const std::string& name) const { return (m_path / name).string(); }

    // Names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const;

    static std::string ReadBytes(const std::string& path);
    static void WriteBytes(const std::string& path, const std::string& bytes);

private:
    std::filesystem::path m_path;
};
