#pragma once

// The data a shaded mesh builds into: the drawn triangles with a normal at every corner,
// computed from the triangles when the mesh changes, never per frame. Corners that share a
// position are smoothed together where their triangles meet at less than about 60 degrees;
// a sharper crease stays sharp, so a corner of a cube gets three normals and a sphere one.
// A vertex that needs several normals becomes several device vertices.

#include "viewport/mesh_geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace KelUtility {

// One vertex as the shaded pass reads it: position, normal, colour, texture coordinates.
struct ShadedVertex {
    float x;
    float y;
    float z;
    float nx;
    float ny;
    float nz;
    std::uint32_t color; // 0xAARRGGBB
    float tu;
    float tv;
};
static_assert(sizeof(ShadedVertex) == 36, "the device reads 36 bytes a shaded vertex");

struct ShadedGeometry {
    std::vector<ShadedVertex> vertices;
    std::vector<std::uint32_t> indices; // three a triangle, in the order they came
};

// The vertices of equal position numbered alike: the number of each vertex's position.
std::vector<std::uint32_t> PositionNumbers(const DeviceVertex* vertices, std::size_t count);

// The triangles (three indices each, every one below `vertexCount`) with their corner
// normals. A triangle without area adds nothing to its neighbours' normals, and its own
// corners take their position's; a position of such triangles alone points along -Z, at
// the eye. Vertices no triangle uses are left out.
ShadedGeometry ShadeTriangles(const DeviceVertex* vertices, std::size_t vertexCount,
                              const std::uint16_t* indices, std::size_t indexCount);

} // namespace KelUtility
