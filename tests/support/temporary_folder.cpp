#include "tests/support/temporary_folder.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

TemporaryFolder::TemporaryFolder() {
    std::random_device entropy;
    const auto base = std::filesystem::temp_directory_path();
    do {
        m_path = base / ("kel-test-" + std::to_string(entropy()));
    } while (!std::filesystem::create_directory(m_path));
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::vector<std::string> TemporaryFolder::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string TemporaryFolder::ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void TemporaryFolder::WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
