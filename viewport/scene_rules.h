#pragma once

// The rules behind the preview's scene primitives that need no device: which way the free
// camera's collision rays go for its heading, when a hit blocks it, and where a sprite is
// cut from its sheet and placed.

#include "viewport/scene_records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace KelUtility {

struct RayDirection {
    float x;
    float y;
    float z;
};

// The heading in whole degrees from 0 to 359: truncated, then the remainder by 360.
int HeadingDegrees(float headingRadians);
// The rays that may block the camera, in the order they are tried: ahead along +Z, the
// two sides along X (which side first follows the heading), then behind along -Z.
std::array<RayDirection, 4> BlockingRays(int heading);
// The one ray that measures the distance to what lies ahead.
RayDirection AheadRay(int heading);
// A hit this close blocks the camera.
bool Blocks(float distance);

struct Point3 {
    float x;
    float y;
    float z;
};

// How far along the ray (a point and a direction, in lengths of the direction) it meets the
// triangle, whichever way the triangle faces; none when it misses it, runs along its plane or
// the triangle lies behind the point.
std::optional<float> RayTriangleDistance(const Point3& origin, const Point3& direction,
                                         const std::array<Point3, 3>& corners);

// How far along the ray it first meets one of the triangles, three corners each, by the test
// above; none when it meets none.
std::optional<float> NearestHit(const Point3& origin, const Point3& direction,
                                const std::vector<Point3>& corners);

// Where a sprite's cell is cut from the sheet and drawn, in the sheet's own scale.
struct SpriteCut {
    float scale; // on both axes
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
    float x;
    float y;
};

// None when the scale would be 0 or infinite (no sheet, or a sprite without width).
std::optional<SpriteCut> CutSprite(const SceneSprite& sprite, std::int32_t sheetWidth);

// A face name for a GDI font: at most 31 characters.
std::string FontFaceName(const std::string& name);

} // namespace KelUtility
