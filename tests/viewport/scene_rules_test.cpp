#include "viewport/scene_rules.h"

#include <gtest/gtest.h>

using namespace KelUtility;

namespace {

constexpr float kDegree = 0.017453292f;

bool operator==(const RayDirection& a, const RayDirection& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

} // namespace

TEST(SceneRules, TheHeadingChoosesTheRays) {
    EXPECT_EQ(HeadingDegrees(90.7f * kDegree), 90);
    EXPECT_EQ(HeadingDegrees(-90.5f * kDegree), 270) << "truncated towards zero first";
    EXPECT_EQ(HeadingDegrees(725.0f * kDegree), 5);
    EXPECT_EQ(HeadingDegrees(-720.2f * kDegree), 0);

    const RayDirection plusX{1, 0, 0}, minusX{-1, 0, 0}, plusZ{0, 0, 1}, minusZ{0, 0, -1};
    const struct {
        int heading;
        RayDirection first, second, ahead;
    } cases[] = {
        {0, minusX, plusX, plusZ},    {90, minusX, minusX, plusX}, {100, minusX, plusX, plusZ},
        {180, minusX, plusX, minusZ}, {270, plusX, plusX, minusX}, {190, minusX, plusX, plusZ},
    };
    for (const auto& c : cases) {
        const std::array<RayDirection, 4> rays = BlockingRays(c.heading);
        EXPECT_TRUE(rays[0] == plusZ) << c.heading;
        EXPECT_TRUE(rays[1] == c.first) << c.heading;
        EXPECT_TRUE(rays[2] == c.second) << c.heading;
        EXPECT_TRUE(rays[3] == minusZ) << c.heading;
        EXPECT_TRUE(AheadRay(c.heading) == c.ahead) << c.heading;
    }
    EXPECT_TRUE(Blocks(4.0f));
    EXPECT_TRUE(Blocks(-3.5f));
    EXPECT_FALSE(Blocks(4.01f));
}

TEST(SceneRules, ASpriteIsCutInTheSheetsScaleOrNotAtAll) {
    SceneSprite sprite;
    sprite.Width = 16; // half of a 32-pixel sheet
    sprite.CellHeight = 8;
    sprite.Cell = 3;
    sprite.X = 10;
    sprite.Y = 20;
    const std::optional<SpriteCut> cut = CutSprite(sprite, 32);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->scale, 0.5f);
    EXPECT_EQ(cut->top, 48);
    EXPECT_EQ(cut->right, 32);
    EXPECT_EQ(cut->bottom, 64);
    EXPECT_EQ(cut->x, 20.0f);
    EXPECT_EQ(cut->y, 40.0f);

    EXPECT_FALSE(CutSprite(sprite, 0)) << "no sheet";
    sprite.Width = 0;
    EXPECT_FALSE(CutSprite(sprite, 32)) << "no width";
    sprite.Width = 1;
    sprite.CellHeight = 1000000;
    EXPECT_EQ(CutSprite(sprite, 1000000)->bottom, 2147483520) << "held at the rectangle's end";
    EXPECT_EQ(FontFaceName(std::string(40, 'A')).size(), 31u);
}

TEST(SceneRules, ARayMeetsTheNearestTriangleFromEitherSide) {
    const std::vector<Point3> walls = {{-5, -5, 8}, {0, 5, 8},   {5, -5, 8},   // far
                                       {-5, -5, 3}, {5, -5, 3},  {0, 5, 3},    // near, turned
                                       {10, 10, 1}, {11, 10, 1}, {10, 11, 1}}; // off the ray
    EXPECT_EQ(NearestHit({0, 0, 0}, {0, 0, 1}, walls), 3.0f);
    EXPECT_EQ(NearestHit({0, 0, 5}, {0, 0, 1}, walls), 3.0f);
    EXPECT_EQ(NearestHit({0, 0, 9}, {0, 0, -1}, walls), 1.0f);
    EXPECT_FALSE(NearestHit({0, 0, 9}, {0, 0, 1}, walls)) << "all behind";
    EXPECT_FALSE(NearestHit({0, 0, 0}, {1, 0, 0}, walls)) << "parallel";
    EXPECT_FALSE(NearestHit({0, 0, 0}, {0, 0, 1}, {{0, 0, 1}, {0, 0, 1}})) << "no whole triangle";
}
