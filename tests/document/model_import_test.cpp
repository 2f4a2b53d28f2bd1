// Models in and out of the document through the one façade: every format written and read
// back, by our own import and by assimp, with the document's counts; the refusals; and the
// framing of an imported model.

#include "document/model_import.h"
#include "document/mesh_welding.h"

#include "document/gltf_format.h"
#include "document/model_files.h"
#include "document/model_pictures.h"
#include "document/obj_format.h"
#include "document/ply_format.h"
#include "document/stl_format.h"
#include "tests/support/temporary_folder.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

using namespace MyApp;

namespace {

// A square pyramid: five corners, six triangles, coloured, textured.
MeshDocument Pyramid() {
    MeshDocument document;
    document.Vertices = {{-1, 0, -1, 0x0000FF, 0, 0},     {1, 0, -1, 0x00FF00, 1, 0},
                         {1, 0, 1, 0xFF0000, 1, 1},       {-1, 0, 1, 0xFFFFFF, 0, 1},
                         {0, 2.5, 0, 0x808080, 0.5f, 0.5f}};
    document.Indices = {0, 1, 2, 0, 2, 3, 0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4};
    document.FaceCount = 6;
    return document;
}

struct Counts {
    unsigned triangles = 0;
    unsigned vertices = 0;
};

Counts AssimpCounts(const std::string& path) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(
        path, aiProcess_Triangulate | aiProcess_JoinIdenticalVertices | aiProcess_DropNormals |
                  aiProcess_PreTransformVertices);
    Counts counts;
    for (unsigned m = 0; scene != nullptr && m < scene->mNumMeshes; ++m) {
        counts.vertices += scene->mMeshes[m]->mNumVertices;
        for (unsigned f = 0; f < scene->mMeshes[m]->mNumFaces; ++f)
            counts.triangles += scene->mMeshes[m]->mFaces[f].mNumIndices == 3;
    }
    return counts;
}

} // namespace

TEST(ModelImport, EveryFormatWrittenReadsBackWithTheDocumentsCounts) {
    TemporaryFolder folder;
    const MeshDocument pyramid = Pyramid();
    for (const char* name : {"p.obj", "p.PLY", "p.stl", "p.glb", "p.gltf"}) {
        const std::string path = folder.File(name);
        std::string message;
        ASSERT_TRUE(ExportModel(pyramid, path, message)) << name << ": " << message;
        MeshDocument read;
        ASSERT_TRUE(ImportModel(path, read, message)) << name << ": " << message;
        EXPECT_EQ(read.FaceCount, 6) << name;
        EXPECT_EQ(read.Vertices.size(), 5u) << name;
        const Counts counts = AssimpCounts(path);
        EXPECT_EQ(counts.triangles, 6u) << name;
        EXPECT_EQ(counts.vertices, 5u) << name;
    }
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"p.PLY", "p.glb", "p.gltf", "p.mtl",
                                                          "p.obj", "p.stl"}));
}

