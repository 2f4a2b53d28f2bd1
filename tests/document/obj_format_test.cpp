// OBJ files as the reader turns them into triangles, the writer's files read back by the
// reader and by assimp, and real files of assimp's test models against assimp's counts.

#include "document/obj_format.h"

#include "tests/support/assimp_counts.h"
#include "tests/support/temporary_folder.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace MyApp;

namespace {

struct ObjCase {
    const char* name;
    const char* obj;
    const char* mtl; // written as m.mtl beside the model when set
    std::size_t triangles;
    std::function<void(const ModelTriangles&)> check;
};

TEST(ObjFormat, ReadsTheFilesOfTheTable) {
    const ObjCase cases[] = {
        {"quad split in two", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n", nullptr, 2,
         [](const ModelTriangles& m) { EXPECT_EQ(m.corners[0].Color, 0x00FFFFFFu); }},
        {"concave hexagon covered once",
         "v 0 0 0\nv 4 0 0\nv 4 4 0\nv 3 1 0\nv 1 1 0\nv 0 4 0\n"
         "f 1 2 3 4 5 6\n",
         nullptr, 4,
         [](const ModelTriangles& m) {
             double area = 0;
             for (std::size_t i = 0; i < m.corners.size(); i += 3) {
                 const ModelCorner* c = &m.corners[i];
                 area += ((c[1].X - c[0].X) * (c[2].Y - c[0].Y) -
                          (c[1].Y - c[0].Y) * (c[2].X - c[0].X)) /
                         2;
             }
             EXPECT_EQ(area, 7); // the outline's area, every triangle turning its way
         }},
        {"negative indices are relative", "v 9 9 9\nv 1 0 0\nv 0 2 0\nv 0 0 3\nf -3 -2 -1\n",
         nullptr, 1,
         [](const ModelTriangles& m) {
             EXPECT_EQ(m.corners[0].X, 1);
             EXPECT_EQ(m.corners[1].Y, 2);
             EXPECT_EQ(m.corners[2].Z, 3);
         }},
        {"vertex colours win over Kd",
         "mtllib m.mtl\nv 0 0 0 1 0 0\nv 1 0 0 0 1 0\nv 0 1 0 0 0 0.5\nusemtl red\nf 1 2 3\n",
         "newmtl red\nKd 1 0 0\n", 1,
         [](const ModelTriangles& m) {
             EXPECT_EQ(m.corners[0].Color, 0x000000FFu);
             EXPECT_EQ(m.corners[1].Color, 0x0000FF00u);
             EXPECT_EQ(m.corners[2].Color, 0x00800000u);
         }},
        {"Kd where a vertex has no colour, texture beside the model",
         "mtllib m.mtl\nv 0 0 0 1 0 0\nv 1 0 0\nv 0 1 0\nvt 0.25 0.75\nusemtl blue\n"
         "f 1/1 2/1 3/1\n",
         "newmtl blue\nKd 0 0 1\nmap_Kd tex.png\n", 1,
         [](const ModelTriangles& m) {
             EXPECT_EQ(m.corners[0].Color, 0x00FF0000u);
             EXPECT_EQ(m.corners[2].Tu, 0.25f);
             EXPECT_EQ(m.corners[2].Tv, 0.25f); // v turned downwards
             EXPECT_EQ(std::filesystem::path(m.textureFile).filename(), "tex.png");
             EXPECT_TRUE(std::filesystem::exists(
                 std::filesystem::path(m.textureFile).parent_path() / "model.obj"));
         }},
        {"a texture without Kd shows white under it, before or after a Kd",
         "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl red\nf 1 2 3\nusemtl plane\nf 1 2 3\n"
         "usemtl sphere\nf 1 2 3\n",
         "newmtl sphere\nmap_Kd s.png\n\n  newmtl red \nKd 1 0 0\nnewmtl plane\r\n\tmap_Kd p.png\r\n", 3,
         [](const ModelTriangles& m) {
             EXPECT_EQ(m.corners[0].Color, 0x000000FFu);
             EXPECT_EQ(m.corners[3].Color, 0x00FFFFFFu);
             EXPECT_EQ(m.corners[6].Color, 0x00FFFFFFu);
         }},
        {"missing library leaves the model white",
         "mtllib none.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
         "usemtl x\nf 1 2 3\n",
         nullptr, 1, [](const ModelTriangles& m) { EXPECT_EQ(m.corners[1].Color, 0x00FFFFFFu); }},
        {"no faces", "v 0 0 0\nv 1 0 0\nl 1 2\n", nullptr, 0, nullptr},
    };
    for (const ObjCase& row : cases) {
        SCOPED_TRACE(row.name);
        TemporaryFolder folder;
        TemporaryFolder::WriteBytes(folder.File("model.obj"), row.obj);
        if (row.mtl)
            TemporaryFolder::WriteBytes(folder.File("m.mtl"), row.mtl);
        ModelTriangles model;
        std::string message;
        ASSERT_TRUE(ReadObj(folder.File("model.obj"), model, message)) << message;
        ASSERT_EQ(model.corners.size(), row.triangles * 3);
        if (row.check)
            row.check(model);
    }
}

TEST(ObjFormat, RefusesBrokenFilesWithTheReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n", "vertice 4, ma il file ne ha 3"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 -4\n", "vertice 0, ma il file ne ha 3"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/2 3/1\n", "coordinata di texture 2"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nf 1 2 3 5\n", "vertice 5"},
        {"v 0 0 0\nv 1 0 0\nf 0 1 2\n", "indice è zero"},
        {nullptr, "oltre 255 vertici"},
    };
    std::string wide = "v 0 0 0\nv 1 0 0\nv 1 1 0\nf";
    for (int corner = 0; corner < 300; ++corner)
        wide += " " + std::to_string(corner % 3 + 1);
    wide += "\nf 1 2 3\n";
    for (const auto& [obj, reason] : cases) {
        SCOPED_TRACE(reason);
        ModelTriangles model;
        std::string message;
        EXPECT_FALSE(ReadObjText(obj ? obj : wide.c_str(), "/nonexistent", model, message));
        EXPECT_NE(message.find(reason), std::string::npos) << message;
    }
    ModelTriangles model;
    std::string message;
    EXPECT_FALSE(ReadObj("/nonexistent/model.obj", model, message));
    EXPECT_NE(message.find("/nonexistent/model.obj"), std::string::npos);
}

