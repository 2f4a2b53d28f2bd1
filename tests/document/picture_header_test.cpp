// Pictures told by their headers alone, and pictures inside glTF files: a buffer view that
// leaves its buffer, and pictures whose headers are hostile, are refused before any byte
// of them is copied or written.

#include "document/gltf_format.h"
#include "document/model_import.h"
#include "document/model_pictures.h"
#include "document/picture_header.h"

#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

using namespace MyApp;

namespace {

std::string Word(std::uint32_t value, int bytes, bool bigEndian) {
    std::string text;
    for (int i = 0; i < bytes; ++i)
        text += static_cast<char>(value >> (8 * (bigEndian ? bytes - 1 - i : i)) & 0xFF);
    return text;
}

// A PNG's signature and IHDR chunk; what follows does not matter to the header.
std::string PngHeader(std::uint32_t width, std::uint32_t height) {
    return std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) + Word(width, 4, true) +
           Word(height, 4, true) + std::string("\x08\x06\0\0\0", 5) + "crc.";
}

// A JFIF JPEG up to its frame header (`frame` is the marker: C0 baseline, C2 progressive).
std::string JpegHeader(std::uint16_t width, std::uint16_t height, unsigned char frame = 0xC0) {
    const std::string app0 = std::string("\xFF\xE0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 18);
    const std::string table = std::string("\xFF\xC4\0\x05\0\0\0", 7);
    return "\xFF\xD8" + app0 + "\xFF\xFF" + table + "\xFF" + static_cast<char>(frame) +
           std::string("\0\x11\x08", 3) + Word(height, 2, true) + Word(width, 2, true) + "\x03";
}

std::string BmpHeader(std::int32_t width, std::int32_t height) {
    return "BM" + Word(0, 4, false) + Word(0, 4, false) + Word(54, 4, false) + Word(40, 4, false) +
           Word(static_cast<std::uint32_t>(width), 4, false) +
           Word(static_cast<std::uint32_t>(height), 4, false) + Word(1, 2, false) +
           Word(24, 2, false) + std::string(24, '\0');
}

std::string TgaHeader(std::uint16_t width, std::uint16_t height) {
    return std::string("\0\0\x0A", 3) + std::string(9, '\0') + Word(width, 2, false) +
           Word(height, 2, false) + "\x20\x08";
}

struct HeaderCase {
    const char* name;
    std::string bytes;
    bool maybeTga;
    PictureKind kind;
    bool readable;
    std::int64_t width, height;
    const char* problem; // a part of PictureSizeProblem's text; "" for none
};

} // namespace