// A texture in the model's folder or below it is named from there; any other is copied
// beside the model, named after it, and never over a picture of other bytes. Our import
// finds the file named again.
TEST(ModelImport, ExportedModelsNameTheirTextureFromTheirFolder) {
    TemporaryFolder folder;
    const struct {
        const char* texture; // in the temporary folder; the models go to its "modelli"
        const char* name;    // as OBJ and PLY write it
        const char* bytes;
    } cases[] = {
        {"modelli/trame/legno.bmp", "trame/legno.bmp", "BM"},
        {"modelli/legno.bmp", "legno.bmp", "BM"},
        {"altrove/legno.bmp", "m.bmp", "BM altrove"},
        {"altrove/pietra.bmp", "m (2).bmp", "BM pietra"},
        {"modelli/mie trame/pietra \xC3\xA8.bmp", "mie trame/pietra \xC3\xA8.bmp", "BM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.texture);
        MeshDocument document = Pyramid();
        document.TextureFile = folder.File(c.texture);
        std::filesystem::create_directories(
            std::filesystem::path(document.TextureFile).parent_path());
        TemporaryFolder::WriteBytes(document.TextureFile, c.bytes);
        for (const auto& [model, file, text] :
             {std::tuple{"m.obj", "m.mtl", std::string("map_Kd ") + c.name + "\n"},
              std::tuple{"m.ply", "m.ply", std::string("comment TextureFile ") + c.name + "\n"}}) {
            const std::string path = folder.File(std::string("modelli/") + model);
            std::string message;
            ASSERT_TRUE(ExportModel(document, path, message)) << model << ": " << message;
            EXPECT_EQ(message, "");
            const std::string written =
                TemporaryFolder::ReadBytes(folder.File(std::string("modelli/") + file));
            EXPECT_NE(written.find(text), std::string::npos) << model << " lacks " << text;
            MeshDocument read;
            ASSERT_TRUE(ImportModel(path, read, message)) << model << ": " << message;
            EXPECT_EQ(TemporaryFolder::ReadBytes(read.TextureFile), c.bytes) << model;
        }
    }
}

// The same rules on a Windows user's paths, which this run cannot make files of.
TEST(ModelImport, WindowsPathsKeepOneStyleAndMatchInAnyCase) {
    EXPECT_EQ(JoinedPath("Z:\\tmp\\m", "trame/legno.bmp"), "Z:\\tmp\\m\\trame\\legno.bmp");
    EXPECT_EQ(JoinedPath("Z:/tmp/m", "legno.bmp"), "Z:/tmp/m/legno.bmp");
    EXPECT_EQ(JoinedPath("Z:\\tmp\\m", "D:\\legno.bmp"), "D:\\legno.bmp");
    const std::pair<const char*, const char*> names[] = {
        {"c:\\MODELLI\\Trame/legno.bmp", "Trame/legno.bmp"},
        {"C:/Modelli//legno.bmp", "legno.bmp"},
        {"C:\\Modelli2\\legno.bmp", "C:\\Modelli2\\legno.bmp"},
        {"D:\\Modelli\\legno.bmp", "D:\\Modelli\\legno.bmp"},
        {"legno.bmp", "legno.bmp"},
    };
    for (const auto& [texture, name] : names)
        EXPECT_EQ(TextureNameFrom("C:\\Modelli", texture), name) << texture;
}

TEST(ModelImport, RefusesWhatItCannotTakeAndLeavesTheDocument) {
    TemporaryFolder folder;
    // More corners than 16-bit indices reach, each its own vertex.
    MeshDocument big;
    for (int i = 0; i < 65538; ++i)
        big.Vertices.push_back({double(i), double(i % 7), 0, 0, 0, 0});
    big.FaceCount = 65538 / 3;
    std::string message;
    ASSERT_TRUE(ExportModel(big, folder.File("big.ply"), message)) << message;
    TemporaryFolder::WriteBytes(folder.File("empty.stl"), std::string(80, ' ') + std::string(4, '\0'));
    TemporaryFolder::WriteBytes(folder.File("mesh.xyz"), "1 2 3\n");
    const struct {
        std::string file;
        std::string message;
    } cases[] = {
        {"big.ply", "Il modello richiede 65538 vertici, oltre il limite di 65535."},
        {"empty.stl", "Il modello non contiene triangoli."},
        {"mesh.xyz", "Il formato .xyz non \xC3\xA8 supportato."},
        {"missing.obj", ""}, // the reader says why
    };
    for (const auto& c : cases) {
        MeshDocument document = Pyramid();
        message.clear();
        EXPECT_FALSE(ImportModel(folder.File(c.file), document, message)) << c.file;
        if (!c.message.empty()) {
            EXPECT_EQ(message, c.message);
        }
        EXPECT_FALSE(message.empty()) << c.file;
        EXPECT_EQ(document.Vertices, Pyramid().Vertices) << c.file;
    }
    MeshDocument none;
    EXPECT_FALSE(ExportModel(none, folder.File("none.obj"), message));
}

// A model the preview would show as nothing comes in with a word saying why.
TEST(ModelImport, AModelWithNothingToDrawIsSaidSo) {
    TemporaryFolder folder;
    const struct {
        const char* name;
        const char* obj;
        bool said;
    } cases[] = {
        {"in a row", "v 0 0 0\nv 1 1 1\nv 2 2 2\nv 3 3 3\nf 1 2 3\nf 2 3 4\n", true},
        {"one point", "v 1 1 1\nv 1 1 1.00000001\nv 1 1 1\nf 1 2 3\n", true},
        {"past the floats", "v -3e38 0 0\nv 3e38 0 0\nv 0 3e38 0\nf 1 2 3\n", true},
        {"area past the floats", "v 0 0 0\nv 1e20 0 0\nv 0 1e20 0\nf 1 2 3\n", true},
        {"area below the floats", "v 0 0 0\nv 1e-20 0 0\nv 0 1e-20 0\nf 1 2 3\n", true},
        {"one drawn among flat ones", "v 0 0 0\nv 1 0 0\nv 2 0 0\nv 0 1 0\nf 1 2 3\nf 1 2 4\n", false},
    };
    for (const auto& c : cases) {
        const std::string path = folder.File("model.obj");
        TemporaryFolder::WriteBytes(path, c.obj);
        MeshDocument document;
        std::string message;
        ASSERT_TRUE(ImportModel(path, document, message)) << c.name << ": " << message;
        EXPECT_EQ(message.rfind("L'anteprima non mostra nulla del modello: ", 0) == 0, c.said)
            << c.name << ": " << message;
    }
}

TEST(ModelImport, EqualCornersBecomeOneVertexAndTheModelIsFramed) {
    std::vector<ModelCorner> corners = {
        {0, 0, 0, 1, 0, 0}, {1, 0, 0, 1, 0, 0}, {0, 1, 0, 1, 0, 0},
        {1, 0, 0, 1, 0, 0}, {0, 1, 0, 1, 0, 0}, {1, 1, 0, 1, 0.5f, 0}, // a different Tu
    };
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;
    EXPECT_TRUE(WeldCorners(corners, vertices, indices, 4));
    EXPECT_EQ(vertices.size(), 4u);
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 2, 1, 2, 3}));
    EXPECT_FALSE(WeldCorners(corners, vertices, indices, 3));

    MeshDocument document; // the eye at (0, 0, -10)
    document.Vertices = {{100, 200, 300, 0, 0, 0}, {300, 200, 300, 0, 0, 0}};
    FrameMesh(document);
    EXPECT_EQ(document.MoveX, -200);
    EXPECT_EQ(document.MoveY, -200);
    EXPECT_EQ(document.MoveZ, -300);
    EXPECT_EQ(document.EyeX, 0);
    EXPECT_NEAR(document.EyeZ, -1.1 * 100 / std::sin(M_PI / 8), 1e-9) << "stepped back to fit";
    document.Vertices = {{0, 0, 0, 0, 0, 0}, {0.2, 0, 0, 0, 0, 0}};
    FrameMesh(document);
    EXPECT_NEAR(document.EyeZ, -1.1 * 0.1 / std::sin(M_PI / 8), 1e-9) << "a small one fills it too";

    document.RotY = 90; // turned a quarter about Y, the centre (10, 0, 0) lands on (0, 0, -10)
    document.Vertices = {{9, 0, 0, 0, 0, 0}, {11, 0, 0, 0, 0, 0}};
    FrameMesh(document);
    EXPECT_NEAR(document.MoveX, 0, 1e-6);
    EXPECT_NEAR(document.MoveZ, 10, 1e-6);
}

