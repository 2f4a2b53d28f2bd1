// Feeds arbitrary bytes to the whole import of a glTF file, as a user's import takes it:
// written to a .glb or .gltf file (by the GLB signature) in a scratch folder, then
// ImportModel with a picture folder set. It must never read out of bounds, and whatever it
// keeps in the picture folder must be a PNG or JPEG within the limits; a GLB without
// base64 text can only have given pictures that are some of its own bytes.

#include "document/model_import.h"
#include "document/model_pictures.h"
#include "document/picture_header.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path ScratchFolder() {
    const fs::path folder =
        fs::temp_directory_path() / ("kel-import-fuzz-" + std::to_string(getpid()));
    fs::create_directories(folder);
    return folder;
}

std::string BytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path folder = ScratchFolder();
    static const fs::path pictures = folder / "immagini";
    MyApp::SetPictureFolder(pictures.string());
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool binary = bytes.compare(0, 4, "glTF") == 0;
    const fs::path model = folder / (binary ? "modello.glb" : "modello.gltf");
    std::FILE* out = std::fopen(model.string().c_str(), "wb");
    if (out == nullptr)
        return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    MyApp::MeshDocument document;
    std::string message;
    if (!MyApp::ImportModel(model.string(), document, message) && message.empty())
        std::abort();
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(pictures, error)) {
        const std::string picture = BytesOf(entry.path());
        const MyApp::PictureHeader header = MyApp::ReadPictureHeader(picture);
        if ((header.kind != MyApp::PictureKind::Png && header.kind != MyApp::PictureKind::Jpeg) ||
            !MyApp::PictureSizeProblem(header).empty())
            std::abort();
        if (binary && bytes.find("base64") == std::string::npos &&
            bytes.find(picture) == std::string::npos)
            std::abort();
    }
    fs::remove_all(pictures, error);
    fs::remove(model, error);
    return 0;
}