TEST(PictureHeader, SizesComeFromTheHeaderAndHostileOnesAreRefused) {
    using K = PictureKind;
    const std::string png = PngHeader(640, 480);
    const std::string jpeg = JpegHeader(800, 600);
    const HeaderCase cases[] = {
        {"png", png, false, K::Png, true, 640, 480, ""},
        {"png cut in its IHDR", png.substr(0, 20), false, K::Png, false, 0, 0, "intestazione"},
        {"png 0 wide", PngHeader(0, 16), false, K::Png, true, 0, 16, "misura 0 \xC3\x97 16"},
        {"png past a side", PngHeader(16385, 1), false, K::Png, true, 16385, 1, "16384 per lato"},
        {"png of 2^32-1", PngHeader(0xFFFFFFFF, 1), false, K::Png, true, 0xFFFFFFFF, 1, "per lato"},
        {"png past the budget", PngHeader(9000, 9000), false, K::Png, true, 9000, 9000, "256 MB"},
        {"png at the budget", PngHeader(8192, 8192), false, K::Png, true, 8192, 8192, ""},
        {"jpeg", jpeg, false, K::Jpeg, true, 800, 600, ""},
        {"progressive jpeg", JpegHeader(3, 2, 0xC2), false, K::Jpeg, true, 3, 2, ""},
        {"jpeg of a height given later", JpegHeader(8, 0), false, K::Jpeg, false, 0, 0,
         "intestazione"},
        {"jpeg cut in its frame", jpeg.substr(0, jpeg.size() - 3), false, K::Jpeg, false, 0, 0,
         "intestazione"},
        {"jpeg cut in a segment", jpeg.substr(0, 12), false, K::Jpeg, false, 0, 0, "intestazione"},
        {"jpeg scan before any frame", std::string("\xFF\xD8\xFF\xDA\0\x08", 6) + jpeg, false,
         K::Jpeg, false, 0, 0, "intestazione"},
        {"top-down bmp", BmpHeader(4, -3), false, K::Bmp, true, 4, 3, ""},
        {"bmp of a huge top-down height", BmpHeader(16384, -32767), false, K::Bmp, true, 16384,
         32767, "per lato"},
        {"bmp of the least height", BmpHeader(1, INT32_MIN), false, K::Bmp, true, 1,
         std::int64_t{1} << 31, "per lato"},
        {"bmp of a negative width", BmpHeader(-5, 2), false, K::Bmp, true, -5, 2, "negativo"},
        {"os/2 bmp",
         "BM" + std::string(12, '\0') + Word(12, 4, false) + Word(7, 2, false) + Word(9, 2, false) +
             std::string(4, '\0'),
         false, K::Bmp, true, 7, 9, ""},
        {"tga", TgaHeader(16384, 16384), true, K::Tga, true, 16384, 16384, "256 MB"},
        {"tga not named so", TgaHeader(2, 2), false, K::Unknown, false, 0, 0, "intestazione"},
        {"pnm with a comment", "P6\n# made by hand\n12 34\n255\n", false, K::Pnm, true, 12, 34, ""},
        {"pnm of no levels", "P5 1 1 0\n", false, K::Pnm, false, 0, 0, "intestazione"},
        {"pnm of endless digits", "P6 99999999999999999999999 1 255\n", false, K::Pnm, true,
         std::int64_t{1} << 40, 1, "per lato"},
        {"hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 5 +X 7\n", false, K::Hdr, true, 7, 5, ""},
        {"hdr of rows upwards", "#?RADIANCE\n\n+Y 5 +X 7\n", false, K::Hdr, false, 0, 0,
         "intestazione"},
        {"gif", "GIF89a\x01\0\x01\0", false, K::Unknown, false, 0, 0, "intestazione"},
        {"nothing", "", true, K::Unknown, false, 0, 0, "intestazione"},
    };
    for (const HeaderCase& c : cases) {
        const PictureHeader header = ReadPictureHeader(c.bytes, c.maybeTga);
        EXPECT_EQ(header.kind, c.kind) << c.name;
        EXPECT_EQ(header.readable, c.readable) << c.name;
        if (c.readable) {
            EXPECT_EQ(std::pair(header.width, header.height), std::pair(c.width, c.height))
                << c.name;
        }
        const std::string problem = PictureSizeProblem(header);
        EXPECT_TRUE(*c.problem ? problem.find(c.problem) != std::string::npos : problem.empty())
            << c.name << ": " << problem;
    }
}

namespace {

// A GLB of one textured triangle whose image is the buffer view at `offset` of `length`
// bytes (by default `picture` itself) in a binary chunk holding the positions and then
// `picture`.
std::string TexturedGlb(const std::string& picture, std::uint64_t offset = 36,
                        std::uint64_t length = 0) {
    length = length != 0 ? length : picture.size();
    std::string bin = Word(0, 4, false) + Word(0, 4, false) + Word(0, 4, false) +
                      Word(0x3F800000, 4, false) + Word(0, 4, false) + Word(0, 4, false) +
                      Word(0, 4, false) + Word(0x3F800000, 4, false) + Word(0, 4, false);
    bin += picture;
    bin.resize((bin.size() + 3) & ~std::size_t{3}, '\0');
    std::string json =
        R"({"asset":{"version":"2.0"},"buffers":[{"byteLength":)" + std::to_string(bin.size()) +
        R"(}],"bufferViews":[{"buffer":0,"byteLength":36},{"buffer":0,"byteOffset":)" +
        std::to_string(offset) + R"(,"byteLength":)" + std::to_string(length) +
        R"(}],"accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3"}],)"
        R"("images":[{"bufferView":1,"mimeType":"image/png"}],"textures":[{"source":0}],)"
        R"("materials":[{"pbrMetallicRoughness":{"baseColorTexture":{"index":0}}}],)"
        R"("meshes":[{"primitives":[{"attributes":{"POSITION":0},"material":0}]}],)"
        R"("nodes":[{"mesh":0}],"scenes":[{"nodes":[0]}],"scene":0})";
    json.resize((json.size() + 3) & ~std::size_t{3}, ' ');
    return "glTF" + Word(2, 4, false) + Word(12 + 8 + json.size() + 8 + bin.size(), 4, false) +
           Word(json.size(), 4, false) + "JSON" + json + Word(bin.size(), 4, false) +
           std::string("BIN\0", 4) + bin;
}

} // namespace