// Files built to make a reader decode or keep far more than a document can take: each is
// refused with its count before the reader spends the memory. The limit is the caller's
// (the preview's) where it is below the document's own.
TEST(ModelImport, FilesThatWouldExhaustTheEditorAreRefusedWithTheirCount) {
    TemporaryFolder folder;
    // One polygon of 200 corners, each its own vertex, in each text format.
    std::string points, objPoints, obj = "f", ply = "200";
    std::string stl = "solid s\nfacet normal 0 0 1\nouter loop\n";
    for (int i = 0; i < 200; ++i) {
        const std::string point = std::to_string(i % 20) + " " + std::to_string(i / 20) + " 0\n";
        points += point;
        objPoints += "v " + point;
        stl += "vertex " + point;
        obj += " " + std::to_string(i + 1);
        ply += " " + std::to_string(i);
    }
    stl += "endloop\nendfacet\nendsolid s\n";
    std::string binaryStl(80, ' ');
    binaryStl += std::string("\x00\x10\x00\x00", 4) + std::string(4096 * 50, '\0');
    const std::string manyVertices = "ply\nformat binary_little_endian 1.0\nelement vertex 300000\n"
                                     "property uchar x\nproperty uchar y\nproperty uchar z\n"
                                     "end_header\n" +
                                     std::string(900000, '\0');
    const struct {
        const char* file;
        std::string bytes;
        std::size_t limit;
        std::string message; // the start of it
    } cases[] = {
        // Three primitives sharing accessors that claim 4,194,304 zeros each.
        {"accessors.gltf",
         R"({"asset":{"version":"2.0"},"accessors":[{"componentType":5126,"count":2,"type":)"
         R"("VEC3"},{"componentType":5126,"count":4194304,"type":"VEC3"},{"componentType":)"
         R"(5126,"count":4194304,"type":"VEC2"}],"meshes":[{"primitives":[{"attributes":{)"
         R"("POSITION":0,"COLOR_0":1,"TEXCOORD_0":2}},{"attributes":{"POSITION":0,"COLOR_0":1,)"
         R"("TEXCOORD_0":2}},{"attributes":{"POSITION":0,"COLOR_0":1,"TEXCOORD_0":2}}]}],)"
         R"("nodes":[{"mesh":0}],"scenes":[{"nodes":[0]}]})",
         kMaxModelTriangles, "Il file glTF chiede di leggere pi\xC3\xB9 di 6553500 elementi"},
        // A strip of 4,000,002 equal positions in 207 bytes.
        {"strip.gltf",
         R"({"asset":{"version":"2.0"},"accessors":[{"componentType":5126,"count":4000002,"type":)"
         R"("VEC3"}],"meshes":[{"primitives":[{"attributes":{"POSITION":0},"mode":5}]}],"nodes":)"
         R"([{"mesh":0}],"scenes":[{"nodes":[0]}]})",
         SIZE_MAX, "Il modello ha 4000000 triangoli, oltre il limite di 524280."},
        {"fan.obj", objPoints + obj + "\n", 100,
         "Il modello ha 198 triangoli, oltre il limite di 100."},
        {"fan.ply",
         "ply\nformat ascii 1.0\nelement vertex 200\nproperty float x\nproperty float y\n"
         "property float z\nelement face 1\nproperty list uchar int vertex_indices\nend_header\n" +
             points + ply + "\n",
         100, "Il modello ha 198 triangoli, oltre il limite di 100."},
        {"fan.stl", stl, 100, "Il modello ha 198 triangoli, oltre il limite di 100."},
        {"counted.stl", binaryStl, 4095, "Il modello ha 4096 triangoli, oltre il limite di 4095."},
        {"points.ply", manyVertices, 1000, "Il file PLY dichiara 300000 vertici"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TemporaryFolder::WriteBytes(folder.File(c.file), c.bytes);
        MeshDocument document = Pyramid();
        std::string message;
        EXPECT_FALSE(ImportModel(folder.File(c.file), document, message, c.limit));
        EXPECT_EQ(message.substr(0, c.message.size()), c.message) << message;
        EXPECT_EQ(document.Vertices, Pyramid().Vertices);
    }
}

// A model of a few hundred thousand squares and more: the import offers to simplify it up to
// the count the offer reaches, and refuses one past that before reading its triangles.
TEST(ModelImport, ModelsOfUpToTwoMillionTrianglesAreOfferedSimplified) {
    TemporaryFolder folder;
    const auto grid = [](int columns, int rows, std::uint32_t declared) {
        std::string stl(80, ' ');
        AppendLittleEndian(stl, declared, 4);
        const auto corner = [&](int x, int y) {
            for (const double value : {double(x), double(y), double((x * 7 + y * 3) % 5)})
                AppendFloat(stl, value);
        };
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < columns; ++x)
                for (const int lower : {0, 1}) {
                    stl.append(12, '\0');
                    corner(x, y);
                    corner(x + 1, y + 1 - lower);
                    corner(x + lower, y + 1);
                    stl.append(2, '\0');
                }
        return stl;
    };
    const std::uint32_t over = static_cast<std::uint32_t>(kMaxSimplifiedTriangles + 1);
    TemporaryFolder::WriteBytes(folder.File("large.stl"), grid(550, 550, 550 * 550 * 2));
    TemporaryFolder::WriteBytes(folder.File("past.stl"),
                                grid(0, 0, over) + std::string(std::size_t{50} * over, '\0'));
    MeshDocument document;
    std::string message;
    std::string asked;
    const auto yes = [&](const std::string& question) {
        asked = question;
        return true;
    };
    ASSERT_TRUE(ImportModel(folder.File("large.stl"), document, message, kMaxModelTriangles, yes))
        << message;
    EXPECT_EQ(asked.rfind("Il modello richiede 303601 vertici, oltre il limite di 65535.", 0), 0u);
    EXPECT_LE(document.Vertices.size(), 65535u);
    EXPECT_LE(document.FaceCount, 524280);
    asked.clear();
    EXPECT_FALSE(ImportModel(folder.File("past.stl"), document, message, kMaxModelTriangles, yes));
    EXPECT_EQ(message, "Il modello ha 2097121 triangoli, oltre il limite di 2097120.");
    EXPECT_TRUE(asked.empty());
}

