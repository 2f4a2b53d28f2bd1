#include "viewport/mesh_geometry.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace KelUtility;

namespace {

SceneMesh MeshOf(std::size_t vertices, std::int32_t faces, std::vector<std::uint16_t> indices) {
    SceneMesh mesh;
    for (std::size_t i = 0; i < vertices; ++i)
        mesh.Vertices.push_back(MeshVertex{double(i), 0, 0, 0, 0, 0});
    mesh.FaceCount = faces;
    mesh.Indices = std::move(indices);
    return mesh;
}

std::vector<std::uint16_t> IndicesOf(const SceneMesh& mesh) {
    const auto shape = ShapeOf(mesh);
    EXPECT_TRUE(shape.has_value());
    std::vector<std::uint16_t> out(shape->IndexCount(), 0xBEEF);
    WriteIndices(mesh, *shape, out.data());
    return out;
}

} // namespace

TEST(MeshGeometry, VerticesAreTwentyFourBytesWithDeviceColours) {
    EXPECT_EQ(ToDeviceColor(0x000000FF), 0xFFFF0000u);
    EXPECT_EQ(ToDeviceColor(0x004080FF), 0xFFFF8040u);
    EXPECT_EQ(ToDeviceColor(0xAB123456), 0xFF563412u); // the top byte is not a colour

    SceneMesh mesh;
    mesh.Vertices = {MeshVertex{1.5, -2, 0.25, 0x0080FF, 0.5f, 1}};
    DeviceVertex vertex;
    WriteVertices(mesh, &vertex);
    unsigned char bytes[24];
    std::memcpy(bytes, &vertex, 24);
    float position[3];
    std::memcpy(position, bytes, 12);
    EXPECT_EQ(position[0], 1.5f);
    EXPECT_EQ(position[1], -2.0f);
    std::uint32_t color;
    std::memcpy(&color, bytes + 12, 4);
    EXPECT_EQ(color, 0xFFFF8000u);
    float texture[2];
    std::memcpy(texture, bytes + 16, 8);
    EXPECT_EQ(texture[0], 0.5f);
    EXPECT_EQ(texture[1], 1.0f);
}

// A face count past the triangles the record supplies builds those there are.
TEST(MeshGeometry, ShapesHoldTheFacesTheRecordSupplies) {
    const struct {
        SceneMesh mesh;
        std::uint32_t faces; // 0: no mesh
    } cases[] = {
        {MeshOf(2, 1, {}), 0},
        {MeshOf(3, 0, {}), 0},
        {MeshOf(3, -4, {}), 0},
        {MeshOf(3, 715827883, {}), 1},
        {MeshOf(12, 5592405, {}), 4},
        {MeshOf(12, 2147483647, {}), 4},
        {MeshOf(12, 2147483647, {0, 1, 2, 3}), 1},
        {MeshOf(12, 2, {0, 1}), 0},
        {MeshOf(12, 2, {0, 1, 2, 3, 4, 5, 6, 7, 8}), 2},
        {MeshOf(kMaximumMeshVertices + 1, 1, {}), 0},
        {MeshOf(kMaximumMeshVertices, 1, {}), 1},
    };
    for (const auto& c : cases) {
        const std::optional<MeshShape> shape = ShapeOf(c.mesh);
        EXPECT_EQ(shape ? shape->faces : 0u, c.faces)
            << c.mesh.Vertices.size() << " vertices, " << c.mesh.FaceCount << " faces";
    }
}

TEST(MeshGeometry, IndicesStayInsideTheVertexList) {
    // Without indices the vertices are taken three by three.
    EXPECT_EQ(IndicesOf(MeshOf(6, 2, {})), (std::vector<std::uint16_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(IndicesOf(MeshOf(4, 2, {})), (std::vector<std::uint16_t>{0, 1, 2}));
    // Own indices: only as many as the faces need; a triangle reaching outside is degenerate.
    EXPECT_EQ(IndicesOf(MeshOf(12, 1, {3, 4, 5, 6, 7, 8})),
              (std::vector<std::uint16_t>{3, 4, 5}));
    EXPECT_EQ(IndicesOf(MeshOf(12, 3, {0, 1, 2, 40000, 3, 4, 5, 6, 7})),
              (std::vector<std::uint16_t>{0, 1, 2, 0, 0, 0, 5, 6, 7}));
    EXPECT_EQ(IndicesOf(MeshOf(12, 2, {9, 10, 11, 1})),
              (std::vector<std::uint16_t>{9, 10, 11}));
    EXPECT_EQ(IndicesOf(MeshOf(3, 1, {0, 1, 3})), (std::vector<std::uint16_t>{0, 0, 0}));
}
