// glTF files as the reader turns them into triangles, broken ones refused, the writer's
// .gltf and .glb read back by the reader and by assimp, and real files of assimp's test
// models against assimp's counts.

#include "document/gltf_format.h"
#include "document/srgb_levels.h"

#include "tests/support/assimp_counts.h"
#include "tests/support/temporary_folder.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace MyApp;

namespace {

std::string Base64(const std::string& bytes) {
    static const char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned word = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            word |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            word |= static_cast<unsigned char>(bytes[i + 2]);
        text += kDigits[word >> 18 & 63];
        text += kDigits[word >> 12 & 63];
        text += i + 1 < bytes.size() ? kDigits[word >> 6 & 63] : '=';
        text += i + 2 < bytes.size() ? kDigits[word & 63] : '=';
    }
    return text;
}

template <typename T> std::string Bytes(std::initializer_list<T> values) {
    std::string bytes(values.size() * sizeof(T), '\0');
    std::memcpy(bytes.data(), values.begin(), bytes.size());
    return bytes;
}

// Four positions (0 0 0, 1 0 0, 1 1 0, 0 1 0) at 0, four RGBA bytes each at 48, six
// byte indices at 64; `parts` holds the file's accessors, meshes, nodes and whatever else.
std::string SampleBuffer() {
    return Bytes<float>({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}) +
           Bytes<std::uint8_t>({255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 51, 51, 51, 255}) +
           Bytes<std::uint8_t>({0, 1, 2, 0, 2, 3});
}

// The same file with its buffer at `uri`.
std::string Gltf(const std::string& parts, const std::string& uri = "") {
    return R"({"asset":{"version":"2.0"},"buffers":[{"byteLength":70,)"
           R"("uri":")" + (uri.empty() ? "data:application/octet-stream;base64," + Base64(SampleBuffer()) : uri) +
           R"("}],"bufferViews":[{"buffer":0,"byteLength":48},)"
           R"({"buffer":0,"byteOffset":48,"byteLength":16},)"
           R"({"buffer":0,"byteOffset":64,"byteLength":6}],)" +
           parts + "}";
}

constexpr char kAccessors[] =
    R"("accessors":[{"bufferView":0,"componentType":5126,"count":4,"type":"VEC3"},)"
    R"({"bufferView":1,"componentType":5121,"normalized":true,"count":4,"type":"VEC4"},)"
    R"({"bufferView":2,"componentType":5121,"count":6,"type":"SCALAR"}],)";

std::string OneNode(const std::string& primitive, const std::string& node = "") {
    return std::string(kAccessors) + R"("meshes":[{"primitives":[)" + primitive +
           R"(]}],"nodes":[{"mesh":0)" + node + "}]";
}

struct GltfCase {
    const char* name;
    std::string file;
    std::size_t triangles;
    std::function<void(const ModelTriangles&)> check;
};

