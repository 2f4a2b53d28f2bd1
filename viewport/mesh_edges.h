#pragma once

// The edges of a mesh's triangles, each once, drawn over the surface as lines. Two corners
// at the same position are one point, so an edge that two triangles share is one line even
// where the vertices were split (a seam of texture coordinates, a crease).

#include "viewport/mesh_geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace KelUtility {

// Two vertex numbers per edge, in the order the triangles first name them; an edge whose
// ends are one point is left out.
std::vector<std::uint16_t> EdgeList(const DeviceVertex* vertices, std::size_t vertexCount,
                                    const std::uint16_t* indices, std::size_t indexCount);

} // namespace KelUtility
