#pragma once

// The near and far planes of the preview's look-at view. The fixed 1 and 500 that the
// editor's meshes were made for hold while the mesh lies between them; a mesh that reaches
// nearer the eye or farther away, as imported models hundreds of units across do, moves
// them just enough to be seen whole.

#include "viewport/scene_records.h"

#include <vector>

namespace KelUtility {

struct DepthRange {
    float nearPlane;
    float farPlane;
};

// How far from the origin the visible meshes reach once placed: their farthest vertex
// plus their offsets and the move, so that any turn about the origin stays within it.
double MeshReach(const std::vector<SceneMesh>& meshes, double moveX, double moveY, double moveZ);

// The planes for an eye at eyeDistance from the origin and a mesh within reach of it.
DepthRange DepthRangeFor(double eyeDistance, double reach);

} // namespace KelUtility
