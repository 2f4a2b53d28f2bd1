#include "document/model_pictures.h"

#include "document/model_files.h"
#include "document/safe_save.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace MyApp {
namespace {

// A texture is read whole; a picture file past this is no texture a preview could hold.
constexpr std::size_t kMaxPictureBytes = std::size_t{256} << 20;
// Names tried before giving up: "progetto.png", "progetto (2).png", ...
constexpr int kNamesTried = 100;
// The largest texture Direct3D 9 hardware takes; a picture past it is built to exhaust the
// memory, not to be shown, and is refused before it is decoded.
constexpr int kMaxPictureSide = 16384;

std::string& Folder() {
    static std::string folder;
    return folder;
}

// FNV-1a over the bytes: equal pictures get one name, and a new picture practically never
// meets an old one's.
std::string ContentName(const std::string& bytes) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (unsigned char byte : bytes)
        hash = (hash ^ byte) * 0x100000001B3ull;
    char name[32];
    std::snprintf(name, sizeof name, "texture-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

std::string WithoutExtension(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    return dot == std::string::npos || (slash != std::string::npos && dot < slash)
               ? path
               : path.substr(0, dot);
}

// Whether path holds exactly these bytes; a missing file does not.
bool Holds(const std::string& path, const std::string& bytes) {
    std::string there;
    return ReadWholeFile(path, there, bytes.size()) && there == bytes;
}

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::u8path(path), error);
}

bool Write(const std::string& path, const std::string& bytes, std::string& problem) {
    std::string reason;
    if (SafeSaveBytes(path, bytes.data(), bytes.size(), &reason))
        return true;
    problem = "impossibile scrivere " + path + ": " + reason;
    return false;
}

void AppendBytes(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
}

// The picture as a PNG or JPEG: those as they are, any other kind stb_image reads converted
// to PNG. False, with the reason as the rest of a sentence, for what it cannot read and
// for a picture larger than kMaxPictureSide, told from its header alone.
bool AsPngOrJpeg(std::string& bytes, std::string& problem) {
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    int width = 0;
    int height = 0;
    int channels = 0;
    const bool known = bytes.size() <= INT_MAX &&
                       stbi_info_from_memory(data, size, &width, &height, &channels) != 0;
    if (known && (width > kMaxPictureSide || height > kMaxPictureSide)) {
        problem = "misura " + std::to_string(width) + " \xC3\x97 " + std::to_string(height) +
                  " pixel, oltre il massimo di " + std::to_string(kMaxPictureSide) + " per lato";
        return false;
    }
    if (!PictureExtension(bytes).empty())
        return true;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        known ? stbi_load_from_memory(data, size, &width, &height, &channels, 0) : nullptr,
        stbi_image_free);
    std::string png;
    if (pixels == nullptr || !stbi_write_png_to_func(AppendBytes, &png, width, height, channels,
                                                     pixels.get(), width * channels)) {
        problem = "non \xC3\xA8 un'immagine PNG, JPEG, BMP, TGA, GIF, HDR o PNM";
        return false;
    }
    bytes = std::move(png);
    return true;
}

} // namespace

void SetPictureFolder(const std::string& folder) {
    Folder() = folder;
}

const std::string& PictureFolder() {
    return Folder();
}

std::string PictureExtension(std::string_view bytes) {
    if (bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1A\n", 8))
        return ".png";
    if (bytes.substr(0, 3) == "\xFF\xD8\xFF")
        return ".jpg";
    return "";
}

// A name already taken by other bytes (the hash is no proof) is never written over: a
// document may name that picture.
bool KeepPicture(const std::string& bytes, std::string& path, std::string& problem) {
    std::string picture = bytes;
    if (!AsPngOrJpeg(picture, problem)) {
        problem = "l'immagine contenuta nel modello " + problem;
        return false;
    }
    if (Folder().empty()) {
        problem = "manca la cartella in cui conservare l'immagine contenuta nel modello";
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::u8path(Folder()), error);
    const std::string stem = JoinedPath(Folder(), ContentName(picture));
    for (int copy = 1; copy <= kNamesTried; ++copy) {
        path = stem + (copy == 1 ? "" : "-" + std::to_string(copy)) + PictureExtension(picture);
        if (!Exists(path))
            return Write(path, picture, problem);
        if (Holds(path, picture))
            return true;
    }
    problem = "troppe immagini diverse con lo stesso nome in " + Folder();
    return false;
}

bool IsKeptPicture(const std::string& path) {
    if (Folder().empty())
        return false;
    const std::string name = TextureNameFrom(Folder(), path);
    return name != path && name.find('/') == std::string::npos;
}

ResolvedName ProjectTexture(const std::string& projectFolder, const std::string& texture,
                            NameScope scope) {
    ResolvedName seen = ResolveName(projectFolder, texture, scope);
    if (seen.refusal == NameRefusal::None && !projectFolder.empty() &&
        !IsAbsolutePath(texture) && !Exists(seen.path))
        seen = ResolveName("", texture, scope);
    return seen;
}

bool CopyPictureBeside(const std::string& filePath, const std::string& picture,
                       std::string& name, std::string& problem) {
    std::string bytes;
    if (!ReadWholeFile(picture, bytes, kMaxPictureBytes)) {
        problem = "impossibile leggere " + picture;
        return false;
    }
    // A picture of another kind (a user's BMP or TGA) keeps its own extension.
    std::string extension = PictureExtension(bytes);
    if (extension.empty())
        extension = picture.substr(WithoutExtension(picture).size());
    const std::string stem = WithoutExtension(filePath);
    for (int copy = 1; copy <= kNamesTried; ++copy) {
        const std::string path =
            stem + (copy == 1 ? "" : " (" + std::to_string(copy) + ")") + extension;
        if (Exists(path) && !Holds(path, bytes))
            continue;
        name = FileNameOf(path);
        return Holds(path, bytes) || Write(path, bytes, problem);
    }
    problem = "troppe immagini con il nome di " + FileNameOf(stem);
    return false;
}

bool PictureToCarry(const std::string& path, std::string& bytes, std::string& problem) {
    if (!ReadWholeFile(path, bytes, kMaxPictureBytes)) {
        problem = "impossibile leggere " + path;
        return false;
    }
    if (AsPngOrJpeg(bytes, problem))
        return true;
    problem = path + " " + problem;
    return false;
}

} // namespace MyApp