// A value no float carries is refused on the way in, whichever reader let it through, and
// on the way out, in every format, naming the vertex as the list numbers it; a value just
// within the range passes, and the framing of the largest values stays finite.
TEST(ModelImport, ValuesPastAFloatAreRefusedByVertexInAndOut) {
    TemporaryFolder folder;
    const std::pair<const char*, std::string> imports[] = {
        // Two scales of 1e300 make an infinite one, which turns the origin into NaN.
        {"nan.gltf",
         R"({"asset":{"version":"2.0"},"accessors":[{"componentType":5126,"count":3,"type":)"
         R"("VEC3"}],"meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],"nodes":[{)"
         R"("scale":[1,1e300,1],"children":[1]},{"scale":[1,1e300,1],"mesh":0}]})"},
        // The third position's Y is +inf.
        {"inf.gltf",
         R"({"asset":{"version":"2.0"},"buffers":[{"byteLength":36,"uri":"data:application/)"
         R"(octet-stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgH8AAAAA"}],)"
         R"("bufferViews":[{"buffer":0,"byteLength":36}],"accessors":[{"bufferView":0,)"
         R"("componentType":5126,"count":3,"type":"VEC3"}],"meshes":[{"primitives":[{)"
         R"("attributes":{"POSITION":0}}]}],"nodes":[{"mesh":0}],"scenes":[{"nodes":[0]}]})"},
        {"far.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 1e39\nf 1 2 3\nf 1 3 4\n"},
        {"uv.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvt 0 -1e39\nf 1/1 2/1 3/2\n"},
        // tinyobjloader would read the words as 0.
        {"words.obj", "v 0 0 0 # inf\nv 1 0 0\nvt 0 -Inf\nv nan 1 0\nf 1 2 3\n"},
        {"doubles.ply", "ply\nformat ascii 1.0\nelement vertex 3\nproperty double x\n"
                        "property double y\nproperty double z\nelement face 1\n"
                        "property list uchar int vertex_indices\nend_header\n"
                        "0 0 0\n1 0 0\n1e308 1 0\n3 0 1 2\n"},
        {"far.stl", "solid s\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\n"
                    "vertex 0 -4e38 0\nendloop\nendfacet\nendsolid s\n"},
    };
    // Named as the document holds them: in its axes, each triangle's corners reversed.
    const std::string expected[] = {
        "il vertice 1 ha Y che non \xC3\xA8 un numero (NaN).",
        "il vertice 2 ha Y infinito.",
        "il vertice 4 ha Z infinito.",
        "il vertice 2 ha Tv infinito.",
        "la riga 3 ha \"-Inf\" dove va un numero finito.",
        "il vertice 2 ha X = 1e+308, oltre il massimo di un numero a 32 bit (3.40282e+38).",
        "il vertice 2 ha Z = -4e+38, oltre il massimo di un numero a 32 bit (3.40282e+38).",
    };
    for (std::size_t i = 0; i < std::size(imports); ++i) {
        SCOPED_TRACE(imports[i].first);
        TemporaryFolder::WriteBytes(folder.File(imports[i].first), imports[i].second);
        MeshDocument document = Pyramid();
        std::string message;
        EXPECT_FALSE(ImportModel(folder.File(imports[i].first), document, message));
        EXPECT_EQ(message, "Il modello non si pu\xC3\xB2 importare: " + expected[i]);
        EXPECT_EQ(document.Vertices, Pyramid().Vertices);
    }

    const struct {
        double MeshVertex::*position;
        float MeshVertex::*texture;
        double value;
        std::string named; // empty: the export goes through
    } values[] = {
        {&MeshVertex::Y, nullptr, 1e40, "il vertice 3 ha Y = 1e+40"},
        {&MeshVertex::X, nullptr, -NAN, "il vertice 3 ha X che non"},
        {nullptr, &MeshVertex::Tu, INFINITY, "il vertice 3 ha Tu infinito"},
        {&MeshVertex::Z, nullptr, -FLT_MAX, ""},
    };
    for (const auto& v : values) {
        MeshDocument document = Pyramid();
        if (v.position) {
            document.Vertices[2].*v.position = v.value;
        } else {
            document.Vertices[2].*v.texture = static_cast<float>(v.value);
        }
        for (const char* name : {"e.obj", "e.ply", "e.stl", "e.glb", "e.gltf"}) {
            SCOPED_TRACE(std::string(name) + " " + v.named);
            const std::string path = folder.File(name);
            std::filesystem::remove(path);
            std::string message;
            EXPECT_EQ(ExportModel(document, path, message), v.named.empty()) << message;
            EXPECT_EQ(std::filesystem::exists(path), v.named.empty());
            if (!v.named.empty()) {
                const std::string start = "Il modello non si pu\xC3\xB2 esportare: " + v.named;
                EXPECT_EQ(message.rfind(start, 0), 0u) << message;
            }
        }
    }

    MeshDocument largest;
    largest.EyeZ = 1e-320; // an eye so near that scaling its distance would overflow
    largest.RotX = 45;
    largest.RotZ = 45;
    largest.Vertices = {{FLT_MAX, FLT_MAX, FLT_MAX, 0, 0, 0}, {FLT_MAX, -FLT_MAX, FLT_MAX, 0, 0, 0},
                        {FLT_MAX, FLT_MAX, -FLT_MAX, 0, 0, 0}};
    FrameMesh(largest);
    for (double value : {largest.MoveX, largest.MoveY, largest.MoveZ, largest.EyeX, largest.EyeY,
                         largest.EyeZ})
        EXPECT_LE(std::fabs(value), FLT_MAX) << value;
    EXPECT_EQ(largest.EyeZ, FLT_MAX) << "as far back along its line as a float reaches";
}

