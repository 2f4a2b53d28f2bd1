// The PLY reader on small files written out by hand in each encoding, the writer read back
// by this reader and by assimp's, and real files made by other programs.

#include "document/ply_format.h"

#include <algorithm>
#include <array>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

using namespace MyApp;

namespace {

// The data part of a binary file, value by value, in either byte order.
class Bytes {
public:
    explicit Bytes(bool bigEndian) : m_bigEndian(bigEndian) {}
    template <typename T> Bytes& Add(T value) {
        char raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T));
        if (m_bigEndian)
            std::reverse(raw, raw + sizeof(T));
        m_text.append(raw, sizeof(T));
        return *this;
    }
    std::string Text() const { return m_text; }

private:
    bool m_bigEndian;
    std::string m_text;
};

constexpr const char* kQuadHeader =
    "element vertex 4\n"
    "property float x\nproperty float y\nproperty double z\n"
    "property uchar red\nproperty uchar green\nproperty uchar blue\n"
    "property float s\nproperty float t\n"
    "element face 1\nproperty list uchar int vertex_indices\n"
    "end_header\n";

std::string BinaryQuad(bool bigEndian) {
    Bytes data(bigEndian);
    for (int i = 0; i < 4; ++i) {
        data.Add<float>(i % 2).Add<float>(i / 2).Add<double>(i + 0.5);
        data.Add<std::uint8_t>(10 * i).Add<std::uint8_t>(20).Add<std::uint8_t>(255);
        data.Add<float>(0.25f * i).Add<float>(0.75f);
    }
    data.Add<std::uint8_t>(4).Add<std::int32_t>(0).Add<std::int32_t>(1).Add<std::int32_t>(3);
    data.Add<std::int32_t>(2);
    return std::string("ply\nformat ") +
           (bigEndian ? "binary_big_endian" : "binary_little_endian") + " 1.0\n" + kQuadHeader +
           data.Text();
}

const std::string kAsciiQuad = std::string("ply\r\nformat ascii 1.0\r\n") + kQuadHeader +
                               "0 0 0.5 0 20 255 0 0.75\n"
                               "1 0 1.5 10 20 255 0.25 0.75\n"
                               "0 1 2.5 20 20 255 0.5 0.75\n"
                               "1 1 3.5 30 20 255 0.75 0.75\n"
                               "4 0 1 3 2\n";

// A quad whose shorter diagonal runs outside it: only the one through its notch (vertex 1)
// keeps the face's own area of 9.
const std::string kAsciiArrow = std::string("ply\nformat ascii 1.0\n") + kQuadHeader +
                                "10 1 0 0 20 255 0 0.75\n"
                                "1 1 0 10 20 255 0.25 0.75\n"
                                "0 0 0 20 20 255 0.5 0.75\n"
                                "0 2 0 30 20 255 0.75 0.75\n"
                                "4 3 1 2 0\n";

ModelTriangles Read(const std::string& bytes) {
    ModelTriangles model;
    std::string message;
    EXPECT_TRUE(ReadPly(bytes, model, message)) << message;
    return model;
}

} // namespace

