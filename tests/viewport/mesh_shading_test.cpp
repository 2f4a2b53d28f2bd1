// The normals a shaded mesh is drawn with, and the places in their triangles that draw its edges, on tiny meshes.

#include "viewport/mesh_edges.h"
#include "viewport/mesh_shading.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <set>

using namespace KelUtility;

namespace {

struct Mesh {
    std::vector<DeviceVertex> vertices;
    std::vector<std::uint16_t> indices;
};

// A cube of side 2 on 8 shared vertices, its faces clockwise seen from outside.
Mesh Cube() {
    Mesh cube;
    for (int i = 0; i < 8; ++i)
        cube.vertices.push_back({i & 1 ? 1.f : -1.f, i & 2 ? 1.f : -1.f, i & 4 ? 1.f : -1.f, 0, 0, 0});
    cube.indices = {0, 2, 3, 0, 3, 1, 4, 5, 7, 4, 7, 6, 0, 4, 6, 0, 6, 2,
                    1, 3, 7, 1, 7, 5, 0, 1, 5, 0, 5, 4, 2, 6, 7, 2, 7, 3};
    return cube;
}

// A unit sphere of 16 x 8 quads, clockwise seen from outside, its seam's vertices doubled (as texture coordinates
// would have them) and its poles one vertex per quad.
Mesh Sphere() {
    Mesh sphere;
    constexpr int kAround = 16;
    constexpr int kDown = 8;
    const double pi = 3.14159265358979323846;
    for (int row = 0; row <= kDown; ++row) {
        for (int column = 0; column <= kAround; ++column) {
            const double polar = pi * row / kDown;
            const double turn = 2 * pi * (column % kAround) / kAround;
            sphere.vertices.push_back({static_cast<float>(std::sin(polar) * std::cos(turn)),
                                       static_cast<float>(std::cos(polar)),
                                       static_cast<float>(std::sin(polar) * std::sin(turn)), 0,
                                       static_cast<float>(column), static_cast<float>(row)});
        }
    }
    for (int row = 0; row < kDown; ++row) {
        for (int column = 0; column < kAround; ++column) {
            const auto at = [&](int r, int c) { return static_cast<std::uint16_t>(r * (kAround + 1) + c); };
            sphere.indices.insert(sphere.indices.end(),
                                  {at(row, column), at(row + 1, column + 1), at(row + 1, column),
                                   at(row, column), at(row, column + 1), at(row + 1, column + 1)});
        }
    }
    return sphere;
}

ShadedGeometry Shade(const Mesh& mesh) {
    return ShadeTriangles(mesh.vertices.data(), mesh.vertices.size(), mesh.indices.data(),
                          mesh.indices.size());
}

} // namespace

TEST(MeshShading, CubesStaySharpSpheresSmoothAndFlatTrianglesHarmless) {
    const ShadedGeometry cube = Shade(Cube());
    EXPECT_EQ(cube.vertices.size(), 24u) << "three normals at each corner";
    for (const ShadedVertex& v : cube.vertices) {
        // The normal is the face's, outward: along the one axis on which it lies at +-1.
        const int along = std::fabs(v.nx) == 1 ? 0 : std::fabs(v.ny) == 1 ? 1 : 2;
        const float position[3] = {v.x, v.y, v.z};
        const float normal[3] = {v.nx, v.ny, v.nz};
        EXPECT_EQ(normal[along], position[along]);
        EXPECT_EQ(std::fabs(normal[0]) + std::fabs(normal[1]) + std::fabs(normal[2]), 1.f);
    }
    ASSERT_EQ(cube.indices.size(), 36u);

    const Mesh sphereMesh = Sphere();
    const ShadedGeometry sphere = Shade(sphereMesh);
    std::set<std::uint32_t> used(sphere.indices.begin(), sphere.indices.end());
    EXPECT_EQ(used.size(), sphere.vertices.size());
    for (const ShadedVertex& v : sphere.vertices) {
        // Smooth: every corner's normal points away from the centre, seam and poles too.
        const float dot = v.nx * v.x + v.ny * v.y + v.nz * v.z;
        EXPECT_GT(dot, 0.98f) << v.x << " " << v.y << " " << v.z;
    }

    // A cone's tip meets 16 faces whose opposite ones differ by 120 degrees, each by a few
    // from its neighbours: one smooth normal, pointing up along the axis. Half of its faces
    // wound the other way change nothing.
    Mesh cone;
    cone.vertices.push_back({0, 1.7f, 0, 0, 0, 0});
    for (int k = 0; k < 16; ++k)
        cone.vertices.push_back({static_cast<float>(std::cos(k * 0.3926991)), 0,
                                 static_cast<float>(std::sin(k * 0.3926991)), 0, 0, 0});
    for (std::uint16_t k = 0; k < 16; ++k) {
        const std::uint16_t a = 1 + k, b = static_cast<std::uint16_t>(1 + (k + 1) % 16);
        cone.indices.insert(cone.indices.end(), {0, k % 2 ? a : b, k % 2 ? b : a});
    }
    const ShadedGeometry tip = Shade(cone);
    int tips = 0;
    for (const ShadedVertex& v : tip.vertices) {
        if (v.y == 1.7f) {
            ++tips;
            EXPECT_NEAR(std::fabs(v.ny), 1, 1e-5);
        }
    }
    EXPECT_EQ(tips, 1);

    Mesh flat = Cube();
    flat.vertices.push_back({9, 9, 9, 0, 0, 0}); // used by no triangle
    flat.indices.insert(flat.indices.end(), {0, 0, 1, 2, 2, 2});
    const ShadedGeometry withFlat = Shade(flat);
    EXPECT_EQ(withFlat.vertices.size(), 24u + 3) << "the flat corners take their position's";
    for (const ShadedVertex& v : withFlat.vertices) {
        EXPECT_TRUE(std::isfinite(v.nx) && std::isfinite(v.ny) && std::isfinite(v.nz));
        EXPECT_NEAR(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz, 1, 1e-6);
        EXPECT_NE(v.x, 9);
    }
}

