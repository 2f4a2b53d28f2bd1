#include "document/model_files.h"

#include "document/file_replace.h"
#include "document/reported_number.h"
#include "document/format_text.h"

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace MyApp {

bool FileExists(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenPath(path, "rb"), std::fclose);
    return file != nullptr;
}

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

std::size_t ElementBudget(std::size_t maxTriangles) {
    constexpr std::size_t kStreams = 4;
    constexpr std::size_t kVertices = 65535;
    const std::size_t most = SIZE_MAX / kStreams / 3 - kVertices;
    return kStreams * (3 * std::min(maxTriangles, most) + kVertices);
}

std::string TooManyTriangles(std::uint64_t triangles, std::size_t limit) {
    return "Il modello ha " + ReportedCount(triangles) + " triangoli, oltre il limite di " +
           ReportedCount(limit) + ".";
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

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

} // namespace

bool IsAbsolutePath(const std::string& path) {
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) ||
           (path.size() > 1 && path[1] == ':');
}

std::string JoinedPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || IsAbsolutePath(name))
        return name;
    const bool backslashes =
        folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
    std::string joined = folder;
    if (!IsSeparator(joined.back()))
        joined += backslashes ? '\\' : '/';
    for (char c : name)
        joined += backslashes && c == '/' ? '\\' : c;
    return joined;
}

std::string TextureNameFrom(const std::string& folder, const std::string& texture) {
    // Only ASCII letters are folded: that is what the prefix of a path differs by in
    // practice, and it does not depend on the user's locale.
    std::size_t length = folder.size();
    while (length > 0 && IsSeparator(folder[length - 1]))
        --length;
    if (folder.empty() || texture.size() <= length || !IsSeparator(texture[length]))
        return texture;
    for (std::size_t i = 0; i < length; ++i) {
        const bool same = IsSeparator(folder[i]) ? IsSeparator(texture[i])
                                                 : AsciiLower(folder[i]) == AsciiLower(texture[i]);
        if (!same)
            return texture;
    }
    const std::size_t start = texture.find_first_not_of("/\\", length);
    if (start == std::string::npos)
        return texture;
    std::string name = texture.substr(start);
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
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
