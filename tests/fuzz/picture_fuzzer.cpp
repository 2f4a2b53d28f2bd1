// Feeds arbitrary bytes to the picture path alone: the header reader and its limits, and a
// texture file's conversion for a glTF file, written as a .tga when the first byte is odd
// (a TGA has no signature) and as a .bmp otherwise. A conversion must give a PNG of the
// size the header states. Pictures that would decode to more than 256 KB are only told from
// their header, so that each input takes a moment.

#include "document/model_pictures.h"
#include "document/picture_header.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

constexpr std::uint64_t kDecodedAtMost = std::uint64_t{256} << 10;

std::string ScratchPath(const char* extension) {
    return "/tmp/kel-picture-fuzz-" + std::to_string(getpid()) + extension;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool tga = size > 0 && (data[0] & 1) != 0;
    const MyApp::PictureHeader header = MyApp::ReadPictureHeader(bytes, tga);
    const std::string problem = MyApp::PictureSizeProblem(header);
    if (!problem.empty() || !MyApp::PictureSizeProblem(header, kDecodedAtMost).empty())
        return 0;

    static const std::string tgaPath = ScratchPath(".tga");
    static const std::string bmpPath = ScratchPath(".bmp");
    const std::string& path = tga ? tgaPath : bmpPath;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    std::string carried;
    std::string reason;
    if (!MyApp::PictureToCarry(path, carried, reason)) {
        if (reason.empty())
            std::abort();
        return 0;
    }
    const MyApp::PictureHeader written = MyApp::ReadPictureHeader(carried);
    if (written.kind == MyApp::PictureKind::Unknown || written.width != header.width ||
        written.height != header.height)
        std::abort();
    return 0;
}
