#pragma once

// One vertex of the edited mesh, as the user sees it in the vertex list, and the corners a
// face takes of the index list.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace MyApp {

// Every face of the mesh, and every triangle a model file gives, has three corners.
constexpr std::size_t kCornersPerFace = 3;

struct MeshVertex {
    double X = 0;
    double Y = 0;
    double Z = 0;
    std::uint32_t Color = 0; // 0x00BBGGRR, passed unchanged to the preview
    float Tu = 0;
    float Tv = 0;
};

inline bool operator==(const MeshVertex& a, const MeshVertex& b) {
    return a.X == b.X && a.Y == b.Y && a.Z == b.Z && a.Color == b.Color && a.Tu == b.Tu &&
           a.Tv == b.Tv;
}

inline bool operator!=(const MeshVertex& a, const MeshVertex& b) {
    return !(a == b);
}

// The same bits in every field: unlike ==, tells 0 from -0 and finds a NaN equal to itself,
// which is what "unchanged" means for a value the user keeps.
inline bool Identical(const MeshVertex& a, const MeshVertex& b) {
    return std::memcmp(&a.X, &b.X, sizeof a.X) == 0 && std::memcmp(&a.Y, &b.Y, sizeof a.Y) == 0 &&
           std::memcmp(&a.Z, &b.Z, sizeof a.Z) == 0 && a.Color == b.Color &&
           std::memcmp(&a.Tu, &b.Tu, sizeof a.Tu) == 0 &&
           std::memcmp(&a.Tv, &b.Tv, sizeof a.Tv) == 0;
}

inline bool Identical(std::uint16_t a, std::uint16_t b) {
    return a == b;
}

} // namespace MyApp
