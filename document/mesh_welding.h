#pragma once

// Loose triangles become an indexed mesh: corners equal in position, colour and texture
// coordinates, to the bit, become one vertex.

#include "document/mesh_vertex.h"
#include "document/model_mesh.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace MyApp {

// The same corners as one vertex each: the vertices in order of first use and three
// indices per triangle. False when more than `limit` vertices are needed; every corner is
// still welded, so that the count and the mesh are whole.
bool WeldCorners(const std::vector<ModelCorner>& corners, std::vector<MeshVertex>& vertices,
                 std::vector<std::uint32_t>& indices, std::size_t limit);

} // namespace MyApp