ModelMesh SampleMesh() {
    ModelMesh mesh;
    mesh.vertices = {{1234.5678, -0.1, 3e-7, 0x00336699, 0.25f, 0.5f},
                     {1, 0, 0, 0x00FFFFFF, 1, 0},
                     {0, 1, 0, 0x00000000, 0, 1},
                     {0, 0, 1, 0x000000FF, 0.75f, 0.125f}};
    mesh.indices = {0, 1, 2, 0, 2, 3, 3, 1, 0};
    mesh.textureFile = "tex.png";
    return mesh;
}

// Each corner read back is the written vertex, its coordinates as floats.
void ExpectCornersOf(const ModelMesh& mesh, const ModelTriangles& model) {
    ASSERT_EQ(model.corners.size(), mesh.indices.size());
    for (std::size_t i = 0; i < model.corners.size(); ++i) {
        const MeshVertex& v = mesh.vertices[mesh.indices[i]];
        const ModelCorner& c = model.corners[i];
        EXPECT_EQ(c.X, static_cast<float>(v.X));
        EXPECT_EQ(c.Y, static_cast<float>(v.Y));
        EXPECT_EQ(c.Z, static_cast<float>(v.Z));
        EXPECT_EQ(c.Color, v.Color);
        EXPECT_EQ(c.Tu, v.Tu);
        EXPECT_EQ(c.Tv, v.Tv);
    }
}

TEST(ObjFormat, WrittenFilesReadBackHereAndInAssimp) {
    const ModelMesh mesh = SampleMesh();
    std::string obj, mtl;
    WriteObj(mesh, "model.mtl", obj, mtl);
    EXPECT_NE(mtl.find("Kd 1 1 1\nmap_Kd tex.png\n"), std::string::npos);
    TemporaryFolder folder;
    TemporaryFolder::WriteBytes(folder.File("model.obj"), obj);
    TemporaryFolder::WriteBytes(folder.File("model.mtl"), mtl);
    ModelTriangles model;
    std::string message;
    ASSERT_TRUE(ReadObj(folder.File("model.obj"), model, message)) << message;
    ExpectCornersOf(mesh, model);
    EXPECT_EQ(model.textureFile, folder.File("tex.png"));

    const std::optional<AssimpCounts> assimp =
        AssimpRead(folder.File("model.obj"), aiProcess_JoinIdenticalVertices);
    ASSERT_TRUE(assimp);
    EXPECT_EQ(assimp->triangles, 3u);
    EXPECT_EQ(assimp->vertices, mesh.vertices.size());
}

} // namespace
