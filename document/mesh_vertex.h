#pragma once

// One vertex of the edited mesh, as the user sees it in the vertex list.

#include <cstdint>

namespace MyApp {

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

inline bool operator!=(const MeshVertex& a, const MeshVertex& b) { return !(a == b); }

} // namespace MyApp
