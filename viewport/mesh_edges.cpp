#include "viewport/mesh_edges.h"

#include "viewport/mesh_shading.h"

#include <algorithm>
#include <unordered_set>

namespace KelUtility {

std::vector<std::uint16_t> EdgeList(const DeviceVertex* vertices, std::size_t vertexCount,
                                    const std::uint16_t* indices, std::size_t indexCount) {
    const std::vector<std::uint32_t> position = PositionNumbers(vertices, vertexCount);
    const std::size_t corners = indexCount - indexCount % 3;
    std::unordered_set<std::uint64_t> seen;
    seen.reserve(corners);
    std::vector<std::uint16_t> edges;
    for (std::size_t first = 0; first < corners; first += 3) {
        for (std::size_t k = 0; k < 3; ++k) {
            const std::uint16_t a = indices[first + k];
            const std::uint16_t b = indices[first + (k + 1) % 3];
            const std::uint64_t low = std::min(position[a], position[b]);
            const std::uint64_t high = std::max(position[a], position[b]);
            if (low != high && seen.insert(low << 32 | high).second)
                edges.insert(edges.end(), {a, b});
        }
    }
    return edges;
}

} // namespace KelUtility