TEST(PlyReader, ReadsEachEncodingAndCutsItsPolygonsAlongTheirOutline) {
    using Positions = std::array<std::array<double, 3>, 4>;
    struct Case {
        const char* what;
        std::string bytes;
        Positions positions;
        int order[6]; // the vertices of the two triangles
    };
    const Positions quad = {{{0, 0, 0.5}, {1, 0, 1.5}, {0, 1, 2.5}, {1, 1, 3.5}}};
    const Case cases[] = {
        {"ASCII quad, on its shorter diagonal", kAsciiQuad, quad, {0, 1, 2, 1, 3, 2}},
        {"binary little-endian quad", BinaryQuad(false), quad, {0, 1, 2, 1, 3, 2}},
        {"binary big-endian quad", BinaryQuad(true), quad, {0, 1, 2, 1, 3, 2}},
        {"concave quad", kAsciiArrow, {{{10, 1, 0}, {1, 1, 0}, {0, 0, 0}, {0, 2, 0}}},
         {3, 1, 0, 1, 2, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ModelTriangles model = Read(c.bytes);
        ASSERT_EQ(model.corners.size(), 6u);
        for (int k = 0; k < 6; ++k) {
            const ModelCorner& corner = model.corners[k];
            const int i = c.order[k];
            EXPECT_EQ(corner.X, c.positions[i][0]);
            EXPECT_EQ(corner.Y, c.positions[i][1]);
            EXPECT_EQ(corner.Z, c.positions[i][2]);
            EXPECT_EQ(corner.Color, 0xFF1400u + 10u * i);
            EXPECT_EQ(corner.Tu, 0.25f * i);
            EXPECT_EQ(corner.Tv, 0.25f); // v goes down in the document
        }
    }
}

TEST(PlyReader, TakesColoursTextureNamesAndPassesOverWhatItDoesNotUse) {
    struct Case {
        const char* what;
        std::string file;
        std::uint32_t color;
        float tu, tv;
        std::string texture;
    };
    const std::string head = "ply\nformat ascii 1.0\n";
    const std::string face = "element face 1\nproperty list uchar uint vertex_index\n";
    const Case cases[] = {
        {"float colours, alpha and texture_u/v",
         head +
             "comment TextureFile legno scuro.png \n"
             "element vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
             "property float red\nproperty float green\nproperty float blue\nproperty float alpha\n"
             "property float texture_u\nproperty float texture_v\n" +
             face +
             "end_header\n"
             "0 0 0 1 0.5 0 0.2 0.5 0.25\n1 0 0 1 0.5 0 1 0.5 0.25\n0 1 0 1 0.5 0 1 0.5 0.25\n"
             "3 0 1 2\n",
         0x0080FF, 0.5f, 0.75f, "legno scuro.png"},
        {"skipped scalars and lists, other elements on both sides",
         head +
             "element material 2\nproperty list uchar float ambient\nproperty short id\n"
             "element vertex 3\nproperty double nx\nproperty float x\nproperty list int uchar n\n"
             "property float y\nproperty float z\nproperty ushort u\nproperty ushort v\n"
             "element face 1\nproperty uchar flags\nproperty list uint8 int32 vertex_indices\n"
             "property list uchar float texcoord\n"
             "element edge 1\nproperty int vertex1\nproperty int vertex2\nend_header\n"
             "3 0.1 0.2 0.3 7\n0 1\n"
             "9 0 2 5 5 0 0 1 2\n9 1 0 0 1 1 2\n9 0 1 1 1 1 1 2\n"
             "6 3 0 1 2 6 0 1 0 1 0 1\n0 1\n",
         0xFFFFFF, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ModelTriangles model = Read(c.file);
        ASSERT_EQ(model.corners.size(), 3u);
        EXPECT_EQ(model.corners[0].Color, c.color);
        EXPECT_EQ(model.textureFile, c.texture);
        EXPECT_EQ(model.corners[0].Tu, c.tu);
        EXPECT_EQ(model.corners[0].Tv, c.tv);
        EXPECT_EQ(model.corners[1].X, 1);
        EXPECT_EQ(model.corners[2].Y, 1);
    }
}

TEST(PlyReader, RefusesBrokenFilesWithAReasonAndKeepsTheModel) {
    const std::string head = "ply\nformat ascii 1.0\nelement vertex 3\n"
                             "property float x\nproperty float y\nproperty float z\n";
    const std::string face = "element face 1\nproperty list uchar int vertex_indices\nend_header\n";
    const std::string vertices = "0 0 0\n1 0 0\n0 1 0\n";
    std::string hugeBinary = "ply\nformat binary_little_endian 1.0\nelement vertex 4000000000\n"
                             "property float x\nproperty float y\nproperty float z\nend_header\n";
    hugeBinary.append(64, '\0');
    std::string hugeList = "ply\nformat binary_big_endian 1.0\nelement vertex 1\nproperty float x\n"
                           "property float y\nproperty float z\nelement face 1\n"
                           "property list uint uint vertex_indices\nend_header\n";
    hugeList.append(12, '\0').append("\xFF\xFF\xFF\xF0\0\0\0\0", 8);
    const std::string broken[] = {
        "",
        "ply",
        "solid cube\n",
        head + face,                                             // no data at all
        head + face + vertices + "3 0 1",                        // cut in the last face
        head + face + vertices + "3 0 1 3\n",                    // index past the vertices
        head + face + vertices + "3 0 -1 2\n",                   // negative index
        head + face + vertices + "3 0 1.5 2\n",                  // index not whole
        head + face + "0 0 0\n1 zero 0\n0 1 0\n3 0 1 2\n",       // not a number
        head + face + "0 0 0\n1 nan 0\n0 1 0\n3 0 1 2\n",        // not a finite coordinate
        "ply\nformat ascii 2.0\nend_header\n",                   // unknown version
        "ply\nformat binary_middle_endian 1.0\nend_header\n",    // unknown encoding
        "ply\nelement vertex 0\nend_header\n",                   // no format
        "ply\nformat ascii 1.0\nproperty float x\nend_header\n", // no element
        "ply\nformat ascii 1.0\nelement vertex 1\nproperty half x\nend_header\n",
        "ply\nformat ascii 1.0\nelement vertex -1\nend_header\n",
        "ply\nformat ascii 1.0\nelement vertex 1\nproperty float y\nend_header\n1\n", // no x
        "ply\nformat ascii 1.0\nelement face 1\nproperty list float int vertex_indices\n"
        "end_header\n", // list length as a float
        hugeBinary,
        hugeList,
        BinaryQuad(false).substr(0, BinaryQuad(false).size() - 1),
    };
    for (const std::string& bytes : broken) {
        SCOPED_TRACE(bytes.substr(0, 120));
        ModelTriangles model;
        model.corners.resize(3);
        model.textureFile = "prima.png";
        std::string message;
        EXPECT_FALSE(ReadPly(bytes, model, message));
        EXPECT_FALSE(message.empty());
        EXPECT_EQ(model.corners.size(), 3u);
        EXPECT_EQ(model.textureFile, "prima.png");
    }
}

TEST(PlyReader, AFileOfPointsGivesNoCorners) {
    const ModelTriangles model =
        Read("ply\nformat ascii 1.0\nelement vertex 2\nproperty float x\n"
             "property float y\nproperty float z\nend_header\n1 2 3\n4 5 6\n");
    EXPECT_TRUE(model.corners.empty());
}

TEST(PlyWriter, OurReaderAndAssimpReadBackTheMesh) {
    ModelMesh mesh;
    mesh.textureFile = "trama.bmp";
    for (int i = 0; i < 5; ++i)
        mesh.vertices.push_back(MeshVertex{i * 1.5, i * i - 2.0, -i / 4.0,
                                           0x00102030u * static_cast<std::uint32_t>(i), 0.125f * i,
                                           1 - 0.25f * i});
    mesh.indices = {0, 1, 2, 0, 2, 3, 3, 4, 0, 4, 1, 2};
    const std::string bytes = WritePly(mesh);

    const ModelTriangles model = Read(bytes);
    EXPECT_EQ(model.textureFile, "trama.bmp");
    ASSERT_EQ(model.corners.size(), mesh.indices.size());
    for (std::size_t k = 0; k < mesh.indices.size(); ++k) {
        const MeshVertex& written = mesh.vertices[mesh.indices[k]];
        const ModelCorner& read = model.corners[k];
        EXPECT_EQ(read.X, written.X);
        EXPECT_EQ(read.Y, written.Y);
        EXPECT_EQ(read.Z, written.Z);
        EXPECT_EQ(read.Color, written.Color);
        EXPECT_EQ(read.Tu, written.Tu);
        EXPECT_EQ(read.Tv, written.Tv);
    }

    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(),
                                                       aiProcess_JoinIdenticalVertices, "ply");
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumMeshes, 1u);
    EXPECT_EQ(scene->mMeshes[0]->mNumFaces, 4u);
    EXPECT_EQ(scene->mMeshes[0]->mNumVertices, 5u);
    EXPECT_TRUE(scene->mMeshes[0]->HasVertexColors(0));
}

