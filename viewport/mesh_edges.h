#pragma once

// The triangles of a mesh with their edges drawn in them: each vertex knows its place in
// its triangles, so that every pixel of the surface knows how far it is from its
// triangle's edges and is drawn in the edge colour when it is close to one. An edge two
// triangles share is drawn from both sides into one line, and a silhouette's edge shows as
// far as its triangle does: hidden by what lies in front, never fighting the surface for
// depth.

#include "viewport/mesh_shading.h"

#include <cstdint>
#include <vector>

namespace KelUtility {

// A shaded vertex and its place in its triangles: (1, 0), (0, 1) or (0, 0), the third
// weight being what the two leave of 1.
struct EdgedVertex {
    ShadedVertex vertex;
    float first;
    float second;
};
static_assert(sizeof(EdgedVertex) == 44, "the device reads 44 bytes an edged vertex");

struct EdgedGeometry {
    std::vector<EdgedVertex> vertices;
    std::vector<std::uint32_t> indices; // three a triangle, in the shaded triangles' order
};

// The three corners of every triangle take the three places. A vertex keeps one place
// where its triangles allow, and is copied for each other place it needs: a grid of
// triangles needs no copy at all, where giving every corner its own vertex would triple
// the vertices.
EdgedGeometry EdgedTriangles(const ShadedGeometry& shaded);

} // namespace KelUtility
