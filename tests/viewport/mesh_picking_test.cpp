#include "viewport/mesh_picking.h"

#include "tests/support/look_at.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace KelUtility;

namespace {

const Matrix4 kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
const Matrix4 kFront = LookAt({0, 0, -10}, 1.5707964f, 2, 1, 100);     // 200 x 100 pixels
const Matrix4 kAslant = LookAt({6, 8, -10}, 0.7853982f, 1.5f, 1, 100); // 300 x 200

ScreenPoint Project(Point3 p, const Matrix4& m, int width, int height) {
    return ProjectVertices({{p.x, p.y, p.z, 0, 0, 0}}, m, width, height)[0];
}

SceneMesh Shown(std::vector<MeshVertex> vertices, std::int32_t faces,
                std::vector<std::uint16_t> indices) {
    SceneMesh mesh;
    mesh.Vertices = std::move(vertices);
    mesh.FaceCount = faces;
    mesh.Indices = std::move(indices);
    mesh.Visible = true;
    return mesh;
}

} // namespace

TEST(MeshPicking, VerticesLandWhereDirect3DDrawsThem) {
    const struct {
        const Matrix4& m;
        Point3 p;
        float x, y;
        bool visible;
    } cases[] = {
        {kIdentity, {0, 0, 0.5f}, 100, 50, true}, {kIdentity, {1, 1, 0}, 200, 0, true},
        {kIdentity, {-1, -1, 1}, 0, 100, true},   {kIdentity, {0, 0, -0.1f}, 0, 0, false},
        {kIdentity, {0, 0, 1.1f}, 0, 0, false},   {kFront, {0, 0, 0}, 100, 50, true},
        {kFront, {0, 10, 0}, 100, 0, true},       {kFront, {20, -10, 0}, 200, 100, true},
        {kFront, {0, 0, -10}, 0, 0, false}, // the eye
        {kFront, {0, 0, -30}, 0, 0, false},       {kFront, {0, 0, 95}, 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x << " " << c.p.y << " " << c.p.z);
        const ScreenPoint point = Project(c.p, c.m, 200, 100);
        EXPECT_EQ(point.visible, c.visible);
        if (c.visible) {
            EXPECT_NEAR(point.x, c.x, 1e-4);
            EXPECT_NEAR(point.y, c.y, 1e-4);
        }
    }
    EXPECT_FALSE(Project({0, 0, 0.5f}, kIdentity, 0, 100).visible) << "a panel without size";
}

TEST(MeshPicking, OnlyDrawnVisibleVerticesWithinTheRadiusAreNearest) {
    // A triangle reaching past the vertex list, and those past the face count, draw nothing.
    const std::vector<MeshVertex> seven(7);
    EXPECT_EQ(DrawnVertices(Shown(seven, 3, {0, 1, 2, 3, 4, 9, 5, 5, 5, 6, 6, 6})),
              (std::vector<bool>{true, true, true, false, false, true, false}));
    EXPECT_EQ(DrawnVertices(Shown(seven, 5, {})),
              (std::vector<bool>{true, true, true, true, true, true, false}));
    SceneMesh hidden = Shown(seven, 2, {});
    hidden.Visible = false;
    EXPECT_EQ(DrawnVertices(hidden), std::vector<bool>(7, false));

    const std::vector<ScreenPoint> points = {
        {30, 10, true}, {10, 15, true}, {13, 14, true}, {10, 11, true}, {10, 10, false}};
    const std::vector<bool> drawn = {true, true, true, false, true};
    EXPECT_EQ(NearestVertex(points, drawn, 10, 10, 8), 1u) << "of two at 5, the lower";
    EXPECT_EQ(NearestVertex(points, drawn, 10, 10, 5), 1u);
    EXPECT_FALSE(NearestVertex(points, drawn, 10, 10, 4.9f));
    EXPECT_EQ(NearestVertex(points, drawn, 29, 10, 8), 0u);
    EXPECT_FALSE(NearestVertex(points, {true}, 10, 10, 8));
}