namespace {

std::string AssimpTexture(const std::string& path) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate);
    aiString texture;
    for (unsigned m = 0; scene != nullptr && m < scene->mNumMaterials; ++m) {
        if (scene->mMaterials[m]->GetTexture(aiTextureType_DIFFUSE, 0, &texture) == AI_SUCCESS)
            return texture.C_Str();
    }
    return "";
}

} // namespace

// An OBJ and its MTL: a name with blanks still links the two for every reader, and a
// failure at any step leaves both files as they were, naming the file that failed and why.
TEST(ModelImport, AnObjAndItsMaterialFileGoTogether) {
    TemporaryFolder folder;
    MeshDocument document = Pyramid();
    document.TextureFile = folder.File("legno.bmp");
    TemporaryFolder::WriteBytes(document.TextureFile, "BM");
    const std::string obj = folder.File("Nuovo modello.obj");
    const std::string mtl = folder.File("Nuovo_modello.mtl");
    EXPECT_EQ(MaterialPathFor(obj), mtl);
    EXPECT_EQ(MaterialPathFor("C:\\mie cose\\a #1.OBJ"), "C:\\mie cose\\a__1.mtl");
    std::string message;
    ASSERT_TRUE(ExportModel(document, obj, message)) << message;
    EXPECT_NE(TemporaryFolder::ReadBytes(obj).find("mtllib Nuovo_modello.mtl\n"), std::string::npos);
    MeshDocument read;
    ASSERT_TRUE(ImportModel(obj, read, message)) << message;
    EXPECT_EQ(read.TextureFile, document.TextureFile);
    EXPECT_EQ(AssimpTexture(obj), "legno.bmp");

    // The MTL cannot take its place: the OBJ already in place goes back.
    TemporaryFolder::WriteBytes(obj, "old obj");
    std::filesystem::remove(mtl);
    std::filesystem::create_directories(mtl + "/occupato");
    EXPECT_FALSE(ExportModel(document, obj, message));
    EXPECT_EQ(message.rfind(mtl + ": ", 0), 0u) << message;
    EXPECT_EQ(TemporaryFolder::ReadBytes(obj), "old obj");
    std::filesystem::remove_all(mtl);
    TemporaryFolder::WriteBytes(mtl, "old mtl");
    EXPECT_EQ(folder.Entries(),
              (std::vector<std::string>{"Nuovo modello.obj", "Nuovo_modello.mtl", "legno.bmp"}));

    // A folder that is not there: nothing is written, and the message says so.
    const std::string lost = folder.File("mancante/m.obj");
    EXPECT_FALSE(ExportModel(document, lost, message));
    EXPECT_EQ(message, lost + ": Il file o la cartella non esiste.");
}