// A view past its buffer used to copy the editor's memory into the picture folder; a
// picture of a hostile size was written there too. Neither is now, and the import says
// why, with the sizes.
TEST(PictureHeader, PicturesInsideModelsAreCheckedBeforeAnythingIsKept) {
    TemporaryFolder folder;
    SetPictureFolder(folder.File("immagini"));
    const std::string png = PngHeader(2, 2);
    struct ImageCase {
        const char* name;
        std::string file;
        const char* fileName;
        bool imports;
        const char* said; // "" for nothing
    };
    const std::string gltfWithDataBuffer =
        R"({"asset":{"version":"2.0"},"buffers":[{"byteLength":8,)"
        R"("uri":"data:application/octet-stream;base64,AAAAAAAAAAA="}],)"
        R"("bufferViews":[{"buffer":0,"byteOffset":4,"byteLength":4096}],)"
        R"("images":[{"bufferView":0,"mimeType":"image/png"}]})";
    const ImageCase cases[] = {
        {"a view inside its buffer", TexturedGlb(png), "a.glb", true, ""},
        {"a view past its buffer", TexturedGlb(png, 36, 4096), "b.glb", false,
         "l'immagine 0 esce dal suo buffer"},
        {"a view of 64 MB", TexturedGlb(png, 36, 64u << 20), "c.glb", false, "esce dal suo"},
        {"a view starting past its buffer", TexturedGlb(png, 1u << 30, 1), "d.glb", false,
         "esce dal suo"},
        {"a view starting near 2^64", TexturedGlb(png, 18446744073709551000ull, 4), "k.glb", false,
         "esce dal suo"},
        {"a view of a data: buffer", gltfWithDataBuffer, "e.gltf", false, "esce dal suo"},
        {"a picture 0 wide", TexturedGlb(PngHeader(0, 9)), "f.glb", true,
         "misura 0 \xC3\x97 9 pixel"},
        {"a picture past a side", TexturedGlb(PngHeader(16385, 2)), "g.glb", true,
         "misura 16385 \xC3\x97 2 pixel, oltre il massimo di 16384 per lato"},
        {"a picture past the budget", TexturedGlb(JpegHeader(9000, 9000)), "h.glb", true,
         "misura 9000 \xC3\x97 9000 pixel"},
        {"a tga", TexturedGlb(TgaHeader(2, 2)), "i.glb", true, "PNG o JPEG"},
        {"a bmp", TexturedGlb(BmpHeader(2, 2)), "j.glb", true, "PNG o JPEG"},
    };
    for (const ImageCase& c : cases) {
        const std::string path = folder.File(c.fileName);
        TemporaryFolder::WriteBytes(path, c.file);
        MeshDocument document;
        std::string message;
        EXPECT_EQ(ImportModel(path, document, message), c.imports) << c.name << ": " << message;
        EXPECT_TRUE(*c.said ? message.find(c.said) != std::string::npos : message.empty())
            << c.name << ": " << message;
        if (*c.said) {
            EXPECT_FALSE(std::filesystem::exists(folder.File("immagini"))) << c.name;
            EXPECT_EQ(document.TextureFile, "") << c.name;
        } else {
            EXPECT_EQ(TemporaryFolder::ReadBytes(document.TextureFile), png) << c.name;
            std::filesystem::remove_all(folder.File("immagini"));
        }
    }
    SetPictureFolder("");
}

// A texture file converted for a glTF export is checked the same way before it is
// decoded: a BMP 16384 × -32767 once took half a minute and gigabytes.
TEST(PictureHeader, ATextureIsCheckedBeforeItIsConverted) {
    TemporaryFolder folder;
    const std::pair<std::string, const char*> cases[] = {
        {BmpHeader(16384, -32767), "misura 16384 \xC3\x97 32767 pixel"},
        {BmpHeader(0, 1), "misura 0 \xC3\x97 1 pixel"},
        {"GIF89a\x01\0\x01\0", "PNG, JPEG, BMP, TGA, HDR o PNM"},
        {"P6 2 2 255\n" + std::string(11, '\x7F'), "troncata: 22 byte invece di 23"},
        {BmpHeader(4, -3) + std::string(35, '\0'), "troncata: 89 byte invece di 90"},
    };
    for (const auto& [bytes, said] : cases) {
        TemporaryFolder::WriteBytes(folder.File("t.bmp"), bytes);
        std::string carried, problem;
        EXPECT_FALSE(PictureToCarry(folder.File("t.bmp"), carried, problem)) << said;
        EXPECT_NE(problem.find(said), std::string::npos) << problem;
    }
}