TEST(GltfFormat, ReadsTheFilesOfTheTable) {
    const auto textured = [](const std::string& uri) {
        return Gltf(OneNode(R"({"attributes":{"POSITION":0},"indices":2,"material":0})") +
                    R"(,"materials":[{"pbrMetallicRoughness":{"baseColorTexture":{"index":0}}}],)"
                    R"("textures":[{"source":0}],"images":[{"uri":")" +
                    uri + R"("}])");
    };
    const auto texture = [](const char* file) {
        return [file](const ModelTriangles& m) { EXPECT_EQ(m.textureFile, file); };
    };
    // A name that is not opened leaves no texture, and one note that names it.
    const auto refused = [](const char* reason) {
        return [reason](const ModelTriangles& m) {
            EXPECT_EQ(m.textureFile, "");
            ASSERT_EQ(m.notes.size(), 1u);
            EXPECT_NE(m.notes[0].find(reason), std::string::npos) << m.notes[0];
        };
    };
    const GltfCase cases[] = {
        {"indexed list, white without colour or material",
         Gltf(OneNode(R"({"attributes":{"POSITION":0},"indices":2})")), 2,
         [](const ModelTriangles& m) {
             EXPECT_EQ(m.corners[4].X, 1);
             EXPECT_EQ(m.corners[4].Y, 1);
             EXPECT_EQ(m.corners[5].Color, 0x00FFFFFFu);
         }},
        {"translated and scaled node",
         Gltf(OneNode(R"({"attributes":{"POSITION":0},"indices":2})",
                      R"(,"translation":[10,0,0],"scale":[2,2,2])")),
         2, [](const ModelTriangles& m) { EXPECT_EQ(m.corners[1].X, 12); }},
        {"mirroring matrix keeps the winding",
         Gltf(OneNode(R"({"attributes":{"POSITION":0},"indices":2})",
                      R"(,"matrix":[-1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1])")),
         2,
         [](const ModelTriangles& m) {
             EXPECT_EQ(m.corners[1].X, -1); // corners 1 and 2 of the first triangle swap
             EXPECT_EQ(m.corners[1].Y, 1);
             EXPECT_EQ(m.corners[2].X, -1);
             EXPECT_EQ(m.corners[2].Y, 0);
         }},
        {"child of a rotated parent",
         Gltf(std::string(kAccessors) +
              R"("meshes":[{"primitives":[{"attributes":{"POSITION":0},"indices":2}]}],)"
              R"("nodes":[{"children":[1],"rotation":[0,0,0.70710678,0.70710678]},)"
              R"({"mesh":0}],"scenes":[{"nodes":[0]}],"scene":0)"),
         2,
         [](const ModelTriangles& m) { // (1, 0, 0) turns a quarter round z to (0, 1, 0)
             EXPECT_NEAR(m.corners[1].X, 0, 1e-6);
             EXPECT_NEAR(m.corners[1].Y, 1, 1e-6);
         }},
        {"strip alternates its winding", Gltf(OneNode(R"({"attributes":{"POSITION":0},"mode":5})")),
         2,
         [](const ModelTriangles& m) { // (0 1 2) then (1 3 2)
             EXPECT_EQ(m.corners[3].X, 1);
             EXPECT_EQ(m.corners[4].X, 0);
             EXPECT_EQ(m.corners[4].Y, 1);
             EXPECT_EQ(m.corners[5].Y, 1);
         }},
        {"fan", Gltf(OneNode(R"({"attributes":{"POSITION":0},"mode":6})")), 2,
         [](const ModelTriangles& m) { EXPECT_EQ(m.corners[2].X, 0); }},
        {"points and lines are left out",
         Gltf(OneNode(R"({"attributes":{"POSITION":0},"mode":0},)"
                      R"({"attributes":{"POSITION":0},"mode":1},)"
                      R"({"attributes":{"POSITION":0},"indices":2,"mode":4})")),
         2, nullptr},
        {"normalised byte colours",
         Gltf(OneNode(R"({"attributes":{"POSITION":0,"COLOR_0":1},"indices":2})")), 2,
         [](const ModelTriangles& m) {
             EXPECT_EQ(m.corners[0].Color, 0x000000FFu);
             EXPECT_EQ(m.corners[1].Color, 0x0000FF00u);
             EXPECT_EQ(m.corners[5].Color, 0x007C7C7Cu); // linear 0.2 is sRGB 124
         }},
        {"base colour factor and its texture file",
         Gltf(OneNode(R"({"attributes":{"POSITION":0},"indices":2,"material":0})") +
              R"(,"materials":[{"pbrMetallicRoughness":{"baseColorFactor":[0.8,0.05,0.05,1],)"
              R"("baseColorTexture":{"index":0}}}],"textures":[{"source":0}],)"
              R"("images":[{"uri":"my%20tex.png"}])"),
         2,
         [](const ModelTriangles& m) {
             EXPECT_EQ(m.corners[0].Color, 0x003F3FE7u); // (231, 63, 63), as viewers show it
             EXPECT_EQ(m.textureFile, "/models/my tex.png");
         }},
        {"texture by a file URI inside the model's folder",
         textured("file:///models/mie%20trame/pietra%20%C3%A8.bmp"), 2,
         texture("/models/mie trame/pietra \xC3\xA8.bmp")},
        {"texture by a file URI on a drive", textured("file:///C:/Mie%20trame/pietra.bmp"), 2,
         refused("fuori dalla cartella")},
        {"texture by a file URI on a share", textured("file://server/share/legno.bmp"), 2,
         refused("si trova su un altro computer")},
        {"texture above the model's folder", textured("../secret_photo.png"), 2,
         refused("../secret_photo.png \xC3\xA8 fuori dalla cartella")},
        {"texture by an address", textured("http://example.com/a.png"), 2,
         refused("\xC3\xA8 un indirizzo Internet")},
        {"no scene: every root node",
         Gltf(std::string(kAccessors) +
              R"("meshes":[{"primitives":[{"attributes":{"POSITION":0},"indices":2}]}],)"
              R"("nodes":[{"mesh":0},{"children":[2]},{"mesh":0}])"),
         4, nullptr},
    };
    for (const GltfCase& row : cases) {
        SCOPED_TRACE(row.name);
        ModelTriangles model;
        std::string message;
        ASSERT_TRUE(ReadGltfBytes(row.file, "/models", model, message)) << message;
        ASSERT_EQ(model.corners.size(), row.triangles * 3);
        if (row.check)
            row.check(model);
    }
}

