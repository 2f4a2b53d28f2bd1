// The STL reader on small ASCII and binary files written out by hand, the writer read back
// by this reader and by assimp's, and real files made by other programs.

#include "document/stl_format.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace MyApp;

namespace {

void AppendFloats(std::string& out, std::initializer_list<float> values) {
    for (float value : values) {
        char raw[4];
        std::memcpy(raw, &value, 4); // the test machines are little-endian, as STL is
        out.append(raw, 4);
    }
}

// A binary file of `count` triangles, each at x = its number, under the given header.
std::string BinaryStl(const std::string& header, std::uint32_t count, std::uint32_t declared) {
    std::string out = header;
    out.resize(80, ' ');
    out.append(reinterpret_cast<const char*>(&declared), 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        const float x = static_cast<float>(i);
        AppendFloats(out, {0, 0, 1, x, 0, 0, x + 1, 0, 0, x, 1, 0});
        out.append(2, '\0');
    }
    return out;
}

ModelTriangles Read(const std::string& bytes) {
    ModelTriangles model;
    std::string message;
    EXPECT_TRUE(ReadStl(bytes, model, message)) << message;
    return model;
}

const std::string kFacet = " facet normal 0 0 1\n  outer loop\n   vertex 0 0 0\n"
                           "   vertex 1 0 0\n   vertex 0 1 0\n  endloop\n endfacet\n";

} // namespace

