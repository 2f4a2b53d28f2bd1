#pragma once

// The data a scene mesh builds into on the device: 24-byte vertices and 16-bit indices.
// Every index the device reads points inside the vertex list: a triangle with an index
// beyond it becomes vertex 0, and only the triangles the record supplies whole are built.

#include "viewport/scene_records.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace KelUtility {

// One vertex as the device reads it: position, colour, texture coordinates.
struct DeviceVertex {
    float x;
    float y;
    float z;
    std::uint32_t color; // 0xAARRGGBB
    float tu;
    float tv;
};
static_assert(sizeof(DeviceVertex) == 24, "the device reads 24 bytes a vertex");

// A 16-bit index addresses at most this many vertices.
constexpr std::size_t kMaximumMeshVertices = 65536;

// 0x00BBGGRR to an opaque Direct3D colour 0xFFRRGGBB.
std::uint32_t ToDeviceColor(std::uint32_t color);

struct MeshShape {
    std::uint32_t faces;
    std::uint32_t vertices;
    std::size_t IndexCount() const { return static_cast<std::size_t>(faces) * 3; }
};

// None when the record builds no mesh: fewer than three vertices, more than a 16-bit
// index reaches, or no face it supplies whole. Its faces are the face count, or the
// triangles the record supplies where that count reaches past them.
std::optional<MeshShape> ShapeOf(const SceneMesh& mesh);

// Writes shape.vertices vertices; a position beyond the float range becomes the largest
// float of its sign.
void WriteVertices(const SceneMesh& mesh, DeviceVertex* out);
// The triangles the record supplies whole, at most shape.faces: its indices three by three,
// or without indices its vertices three by three. The rest of the face count has nothing
// to draw.
std::uint32_t WholeFaces(const SceneMesh& mesh, const MeshShape& shape);

// Writes shape.IndexCount() indices. Without indices of its own the record's vertices are
// taken three by three.
void WriteIndices(const SceneMesh& mesh, const MeshShape& shape, std::uint16_t* out);

} // namespace KelUtility