TEST(GltfFormat, RefusesBrokenFilesWithTheReason) {
    const auto primitive = [](const std::string& accessors, const std::string& attributes) {
        return Gltf(R"("accessors":[)" + accessors +
                    R"(],"meshes":[{"primitives":[{"attributes":)" + attributes +
                    R"(}]}],"nodes":[{"mesh":0}])");
    };
    const std::pair<std::string, const char*> cases[] = {
        {primitive(R"({"bufferView":0,"componentType":5126,"count":5,"type":"VEC3"})",
                   R"({"POSITION":0})"),
         "escono dal buffer view"},
        {primitive(R"({"bufferView":0,"byteOffset":40,"componentType":5126,"count":1,)"
                   R"("type":"VEC3"})",
                   R"({"POSITION":0})"),
         "escono dal buffer view"},
        {Gltf(R"("bufferViews":[{"buffer":0,"byteLength":48,"byteStride":4}],)"
              R"("accessors":[{"bufferView":0,"componentType":5126,"count":2,"type":"VEC3"}],)"
              R"("meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],"nodes":[{"mesh":0}])"),
         "passo"},
        {primitive(R"({"bufferView":0,"componentType":5126,"count":3,"type":"VEC3"},)"
                   R"({"bufferView":2,"componentType":5121,"count":6,"type":"SCALAR"})",
                   R"({"POSITION":0},"indices":1)"),
         "un indice supera i vertici (3 su 3)"},
        {primitive(R"({"bufferView":0,"componentType":5126,"count":4,"type":"VEC3"},)"
                   R"({"bufferView":1,"componentType":5126,"count":4,"type":"VEC4"})",
                   R"({"POSITION":0,"COLOR_0":1})"),
         "COLOR_0"},
        {Gltf(std::string(kAccessors) +
              R"("meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],)"
              R"("nodes":[{"mesh":0,"children":[1]},{"children":[0]}],"scenes":[{"nodes":[0]}])"),
         "albero"},
        {Gltf(std::string(kAccessors) + R"("nodes":[{"mesh":3}])"), "mesh che non esiste"},
        // tinygltf's and its JSON reader's English come second, after the reason in Italian.
        {"{\"asset\":", "il testo JSON \xC3\xA8 interrotto o scritto male (riga 1, colonna 10).\n"
                          "Dettaglio di tinygltf: [json.exception.parse_error"},
        {"{\"asset\":{\"version\":\"2.0\"},\"accessors\":[7]}",
         "una parte ha un tipo sbagliato.\nDettaglio di tinygltf: `accessors' does not contain"},
        {std::string("glTF\x02\0\0\0\x10\0\0\0", 12),
         "il contenuto binario (GLB) \xC3\xA8 rovinato."},
    };
    for (const auto& [file, reason] : cases) {
        SCOPED_TRACE(reason);
        ModelTriangles model;
        std::string message;
        EXPECT_FALSE(ReadGltfBytes(file, "/nonexistent", model, message));
        EXPECT_NE(message.find(reason), std::string::npos) << message;
        EXPECT_EQ(message.rfind("Il file glTF non \xC3\xA8 valido: ", 0), 0u) << message;
        EXPECT_TRUE(model.corners.empty());
    }
}

