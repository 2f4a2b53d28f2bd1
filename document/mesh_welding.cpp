#include "document/mesh_welding.h"

#include <algorithm>
#include <cstring>

namespace MyApp {
namespace {

// The corner's fields as words of their exact bytes, so that equal corners hash equal; -0
// and 0 are different bytes and stay apart, which only costs a vertex.
std::size_t CornerHash(const ModelCorner& corner) {
    std::uint64_t words[5] = {};
    std::memcpy(&words[0], &corner.X, sizeof corner.X);
    std::memcpy(&words[1], &corner.Y, sizeof corner.Y);
    std::memcpy(&words[2], &corner.Z, sizeof corner.Z);
    std::memcpy(&words[3], &corner.Tu, sizeof corner.Tu);
    std::memcpy(reinterpret_cast<char*>(&words[3]) + sizeof corner.Tu, &corner.Tv, sizeof corner.Tv);
    words[4] = corner.Color;
    std::uint64_t hash = 0;
    for (std::uint64_t word : words) {
        hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
        hash ^= hash >> 29;
    }
    return static_cast<std::size_t>(hash);
}

bool SameBytes(const ModelCorner& corner, const MeshVertex& vertex) {
    const auto same = [](const auto& a, const auto& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    return same(corner.X, vertex.X) && same(corner.Y, vertex.Y) && same(corner.Z, vertex.Z) &&
           corner.Color == vertex.Color && same(corner.Tu, vertex.Tu) && same(corner.Tv, vertex.Tv);
}

} // namespace

// An open-addressed table of vertex numbers, kept at most half full: sized for the vertices
// a document can hold, so that it stays in the processor's cache, and doubled only for a
// model that goes past them, whose count the refusal gives.
bool WeldCorners(const std::vector<ModelCorner>& corners, std::vector<MeshVertex>& vertices,
                 std::vector<std::uint32_t>& indices, std::size_t limit) {
    constexpr std::uint32_t kEmpty = UINT32_MAX;
    std::size_t slots = 16;
    while (slots < 2 * std::min(corners.size(), limit + 1))
        slots *= 2;
    std::vector<std::uint32_t> table(slots, kEmpty);
    const auto slotOf = [&](const ModelCorner& corner) {
        std::size_t slot = CornerHash(corner) & (slots - 1);
        while (table[slot] != kEmpty && !SameBytes(corner, vertices[table[slot]]))
            slot = (slot + 1) & (slots - 1);
        return slot;
    };
    vertices.clear();
    vertices.reserve(std::min(corners.size(), limit + 1));
    indices.clear();
    indices.reserve(corners.size());
    for (const ModelCorner& corner : corners) {
        std::size_t slot = slotOf(corner);
        if (table[slot] == kEmpty) {
            if (2 * (vertices.size() + 1) > slots) {
                slots *= 2;
                table.assign(slots, kEmpty);
                for (std::uint32_t v = 0; v < vertices.size(); ++v) {
                    const MeshVertex& kept = vertices[v];
                    table[slotOf({kept.X, kept.Y, kept.Z, kept.Color, kept.Tu, kept.Tv})] = v;
                }
                slot = slotOf(corner);
            }
            table[slot] = static_cast<std::uint32_t>(vertices.size());
            vertices.push_back({corner.X, corner.Y, corner.Z, corner.Color, corner.Tu, corner.Tv});
        }
        indices.push_back(table[slot]);
    }
    return vertices.size() <= limit;
}

} // namespace MyApp
