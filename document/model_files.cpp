#include "document/model_files.h"

#include "document/file_replace.h"

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <cstring>
#include <memory>

namespace MyApp {

bool ReadWholeFile(const std::string& path, std::string& bytes, std::size_t limit) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenPath(path, "rb"), std::fclose);
    if (!file)
        return false;
    bytes.clear();
    char block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
        if (bytes.size() + got > limit)
            return false;
        bytes.append(block, got);
    }
    return !std::ferror(file.get());
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::string quoted = "\"";
    quoted.append(text.substr(0, kShown));
    if (text.size() > kShown)
        quoted.append("...");
    return quoted.append("\"");
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool IsAbsolutePath(const std::string& path) {
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) ||
           (path.size() > 1 && path[1] == ':');
}

std::string JoinedPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || IsAbsolutePath(name))
        return name;
    const char last = folder.back();
    return last == '/' || last == '\\' ? folder + name : folder + '/' + name;
}

void AppendLittleEndian(std::string& out, std::uint32_t word, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((word >> (8 * i)) & 0xFFu));
}

void AppendFloat(std::string& out, double value) {
    const float single = static_cast<float>(std::clamp(value, -double{FLT_MAX}, double{FLT_MAX}));
    std::uint32_t bits;
    std::memcpy(&bits, &single, sizeof bits);
    AppendLittleEndian(out, bits, 4);
}

std::vector<std::size_t> WritableTriangles(const ModelMesh& mesh) {
    const auto inside = [&](std::size_t corner) { return mesh.indices[corner] < mesh.vertices.size(); };
    std::vector<std::size_t> triangles;
    for (std::size_t i = 0; i + 3 <= mesh.indices.size(); i += 3) {
        if (inside(i) && inside(i + 1) && inside(i + 2))
            triangles.push_back(i);
    }
    return triangles;
}

} // namespace MyApp