// A buffer is read from the model's folder or below it, and from nowhere else: the
// containment is of whole folders, so "models2" is not inside "models", and an escaped or
// file: URI is judged as the name it stands for.
TEST(GltfFormat, ReadsBuffersOnlyFromTheModelsFolder) {
    TemporaryFolder folder;
    std::filesystem::create_directories(folder.File("models/dati"));
    std::filesystem::create_directories(folder.File("models2"));
    for (const char* file : {"models/dati/b.bin", "models2/b.bin", "b.bin"})
        TemporaryFolder::WriteBytes(folder.File(file), SampleBuffer());
    const std::string root = std::filesystem::path(folder.File("")).generic_string();
    const struct {
        std::string uri;
        const char* refusal; // empty: read
    } cases[] = {
        {"dati/b.bin", ""},
        {"dati/../dati/b.bin", ""},
        {"file://" + root + "models/dati/b.bin", ""},
        {"../b.bin", "il buffer ../b.bin \xC3\xA8 fuori dalla cartella del file che lo nomina"},
        {"%2E%2E/models2/b.bin", "fuori dalla cartella"},
        {"file://" + root + "models2/b.bin", "fuori dalla cartella"},
        {"//server/share/b.bin", "si trova su un altro computer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uri);
        const std::string path = folder.File("models/m.gltf");
        TemporaryFolder::WriteBytes(
            path, Gltf(OneNode(R"({"attributes":{"POSITION":0},"indices":2})"), c.uri));
        ModelTriangles model;
        std::string message;
        EXPECT_EQ(ReadGltf(path, model, message), !*c.refusal) << message;
        EXPECT_NE(message.find(c.refusal), std::string::npos) << message;
    }
}

// Every 8-bit level goes to linear and back as itself: as the double a factor holds, the
// float a file may hold, and the 16-bit value the writer stores; and the curve is sRGB's.
TEST(GltfFormat, SrgbLevelsComeBackFromLinearExactly) {
    for (int level = 0; level < 256; ++level) {
        const auto byte = static_cast<std::uint8_t>(level);
        const double linear = LinearOfLevel(byte);
        EXPECT_EQ(LevelOfLinear(linear), byte);
        EXPECT_EQ(LevelOfLinear(static_cast<float>(linear)), byte);
        EXPECT_EQ(LevelOfLinear(LinearShortOfLevel(byte) / 65535.0), byte) << level;
        if (level > 0) {
            EXPECT_GT(LinearShortOfLevel(byte), LinearShortOfLevel(static_cast<std::uint8_t>(level - 1)));
        }
    }
    const struct {
        double linear;
        int level;
    } points[] = {{0, 0}, {1, 255}, {0.5, 188}, {0.214, 127}, {0.001, 3}, {-1, 0}, {7, 255}, {std::nan(""), 0}};
    for (const auto& p : points)
        EXPECT_EQ(LevelOfLinear(p.linear), p.level) << p.linear;
}

ModelMesh SampleMesh(std::size_t vertices) {
    ModelMesh mesh;
    for (std::size_t i = 0; i < vertices; ++i)
        mesh.vertices.push_back({static_cast<double>(i) * 0.5, 1234.5678, -static_cast<double>(i),
                                 static_cast<std::uint32_t>(i * 2654435761u) & 0x00FFFFFF,
                                 static_cast<float>(i % 7) * 0.125f, 0.75f});
    for (std::uint32_t i = 0; i + 2 < vertices; ++i)
        mesh.indices.insert(mesh.indices.end(), {i, i + 1, i + 2});
    mesh.texturePicture = std::string("\xFF\xD8\xFF\xE0", 4) + "a JPEG's bytes";
    return mesh;
}

// Both kinds, with 16-bit and 32-bit indices, read back by us corner for corner and by
// assimp with the same counts.
TEST(GltfFormat, WrittenFilesReadBackHereAndInAssimp) {
    for (const std::size_t vertices : {4u, 70000u}) {
        for (const bool binary : {false, true}) {
            SCOPED_TRACE(std::to_string(vertices) + (binary ? " glb" : " gltf"));
            const ModelMesh mesh = SampleMesh(vertices);
            std::string bytes, message;
            ASSERT_TRUE(WriteGltf(mesh, binary, bytes, message)) << message;
            EXPECT_EQ(bytes.compare(0, 4, "glTF") == 0, binary);
            TemporaryFolder folder;
            const std::string path = folder.File(binary ? "model.glb" : "model.gltf");
            TemporaryFolder::WriteBytes(path, bytes);
            ModelTriangles model;
            ASSERT_TRUE(ReadGltf(path, model, message)) << message;
            ASSERT_EQ(model.corners.size(), mesh.indices.size());
            for (std::size_t i = 0; i < model.corners.size(); i += 97) {
                const MeshVertex& v = mesh.vertices[mesh.indices[i]];
                const ModelCorner& c = model.corners[i];
                EXPECT_EQ(c.X, static_cast<float>(v.X));
                EXPECT_EQ(c.Y, static_cast<float>(v.Y));
                EXPECT_EQ(c.Color, v.Color);
                EXPECT_EQ(c.Tu, v.Tu);
                EXPECT_EQ(c.Tv, v.Tv);
            }
            EXPECT_EQ(model.texturePicture, mesh.texturePicture);
            EXPECT_EQ(model.textureFile, "");
            const std::optional<AssimpCounts> assimp = AssimpRead(path);
            ASSERT_TRUE(assimp);
            EXPECT_EQ(assimp->triangles, mesh.indices.size() / 3);
            EXPECT_EQ(assimp->vertices, mesh.vertices.size());
        }
    }
    std::string bytes, message;
    ModelMesh broken = SampleMesh(4);
    broken.indices.back() = 4;
    EXPECT_FALSE(WriteGltf(broken, false, bytes, message));
    EXPECT_FALSE(WriteGltf(ModelMesh(), true, bytes, message));
}

} // namespace
