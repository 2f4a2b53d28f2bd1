#include "viewport/depth_range.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace KelUtility;

TEST(DepthRange, TheFixedPlanesHoldUntilTheMeshReachesPastThem) {
    SceneMesh mesh;
    EXPECT_FALSE(SphereAround(mesh));
    mesh.Vertices = {{10003, 4, 0, 0, 0, 0}, {9997, -4, 0, 0, 0, 0}, {10000, 0, 1, 0, 0, 0}};
    const std::optional<MeshSphere> sphere = SphereAround(mesh);
    ASSERT_TRUE(sphere);
    EXPECT_DOUBLE_EQ(sphere->x, 10000) << "the middle of the box, not the origin";
    EXPECT_DOUBLE_EQ(sphere->z, 0.5);
    EXPECT_DOUBLE_EQ(sphere->radius, std::sqrt(6 * 6 + 8 * 8 + 1) / 2);

    const struct {
        double nearest, farthest;
        float nearPlane, farPlane;
    } cases[] = {
        {5, 15, 1.0f, 500.0f},               // the sample's scale: exactly the fixed planes
        {1, 499, 1.0f, 500.0f},              // touching both, still within
        {2000, 4000, 1.0f, 4200.0f},         // a big model far away: the far plane follows
        {0.5, 3.5, 0.47619048f, 3.675f},     // reaching the eye: both planes close in
        {-1000, 1000, 0.0105f, 1050.0f},     // the eye inside the model
        {0.0016, 0.0034, 0.0015238095f, 0.00357f}, // a model of millimetres, framed
    };
    for (const auto& c : cases) {
        const DepthRange range = DepthRangeFor(c.nearest, c.farthest);
        EXPECT_FLOAT_EQ(range.nearPlane, c.nearPlane) << c.nearest << " " << c.farthest;
        EXPECT_FLOAT_EQ(range.farPlane, c.farPlane) << c.nearest << " " << c.farthest;
    }
}