namespace {

// The file's own triangles, read without the façade's turn into the document's axes.
std::vector<ModelCorner> CornersInFile(const std::string& path) {
    ModelTriangles model;
    std::string message;
    const std::string bytes = TemporaryFolder::ReadBytes(path);
    const std::string extension = path.substr(path.rfind('.'));
    const bool read = extension == ".obj"   ? ReadObj(path, model, message)
                      : extension == ".ply" ? ReadPly(bytes, model, message)
                      : extension == ".stl" ? ReadStl(bytes, model, message)
                                            : ReadGltf(path, model, message);
    EXPECT_TRUE(read) << path << ": " << message;
    return model.corners;
}

bool MinusZero(double value) {
    return value == 0 && std::signbit(value);
}

void WriteInFile(const ModelMesh& mesh, const std::string& path) {
    std::string bytes, material, message;
    const std::string extension = path.substr(path.rfind('.'));
    if (extension == ".obj")
        WriteObj(mesh, "m.mtl", bytes, material);
    else if (extension == ".ply")
        bytes = WritePly(mesh);
    else if (extension == ".stl")
        bytes = WriteStl(mesh);
    else
        EXPECT_TRUE(WriteGltf(mesh, true, bytes, message)) << message;
    TemporaryFolder::WriteBytes(path, bytes);
}

} // namespace

