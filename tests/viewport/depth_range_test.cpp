#include "viewport/depth_range.h"

#include <gtest/gtest.h>

using namespace KelUtility;

TEST(DepthRange, TheFixedPlanesHoldUntilTheMeshReachesPastThem) {
    SceneMesh mesh;
    mesh.Visible = true;
    mesh.Vertices = {{3, 4, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0}};
    mesh.X = 0;
    EXPECT_DOUBLE_EQ(MeshReach({mesh}, 0, 0, 0), 5);
    EXPECT_DOUBLE_EQ(MeshReach({mesh}, 0, 3, 4), 10) << "the move adds its length";
    mesh.Visible = false;
    EXPECT_DOUBLE_EQ(MeshReach({mesh}, 0, 0, 0), 0);

    const struct {
        double eye, reach;
        float nearPlane, farPlane;
    } cases[] = {
        {10, 5, 1.0f, 500.0f},        // the sample's scale: exactly the fixed planes
        {250, 249, 1.0f, 500.0f},     // touching both, still within
        {3000, 1000, 1.0f, 4200.0f},  // a big model far away: the far plane follows
        {2, 1.5, 0.47619048f, 500.0f}, // reaching the eye: the near plane comes in
        {0, 1000, 0.0105f, 1050.0f},  // the eye inside the model
    };
    for (const auto& c : cases) {
        const DepthRange range = DepthRangeFor(c.eye, c.reach);
        EXPECT_FLOAT_EQ(range.nearPlane, c.nearPlane) << c.eye << " " << c.reach;
        EXPECT_FLOAT_EQ(range.farPlane, c.farPlane) << c.eye << " " << c.reach;
    }
}
