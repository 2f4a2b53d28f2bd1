// The mesh file as another program reads it: assimp's .x importer.

#include "viewport/x_mesh_writer.h"

#include "document/text_file.h"
#include "tests/support/temporary_folder.h"
#include "viewport/mesh_geometry.h"

#include <algorithm>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <cmath>
#include <gtest/gtest.h>

using namespace KelUtility;

namespace {

SceneMesh Sample() {
    MyApp::MeshDocument document;
    document.ResetToSample();
    return ToSceneMesh(document);
}

// 65,535 vertices on a spiral, 1,000 faces taken three by three.
SceneMesh Largest() {
    SceneMesh record;
    record.FaceCount = 1000;
    for (int i = 0; i < 65535; ++i) {
        const double angle = i * 0.001;
        record.Vertices.push_back(MeshVertex{std::cos(angle) * 2, (i % 300) * 0.01 - 1.5,
                                             std::sin(angle) * 2, 0x0080FFu, 0.5f, 0.25f});
    }
    return record;
}

// Every face corner that assimp read sits where the preview puts that corner. Assimp turns
// the left-handed file right-handed: z changes sign and each face turns the other way. Its
// fast number reader may miss the last bit of a float that needs all nine digits.
bool Near(float read, float written) {
    return std::fabs(read - written) <= 1e-6f * std::max(1.0f, std::fabs(written));
}

void ExpectSameFaces(const SceneMesh& record, const std::string& path, unsigned faces) {
    const std::optional<std::vector<std::string>> lines = XMeshLines(record);
    ASSERT_TRUE(lines);
    MyApp::TextFile file(path);
    file.WriteLines(*lines);
    ASSERT_FALSE(file.Failed);

    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumMeshes, 1u);
    const aiMesh& mesh = *scene->mMeshes[0];
    const MeshShape shape = *ShapeOf(record);
    ASSERT_EQ(mesh.mNumFaces, faces);
    std::vector<DeviceVertex> vertices(shape.vertices);
    WriteVertices(record, vertices.data());
    std::vector<std::uint16_t> indices(shape.IndexCount());
    WriteIndices(record, shape, indices.data());
    int different = 0;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        ASSERT_EQ(mesh.mFaces[f].mNumIndices, 3u);
        for (unsigned k = 0; k < 3; ++k) {
            const aiVector3D& read = mesh.mVertices[mesh.mFaces[f].mIndices[k]];
            const DeviceVertex& written = vertices[indices[3 * f + 2 - k]];
            different +=
                !Near(read.x, written.x) || !Near(read.y, written.y) || !Near(read.z, -written.z);
        }
    }
    EXPECT_EQ(different, 0);
}

} // namespace

TEST(XMeshWriter, AssimpReadsTheSampleAndTheLargestMeshAsWritten) {
    TemporaryFolder folder;
    SceneMesh sample = Sample();
    ExpectSameFaces(sample, folder.File("piramide.x"), 4);
    sample.Indices = {0, 1, 2, 3, 4, 5, 9, 10, 11, 6, 7, 8};
    sample.Vertices[4].X = 1.0e-7; // plain decimals, read back as the same float
    sample.Vertices[5].Y = -123456.789;
    ExpectSameFaces(sample, folder.File("indici.x"), 4);
    ExpectSameFaces(Largest(), folder.File("grande.x"), 1000);
}

// The preview pads a face count beyond the lists with empty triangles; the file holds only
// the triangles that are there, and its counts agree with them.
TEST(XMeshWriter, OnlyWholeTrianglesAreWritten) {
    TemporaryFolder folder;
    SceneMesh sample = Sample(); // 12 vertices, no indices
    sample.FaceCount = 9;
    ExpectSameFaces(sample, folder.File("tre_a_tre.x"), 4);
    sample.Indices = {0, 1, 2, 3, 4, 5, 6, 7};
    sample.FaceCount = 1000000;
    ExpectSameFaces(sample, folder.File("indici.x"), 2);
    sample.Indices = {0, 1};
    EXPECT_EQ(XMeshProblemOf(sample), XMeshProblem::NoMesh) << "not one whole triangle";
    EXPECT_FALSE(XMeshLines(sample));
}

TEST(XMeshWriter, TheTextureIsNamedOnlyWhenThereIsOne) {
    SceneMesh sample = Sample();
    const auto named = [&] {
        const std::vector<std::string> lines = *XMeshLines(sample);
        return std::find(lines.begin(), lines.end(), "   TextureFilename {") != lines.end();
    };
    EXPECT_FALSE(named());
    sample.TextureFile = "C:\\texture\\legno.png";
    EXPECT_TRUE(named());
    sample.TextureFile = "C:\\texture\\\"legno\".png";
    EXPECT_EQ(XMeshProblemOf(sample), XMeshProblem::TextureNameQuoted);
    EXPECT_FALSE(XMeshLines(sample)) << "a quote would end the name early";
    sample.TextureFile.assign(1024, 't');
    EXPECT_EQ(XMeshProblemOf(sample), XMeshProblem::TextureNameTooLong);
    sample.TextureFile.clear();
    sample.Vertices.resize(2);
    EXPECT_FALSE(XMeshLines(sample)) << "two vertices build no mesh";
}
