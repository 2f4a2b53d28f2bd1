#include "viewport/mesh_edges.h"

#include <array>

namespace KelUtility {

EdgedGeometry EdgedTriangles(const ShadedGeometry& shaded) {
    constexpr float kPlaces[3][2] = {{1, 0}, {0, 1}, {0, 0}};
    constexpr int kOrders[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}, {1, 0, 2}};
    constexpr std::uint32_t kNone = UINT32_MAX;
    EdgedGeometry edged;
    edged.vertices.reserve(shaded.vertices.size());
    edged.indices.reserve(shaded.indices.size());
    std::vector<std::array<std::uint32_t, 3>> copyAt(shaded.vertices.size(), {kNone, kNone, kNone});
    for (std::size_t first = 0; first + 2 < shaded.indices.size(); first += 3) {
        const std::uint32_t* corner = &shaded.indices[first];
        // The order of places that finds the most corners already made.
        int best = 0;
        int bestFound = -1;
        for (int order = 0; order < 6; ++order) {
            int found = 0;
            for (int k = 0; k < 3; ++k)
                found += copyAt[corner[k]][kOrders[order][k]] != kNone;
            if (found > bestFound) {
                best = order;
                bestFound = found;
            }
        }
        for (int k = 0; k < 3; ++k) {
            const int place = kOrders[best][k];
            std::uint32_t& copy = copyAt[corner[k]][place];
            if (copy == kNone) {
                copy = static_cast<std::uint32_t>(edged.vertices.size());
                edged.vertices.push_back({shaded.vertices[corner[k]], kPlaces[place][0], kPlaces[place][1]});
            }
            edged.indices.push_back(copy);
        }
    }
    return edged;
}

} // namespace KelUtility