// A right-handed triangle comes into the document mirrored into Direct3D's axes with its
// corners in the other order, and goes back out to the same values and order; no zero
// becomes -0 on either way.
TEST(ModelImport, EachFormatTurnsIntoTheDocumentsAxesAndBackExactly) {
    TemporaryFolder folder;
    ModelMesh inFile;
    inFile.vertices = {
        {1, 2, 0, 0xFFFFFF, 0, 0}, {4, 0, 6, 0xFFFFFF, 0, 0}, {-7, 8, 9, 0xFFFFFF, 0, 0}};
    inFile.indices = {0, 1, 2};
    const struct {
        const char* file;
        std::vector<MeshVertex> inDocument; // in the order of their first use
    } cases[] = {
        {"m.obj", {{1, 2, 0}, {-7, 8, -9}, {4, 0, -6}}},
        {"m.glb", {{1, 2, 0}, {-7, 8, -9}, {4, 0, -6}}},
        {"m.ply", {{1, 0, 2}, {-7, 9, 8}, {4, 6, 0}}},
        {"m.stl", {{1, 0, 2}, {-7, 9, 8}, {4, 6, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        WriteInFile(inFile, folder.File(c.file));
        MeshDocument document;
        std::string message;
        ASSERT_TRUE(ImportModel(folder.File(c.file), document, message)) << message;
        ASSERT_EQ(document.Vertices.size(), 3u);
        EXPECT_EQ(document.Indices, (std::vector<std::uint16_t>{0, 1, 2}));
        for (std::size_t i = 0; i < 3; ++i) {
            const MeshVertex& v = document.Vertices[i];
            const MeshVertex& expected = c.inDocument[i];
            EXPECT_EQ(std::tuple(v.X, v.Y, v.Z), std::tuple(expected.X, expected.Y, expected.Z))
                << i;
            EXPECT_FALSE(MinusZero(v.X) || MinusZero(v.Y) || MinusZero(v.Z)) << i;
        }
        const std::string out = folder.File(std::string("out-") + c.file);
        ASSERT_TRUE(ExportModel(document, out, message)) << message;
        const std::vector<ModelCorner> written = CornersInFile(out);
        ASSERT_EQ(written.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            const MeshVertex& original = inFile.vertices[i];
            const ModelCorner& back = written[i];
            EXPECT_EQ(std::tuple(back.X, back.Y, back.Z),
                      std::tuple(original.X, original.Y, original.Z))
                << i;
            EXPECT_FALSE(MinusZero(back.X) || MinusZero(back.Y) || MinusZero(back.Z)) << i;
        }
    }
}

namespace {

// One white pixel as a 24-bit BMP, which a glTF file cannot carry as it is.
std::string WhitePixelBmp() {
    std::string bmp = "BM";
    const auto word = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    word(58, 4), word(0, 4), word(54, 4);                         // file size, reserved, pixels
    word(40, 4), word(1, 4), word(1, 4), word(1, 2), word(24, 2); // 1 x 1, 24 bits
    word(0, 4), word(4, 4), word(2835, 4), word(2835, 4), word(0, 4), word(0, 4);
    word(0xFFFFFF, 3), word(0, 1);
    return bmp;
}

} // namespace

// A picture inside a GLB is kept once in the picture folder; a project saved takes a copy
// beside it and finds it there with the model gone; a glTF export carries the picture
// (a BMP converted to PNG); and what an import leaves out is said.
TEST(ModelImport, APictureInsideAModelTravelsWithTheProjectAndTheExports) {
    TemporaryFolder folder;
    SetPictureFolder(folder.File("immagini"));
    const std::string png =
        std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0", 29) +
        "the picture's bytes";
    ModelMesh triangle;
    triangle.vertices = {
        {0, 0, 0, 0xFFFFFF, 0, 0}, {1, 0, 0, 0xFFFFFF, 1, 0}, {0, 1, 0, 0xFFFFFF, 0, 1}};
    triangle.indices = {0, 1, 2};
    triangle.texturePicture = png;
    WriteInFile(triangle, folder.File("box.glb"));
    MeshDocument document;
    std::string message;
    for (int twice = 0; twice < 2; ++twice) {
        ASSERT_TRUE(ImportModel(folder.File("box.glb"), document, message)) << message;
        EXPECT_EQ(message, "");
    }
    EXPECT_TRUE(IsKeptPicture(document.TextureFile)) << document.TextureFile;
    EXPECT_EQ(TemporaryFolder::ReadBytes(document.TextureFile), png);
    EXPECT_EQ(std::filesystem::directory_iterator(folder.File("immagini"))->path().string(),
              document.TextureFile)
        << "one file, written once";
    const std::string kept = document.TextureFile;
    TemporaryFolder::WriteBytes(kept, "another picture that came by the same name");
    ASSERT_TRUE(ImportModel(folder.File("box.glb"), document, message)) << message;
    EXPECT_EQ(document.TextureFile, kept.substr(0, kept.size() - 4) + "-2.png");
    EXPECT_EQ(TemporaryFolder::ReadBytes(kept), "another picture that came by the same name");

    ASSERT_TRUE(ExportModel(document, folder.File("modello blu.obj"), message)) << message;
    EXPECT_NE(TemporaryFolder::ReadBytes(folder.File("modello_blu.mtl")).find("map_Kd modello_blu.png"),
              std::string::npos);
    EXPECT_EQ(TemporaryFolder::ReadBytes(folder.File("modello_blu.png")), png);

    TemporaryFolder::WriteBytes(folder.File("progetto.png"), "another picture");
    std::string name, problem;
    ASSERT_TRUE(
        CopyPictureBeside(folder.File("progetto.kv3"), document.TextureFile, name, problem))
        << problem;
    EXPECT_EQ(name, "progetto (2).png");
    std::filesystem::remove(folder.File("box.glb"));
    document.TextureFile = ProjectTexture(folder.File(""), name, NameScope::Project).path;
    EXPECT_EQ(document.TextureFile, folder.File("progetto (2).png"));
    EXPECT_EQ(ProjectTexture(folder.File(""), "altrove.png", NameScope::Project).path, "altrove.png");
    ASSERT_TRUE(ExportModel(document, folder.File("out.gltf"), message)) << message;
    ModelTriangles carried;
    ASSERT_TRUE(ReadGltf(folder.File("out.gltf"), carried, message)) << message;
    EXPECT_EQ(carried.texturePicture, png);

    TemporaryFolder::WriteBytes(folder.File("bianco.bmp"), WhitePixelBmp());
    document.TextureFile = folder.File("bianco.bmp");
    ASSERT_TRUE(ExportModel(document, folder.File("out.glb"), message)) << message;
    ASSERT_TRUE(ReadGltf(folder.File("out.glb"), carried, message)) << message;
    EXPECT_EQ(PictureExtension(carried.texturePicture), ".png");
    std::string huge = WhitePixelBmp();
    huge[18] = 0x20, huge[19] = 0x4E; // 20,000 pixels wide, in a header of 58 bytes
    TemporaryFolder::WriteBytes(document.TextureFile, huge);
    ASSERT_TRUE(ExportModel(document, folder.File("out.glb"), message));
    EXPECT_NE(message.find("misura 20000 \xC3\x97 1 pixel"), std::string::npos) << message;
    document.TextureFile = folder.File("legno.dds");
    TemporaryFolder::WriteBytes(document.TextureFile, "DDS not a picture stb reads");
    ASSERT_TRUE(ExportModel(document, folder.File("out.glb"), message));
    EXPECT_NE(message.find("senza texture"), std::string::npos) << message;

    // An OBJ's material b is used only where the table defines it.
    const std::pair<std::string, const char*> notes[] = {
        {"map_Kd mancante.png\n", "mancante.png indicata dal modello non esiste"},
        {"map_Kd \\\\server\\condivisa\\legno.png\n", "si trova su un altro computer"},
        {"map_Kd ../../../../etc/passwd\n", "../../../../etc/passwd \xC3\xA8 fuori dalla cartella"},
        {"map_Kd http://example.com/legno.png\n", "\xC3\xA8 un indirizzo Internet"},
        {"map_Kd CON\n", "il nome di un dispositivo"},
        {"map_Kd bianco.bmp\nnewmtl b\nmap_Kd altro.bmp\n", "usa 2 texture"},
        {"map_Kd bianco.bmp\nnewmtl c\nmap_Kd altro.bmp\n", ""},
    };
    for (const auto& [material, note] : notes) {
        TemporaryFolder::WriteBytes(folder.File("n.mtl"), "newmtl a\n" + material);
        TemporaryFolder::WriteBytes(folder.File("n.obj"), "mtllib n.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
                                                          "usemtl a\nf 1 2 3\nusemtl b\nf 1 3 2\n");
        ASSERT_TRUE(ImportModel(folder.File("n.obj"), document, message)) << message;
        EXPECT_TRUE(*note ? message.find(note) != std::string::npos : message.empty()) << message;
    }
    // A material library that is missing or not opened is told of as a texture is, once.
    const std::pair<const char*, const char*> libraries[] = {
        {"mtllib manca.mtl\nmtllib manca.mtl\n", "manca.mtl indicata dal modello non esiste."},
        {"mtllib ../fuori.mtl\n", "La libreria dei materiali ../fuori.mtl \xC3\xA8 fuori dalla"},
        {"mtllib //server/condivisa/m.mtl\n", "si trova su un altro computer"},
    };
    TemporaryFolder::WriteBytes(folder.Path().parent_path().string() + "/fuori.mtl", "newmtl a\n");
    for (const auto& [library, note] : libraries) {
        TemporaryFolder::WriteBytes(folder.File("n.obj"),
                                    std::string(library) + "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
        ASSERT_TRUE(ImportModel(folder.File("n.obj"), document, message)) << message;
        EXPECT_NE(message.find(note), std::string::npos) << message;
        EXPECT_EQ(message.find(note), message.rfind(note)) << message;
    }
    std::filesystem::remove(folder.Path().parent_path() / "fuori.mtl");
    const std::string ply = WritePly(triangle);
    const std::size_t header = ply.find("element");
    TemporaryFolder::WriteBytes(folder.File("n.ply"), ply.substr(0, header) +
                                                          "comment TextureFile bianco.bmp\n"
                                                          "comment TextureFile altro.bmp\n" +
                                                          ply.substr(header));
    ASSERT_TRUE(ImportModel(folder.File("n.ply"), document, message)) << message;
    EXPECT_NE(message.find("usa 2 texture"), std::string::npos) << message;
    EXPECT_EQ(document.TextureFile, folder.File("bianco.bmp"));
    SetPictureFolder("");
}
