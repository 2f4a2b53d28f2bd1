#include "document/model_pictures.h"

#include "document/format_text.h"
#include "document/model_files.h"
#include "document/picture_header.h"
#include "document/safe_save.h"

#include <cstdlib>

// stb_image decodes only the kinds of texture file a glTF file cannot carry as they are:
// PNG and JPEG go as they are, and a picture inside a model is never decoded. Pixels start
// zeroed, so that a file cut short gives black, never memory's old contents.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_PNM
#define STBI_ONLY_HDR
#define STBI_MAX_DIMENSIONS 16384
#define STBI_MALLOC(size) std::calloc(1, size)
#define STBI_REALLOC(pointer, size) std::realloc(pointer, size)
#define STBI_FREE(pointer) std::free(pointer)
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

bool IsPngOrJpeg(const PictureHeader& header) {
    return header.kind == PictureKind::Png || header.kind == PictureKind::Jpeg;
}

// The picture as a PNG or JPEG: those as they are, a BMP, TGA, PNM or HDR picture decoded
// and converted to PNG. Its size is told from its header and checked before anything is
// decoded. False, with the reason as the rest of a sentence.
bool AsPngOrJpeg(std::string& bytes, bool maybeTga, std::string& problem) {
    const PictureHeader header = ReadPictureHeader(bytes, maybeTga);
    if (header.kind == PictureKind::Unknown || bytes.size() > INT_MAX) {
        problem = "non \xC3\xA8 un'immagine PNG, JPEG, BMP, TGA, HDR o PNM";
        return false;
    }
    problem = PictureSizeProblem(header);
    if (!problem.empty())
        return false;
    if (IsPngOrJpeg(header))
        return true;
    if (header.wholeLength > bytes.size()) {
        problem = "\xC3\xA8 troncata: " + std::to_string(bytes.size()) + " byte invece di " +
                  std::to_string(header.wholeLength);
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                              static_cast<int>(bytes.size()), &width, &height, &channels, 0),
        stbi_image_free);
    std::string png;
    // The decoder must have found the size the header states, which was checked.
    if (pixels == nullptr || width != header.width || height != header.height ||
        !stbi_write_png_to_func(AppendBytes, &png, width, height, channels, pixels.get(),
                                width * channels)) {
        problem = "non si pu\xC3\xB2 leggere come immagine";
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
    const PictureHeader header = ReadPictureHeader(bytes);
    problem = IsPngOrJpeg(header) ? PictureSizeProblem(header)
                                  : "non \xC3\xA8 un'immagine PNG o JPEG";
    if (!problem.empty()) {
        problem = "l'immagine contenuta nel modello " + problem;
        return false;
    }
    if (Folder().empty()) {
        problem = "manca la cartella in cui conservare l'immagine contenuta nel modello";
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::u8path(Folder()), error);
    const std::string stem = JoinedPath(Folder(), ContentName(bytes));
    for (int copy = 1; copy <= kNamesTried; ++copy) {
        path = stem + (copy == 1 ? "" : "-" + std::to_string(copy)) + PictureExtension(bytes);
        if (!Exists(path))
            return Write(path, bytes, problem);
        if (Holds(path, bytes))
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
    const std::size_t dot = path.find_last_of('.');
    const bool namedTga =
        dot != std::string::npos && AsciiLowered(std::string_view(path).substr(dot)) == ".tga";
    if (AsPngOrJpeg(bytes, namedTga, problem))
        return true;
    problem = path + " " + problem;
    return false;
}

} // namespace MyApp