TEST(MeshPicking, TheRayThroughAPixelMeetsTheNearestDrawnTriangle) {
    const ScreenPoint pixel{37, 81, true};
    const std::optional<Ray> ray = PixelRay(kAslant, 300, 200, pixel.x, pixel.y);
    ASSERT_TRUE(ray);
    EXPECT_NEAR(Dot(ray->direction, ray->direction), 1, 1e-6);
    for (float along : {0.0f, 20.0f}) {
        const Point3 p = {ray->origin.x + along * ray->direction.x,
                          ray->origin.y + along * ray->direction.y,
                          ray->origin.z + along * ray->direction.z};
        const ScreenPoint onScreen = Project(p, kAslant, 300, 200);
        EXPECT_NEAR(onScreen.x, pixel.x, 1e-3);
        EXPECT_NEAR(onScreen.y, pixel.y, 1e-3);
    }
    const Ray straight = *PixelRay(kFront, 200, 100, 100, 50);
    EXPECT_NEAR(straight.origin.z, -9, 1e-5) << "on the near plane";
    EXPECT_NEAR(straight.direction.z, 1, 1e-6);
    EXPECT_FALSE(PixelRay(Matrix4{}, 300, 200, 1, 1)) << "no inverse";

    // Two triangles about the origin, the one farther from the eye first.
    const std::vector<MeshVertex> corners = {{-5, -5, 2, 0, 0, 0}, {5, -5, 2, 0, 0, 0},
                                             {0, 5, 2, 0, 0, 0},   {-1, -1, 0, 0, 0, 0},
                                             {0, 1, 0, 0, 0, 0},   {1, -1, 0, 0, 0, 0}};
    const ScreenPoint centre = Project({0, 0, 0}, kAslant, 300, 200);
    const Ray through = *PixelRay(kAslant, 300, 200, centre.x, centre.y);
    EXPECT_EQ(PickTriangle(Shown(corners, 2, {}), through), 1u);
    EXPECT_EQ(PickTriangle(Shown(corners, 2, {0, 1, 2, 3, 4, 9}), through), 0u);
    EXPECT_EQ(PickTriangle(Shown(corners, 2, {3, 4, 5, 0, 1, 2}), through), 0u);
    EXPECT_FALSE(PickTriangle(Shown(corners, 1, {5, 4, 3}), *ray)) << "beside it";
}

// Seen from the front: a square at z = 0 (its second triangle starts at a copy of its
// first corner), a small triangle behind its middle, and one behind it off to the right.
TEST(MeshPicking, AVertexBehindAFaceIsPassedOverForOneInSight) {
    const std::vector<MeshVertex> vertices = {
        {-2, -2, 0, 0, 0, 0}, {2, -2, 0, 0, 0, 0}, {2, 2, 0, 0, 0, 0}, {-2, 2, 0, 0, 0, 0},
        {0, 0, 3, 0, 0, 0},   {1, 0, 3, 0, 0, 0},  {0, 1, 3, 0, 0, 0}, {6, 0, 3, 0, 0, 0},
        {7, 0, 3, 0, 0, 0},   {6, 1, 3, 0, 0, 0},  {-2, -2, 0, 0, 0, 0}};
    const SceneMesh mesh = Shown(vertices, 4, {0, 1, 2, 10, 2, 3, 4, 5, 6, 7, 8, 9});
    const SceneMesh withoutSquare = Shown(vertices, 2, {4, 5, 6, 7, 8, 9});
    const struct {
        const SceneMesh& mesh;
        float x, y, radius;
        std::optional<std::size_t> seen;
    } cases[] = {
        {mesh, 100, 50, 1e9f, 0u},           // the square's corners, not the middle behind it
        {mesh, 100, 50, 5, std::nullopt},    // only hidden ones that near
        {withoutSquare, 100, 50, 5, 4u},     // nothing in front of it
        {mesh, 122, 50, 8, 7u},              // behind, but beside the square
        {mesh, 89, 61, 8, 0u},               // a face through its place does not hide it
        {mesh, 111, 39, 8, 2u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " " << c.y << " " << c.radius);
        EXPECT_EQ(NearestSeenVertex(c.mesh, kFront, 200, 100, c.x, c.y, c.radius), c.seen);
    }
    EXPECT_EQ(NearestVertex(ProjectVertices(vertices, kFront, 200, 100), DrawnVertices(mesh),
                            100, 50, 5),
              4u)
        << "unseen, it is still the nearest";
}

TEST(MeshPicking, APanStepMovesTheAnchorByThePixelsAsked) {
    const Point3 anchor{1, 2, 3};
    const ScreenPoint before = Project(anchor, kAslant, 300, 200);
    const std::pair<float, float> moves[] = {{10, 0}, {0, 10}, {-7, 40}};
    for (const auto& move : moves) {
        const auto step = PanStep(kAslant, anchor, 300, 200, move.first, move.second);
        ASSERT_TRUE(step);
        const ScreenPoint after =
            Project({anchor.x + float(step->first), anchor.y + float(step->second), anchor.z},
                    kAslant, 300, 200);
        EXPECT_NEAR(after.x - before.x, move.first, 1e-3);
        EXPECT_NEAR(after.y - before.y, move.second, 1e-3);
    }
    for (float rounding : {0.0f, 1e-6f}) {
        const Matrix4 alongX = LookAt({10, 0, rounding}, 0.7853982f, 1, 1, 100);
        EXPECT_FALSE(PanStep(alongX, {0, 0, 0}, 300, 200, -10, 0)) << "looking along X";
    }
    EXPECT_FALSE(PanStep(kFront, {0, 0, -20}, 200, 100, 10, 0)) << "behind the eye";
    // Looking 45 degrees down with a 90-degree view, the plane z = 0 ends at the bottom edge.
    const Matrix4 downwards = LookAt({0, 10, -10}, 1.5707964f, 2, 1, 100);
    EXPECT_FALSE(PanStep(downwards, {0, 0, 0}, 200, 100, 0, 60)) << "past the horizon";
}
