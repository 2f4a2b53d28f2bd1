#include "viewport/scene_rules.h"

#include <cmath>

namespace KelUtility {
namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kBlockingDistance = 4.0f;
constexpr std::size_t kFaceNameLength = 31;

bool Between(int heading, int low, int high) {
    return heading > low && heading < high;
}

// Truncated to a whole number that a rectangle's 32-bit sides can hold.
std::int32_t Whole(float value) {
    constexpr float kLimit = 2147483520.0f; // the largest float below 2^31
    if (!(value > -kLimit))
        return -static_cast<std::int32_t>(kLimit);
    if (value > kLimit)
        return static_cast<std::int32_t>(kLimit);
    return static_cast<std::int32_t>(value);
}

} // namespace

int HeadingDegrees(float headingRadians) {
    const double degrees = std::trunc(headingRadians / kRadiansPerDegree);
    if (!std::isfinite(degrees))
        return 0;
    const int heading = static_cast<int>(std::fmod(degrees, 360.0));
    return heading < 0 ? 360 + heading : heading;
}

std::array<RayDirection, 4> BlockingRays(int heading) {
    const float firstSide = Between(heading, 260, 280) ? 1.0f : -1.0f;
    const float secondSide = Between(heading, 80, 100) ? -1.0f : 1.0f;
    return {RayDirection{0, 0, 1}, RayDirection{firstSide, 0, 0}, RayDirection{secondSide, 0, 0},
            RayDirection{0, 0, -1}};
}

RayDirection AheadRay(int heading) {
    if (Between(heading, 80, 100))
        return {1, 0, 0};
    if (Between(heading, 260, 280))
        return {-1, 0, 0};
    if (Between(heading, 170, 190))
        return {0, 0, -1};
    return {0, 0, 1};
}

bool Blocks(float distance) {
    return std::fabs(distance) <= kBlockingDistance;
}

namespace {

Point3 Minus(const Point3& a, const Point3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Point3 Cross(const Point3& a, const Point3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(const Point3& a, const Point3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

} // namespace

// The Moller-Trumbore test: where the ray crosses the triangle's plane, in its barycentric
// coordinates.
std::optional<float> RayTriangleDistance(const Point3& origin, const Point3& direction,
                                         const std::array<Point3, 3>& corners) {
    constexpr float kParallel = 1e-12f;
    const Point3 edge1 = Minus(corners[1], corners[0]);
    const Point3 edge2 = Minus(corners[2], corners[0]);
    const Point3 p = Cross(direction, edge2);
    const float determinant = Dot(edge1, p);
    if (std::fabs(determinant) < kParallel)
        return std::nullopt;
    const Point3 fromCorner = Minus(origin, corners[0]);
    const float u = Dot(fromCorner, p) / determinant;
    if (u < 0 || u > 1)
        return std::nullopt;
    const Point3 q = Cross(fromCorner, edge1);
    const float v = Dot(direction, q) / determinant;
    if (v < 0 || u + v > 1)
        return std::nullopt;
    const float distance = Dot(edge2, q) / determinant;
    if (!(distance >= 0))
        return std::nullopt;
    return distance;
}

std::optional<float> NearestHit(const Point3& origin, const Point3& direction,
                                const std::vector<Point3>& corners) {
    std::optional<float> nearest;
    for (std::size_t first = 0; first + 2 < corners.size(); first += 3) {
        const std::optional<float> distance = RayTriangleDistance(
            origin, direction, {corners[first], corners[first + 1], corners[first + 2]});
        if (distance && (!nearest || *distance < *nearest))
            nearest = distance;
    }
    return nearest;
}

std::optional<SpriteCut> CutSprite(const SceneSprite& sprite, std::int32_t sheetWidth) {
    if (sheetWidth <= 0 || sprite.Width == 0)
        return std::nullopt;
    const float scale = static_cast<float>(sprite.Width) / static_cast<float>(sheetWidth);
    SpriteCut cut;
    cut.scale = scale;
    cut.left = 0;
    cut.top =
        Whole(static_cast<float>(sprite.CellHeight) * static_cast<float>(sprite.Cell) / scale);
    cut.right = Whole(static_cast<float>(sprite.Width) / scale);
    cut.bottom =
        Whole(Whole(static_cast<float>(sprite.CellHeight) / scale) + static_cast<float>(cut.top));
    cut.x = static_cast<float>(sprite.X) / scale;
    cut.y = static_cast<float>(sprite.Y) / scale;
    return cut;
}

std::string FontFaceName(const std::string& name) {
    return name.substr(0, kFaceNameLength);
}

} // namespace KelUtility