// A closed cone of `sides` sides, its tip at y = 3 above a base of radius 1 at y = 0, every
// face clockwise seen from outside, on shared vertices: 0 the tip, 1 the base's centre.
Mesh ClosedCone(int sides) {
    Mesh cone;
    cone.vertices.push_back({0, 3, 0, 0, 0, 0});
    cone.vertices.push_back({0, 0, 0, 0, 0, 0});
    const double step = 2 * 3.14159265358979323846 / sides;
    for (int k = 0; k < sides; ++k)
        cone.vertices.push_back({static_cast<float>(std::cos(k * step)), 0,
                                 static_cast<float>(std::sin(k * step)), 0, 0, 0});
    for (int k = 0; k < sides; ++k) {
        const auto a = static_cast<std::uint16_t>(2 + k);
        const auto b = static_cast<std::uint16_t>(2 + (k + 1) % sides);
        cone.indices.insert(cone.indices.end(), {0, b, a, 1, a, b});
    }
    return cone;
}

TEST(MeshShading, AConeKeepsOneNormalAtTipAndCentreAndACreaseAtTheRimWhateverItsSides) {
    // Past 32 faces at a position the faces are grouped another way than below it: the
    // cone's tip and centre meet `sides` faces each.
    for (const int sides : {8, 32, 33, 64, 200}) {
        const ShadedGeometry shaded = Shade(ClosedCone(sides));
        ASSERT_EQ(shaded.indices.size(), 6u * sides);
        for (std::uint32_t index : shaded.indices)
            ASSERT_LT(index, shaded.vertices.size()) << sides;
        EXPECT_EQ(shaded.vertices.size(), 2u * sides + 2) << sides << " sides: the rim creased, tip and centre smooth";
        for (const ShadedVertex& v : shaded.vertices) {
            if (v.x == 0 && v.y == 0 && v.z == 0) {
                EXPECT_NEAR(v.ny, -1, 1e-6) << sides << " sides: the base faces down";
            }
            EXPECT_NEAR(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz, 1, 1e-5);
        }
    }
}

TEST(MeshEdges, EveryTriangleHasItsThreePlacesAndAGridNeedsNoCopies) {
    for (const Mesh& mesh : {Cube(), Sphere()}) {
        const ShadedGeometry shaded = Shade(mesh);
        const EdgedGeometry edged = EdgedTriangles(shaded);
        ASSERT_EQ(edged.indices.size(), shaded.indices.size());
        for (std::size_t first = 0; first < edged.indices.size(); first += 3) {
            float firsts = 0;
            float seconds = 0;
            for (std::size_t k = first; k < first + 3; ++k) {
                const EdgedVertex& corner = edged.vertices[edged.indices[k]];
                EXPECT_EQ(std::memcmp(&corner.vertex, &shaded.vertices[shaded.indices[k]], sizeof(ShadedVertex)), 0);
                firsts += corner.first;
                seconds += corner.second;
                EXPECT_LE(corner.first + corner.second, 1);
            }
            EXPECT_EQ(firsts, 1) << "triangle " << first / 3;
            EXPECT_EQ(seconds, 1) << "triangle " << first / 3;
        }
    }
    EXPECT_EQ(EdgedTriangles(Shade(Sphere())).vertices.size(), Shade(Sphere()).vertices.size());
}
