#pragma once

// The near and far planes of the preview's look-at view. The fixed 1 and 500 that the
// editor's meshes were made for hold while the mesh lies between them; a mesh that reaches
// nearer the eye or farther away, as imported models hundreds of units across or a few
// millimetres small do, moves them just enough to be seen whole.

#include "viewport/scene_records.h"

#include <optional>

namespace KelUtility {

struct DepthRange {
    float nearPlane;
    float farPlane;
};

// A sphere around a mesh's vertices, in the mesh's own space: the middle of their box and
// half its diagonal.
struct MeshSphere {
    double x = 0;
    double y = 0;
    double z = 0;
    double radius = 0;
};

// None for a mesh without vertices.
std::optional<MeshSphere> SphereAround(const SceneMesh& mesh);

// The planes for meshes whose nearest point is `nearest` from the eye (negative when the
// eye is inside them) and whose farthest point is `farthest` from it.
DepthRange DepthRangeFor(double nearest, double farthest);

} // namespace KelUtility