TEST(StlReader, ReadsAsciiAndBinaryWhateverTheirHeaderSays) {
    struct Case {
        const char* what;
        std::string file;
        std::size_t triangles;
        double area; // of the triangles together, each counted once
    };
    const Case cases[] = {
        {"one solid", "solid uno\n" + kFacet + "endsolid uno\n", 1, 0.5},
        {"two solids, an empty one, CRLF",
         "solid a\r\n" + kFacet + kFacet +
             "endsolid a\r\n"
             "solid vuoto\r\nendsolid\r\n",
         2, 1},
        {"capitals, a quad, a plus sign and no normal",
         "SOLID\nFACET OUTER LOOP VERTEX 0 0 0 VERTEX +1 0 0 VERTEX 1 1e0 0 VERTEX 0 1 0\n"
         "ENDLOOP ENDFACET ENDSOLID",
         2, 1},
        {"a concave facet covers its own area",
         "solid\nfacet normal 0 0 1\nouter loop\n"
         "vertex 0 2 0\nvertex 1 1 0\nvertex 0 0 0\nvertex 10 1 0\nendloop\nendfacet\nendsolid\n",
         2, 9},
        {"binary", BinaryStl("binary", 3, 3), 3, 1.5},
        {"binary whose header starts with solid", BinaryStl("solid oggetto", 2, 2), 2, 1},
        {"binary with solid and bytes past its triangles",
         BinaryStl("solid oggetto", 2, 2) + "\n\n", 2, 1},
        {"binary with no triangles", BinaryStl("", 0, 0), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ModelTriangles model = Read(c.file);
        ASSERT_EQ(model.corners.size(), 3 * c.triangles);
        if (c.triangles == 0)
            continue;
        EXPECT_EQ(model.corners[1].X, 1);
        EXPECT_EQ(model.corners[2].Y, 1);
        EXPECT_EQ(model.corners.back().Color, 0xFFFFFFu);
        EXPECT_EQ(model.corners.back().Tu, 0);
        EXPECT_EQ(model.corners.back().Tv, 0);
        double area = 0;
        for (std::size_t i = 0; i < model.corners.size(); i += 3) {
            const ModelCorner* t = &model.corners[i];
            area += std::fabs((t[1].X - t[0].X) * (t[2].Y - t[0].Y) -
                              (t[1].Y - t[0].Y) * (t[2].X - t[0].X)) / 2;
        }
        EXPECT_EQ(area, c.area);
    }
}

TEST(StlReader, RefusesBrokenFilesWithAReasonAndKeepsTheModel) {
    std::vector<std::string> broken = {
        "",
        "solid",
        "solido\n" + kFacet + "endsolid\n",
        "solid a\n" + kFacet,                              // no endsolid
        "solid a\n" + kFacet.substr(0, kFacet.size() / 2), // cut inside a facet
        "solid a\n facet normal 0 0 1\n outer loop\n vertex 0 0 0\n vertex 1 0 0\n endloop\n"
        " endfacet\nendsolid\n", // two corners
        "solid a\n facet normal 0 0 1\n outer loop\n vertex 0 0 0\n vertex 1 zero 0\n"
        " vertex 0 1 0\n endloop\n endfacet\nendsolid\n",
        "solid a\n facet normal 0 0 1\n outer loop\n vertex 0 0 0\n vertex 1 inf 0\n"
        " vertex 0 1 0\n endloop\n endfacet\nendsolid\n",
        "un file di testo qualunque",
        BinaryStl("binary", 3, 4), // one triangle short
        BinaryStl("binary", 0, 0xFFFFFFFF),
    };
    std::string notFinite = BinaryStl("binary", 1, 1);
    std::memcpy(&notFinite[84 + 20], "\x00\x00\xC0\x7F", 4); // a NaN
    broken.push_back(notFinite);
    for (const std::string& bytes : broken) {
        SCOPED_TRACE(bytes.substr(0, 100));
        ModelTriangles model;
        model.corners.resize(3);
        std::string message;
        EXPECT_FALSE(ReadStl(bytes, model, message));
        EXPECT_FALSE(message.empty());
        EXPECT_EQ(model.corners.size(), 3u);
    }
}

TEST(StlWriter, WritesUnitNormalsAndReadsBackInOursAndAssimp) {
    ModelMesh mesh;
    mesh.vertices = {MeshVertex{0, 0, 0, 0x123456, 0.5f, 0.5f}, MeshVertex{2, 0, 0},
                     MeshVertex{0, 3, 0}, MeshVertex{0, 0, 4}, MeshVertex{4, 0, 0}};
    // Counter-clockwise seen from +z, clockwise, one without area, and an index past
    // the vertices that must not reach the file.
    mesh.indices = {0, 1, 2, 0, 2, 1, 0, 1, 4, 0, 1, 3, 0, 1, 9};
    const std::string bytes = WriteStl(mesh);
    ASSERT_EQ(bytes.size(), 84u + 4 * 50);
    EXPECT_NE(bytes.compare(0, 5, "solid"), 0);
    const float normals[4][3] = {{0, 0, 1}, {0, 0, -1}, {0, 0, 0}, {0, -1, 0}};
    for (int f = 0; f < 4; ++f) {
        float written[3];
        std::memcpy(written, bytes.data() + 84 + 50 * f, sizeof written);
        EXPECT_EQ(written[0], normals[f][0]);
        EXPECT_EQ(written[1], normals[f][1]);
        EXPECT_EQ(written[2], normals[f][2]);
    }
    // Its products make -0 of the normal's X and Z, which the file writes as 0.
    ModelMesh flat;
    flat.vertices = {MeshVertex{1, 2, 0}, MeshVertex{-4, 2, 6}, MeshVertex{7, 2, -9}};
    flat.indices = {0, 1, 2};
    float written[3];
    std::memcpy(written, WriteStl(flat).data() + 84, sizeof written);
    EXPECT_FALSE(std::signbit(written[0]) || std::signbit(written[2]));

    const ModelTriangles model = Read(bytes);
    ASSERT_EQ(model.corners.size(), 12u);
    for (std::size_t k = 0; k < 12; ++k) {
        EXPECT_EQ(model.corners[k].X, mesh.vertices[mesh.indices[k]].X);
        EXPECT_EQ(model.corners[k].Y, mesh.vertices[mesh.indices[k]].Y);
        EXPECT_EQ(model.corners[k].Z, mesh.vertices[mesh.indices[k]].Z);
    }

    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(),
                                                       aiProcess_JoinIdenticalVertices, "stl");
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumMeshes, 1u);
    EXPECT_EQ(scene->mMeshes[0]->mNumFaces, 4u);
    // Each facet carries its own normal, so no reader shares a corner between facets.
    EXPECT_EQ(scene->mMeshes[0]->mNumVertices, model.corners.size());
}

