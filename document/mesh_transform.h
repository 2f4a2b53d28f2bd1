#pragma once

// "Inverti facce" and "Trasforma...": the mesh turned inside out, or turned a quarter turn,
// scaled, centred and moved, written into its vertices.

#include "document/mesh_document.h"

#include <string>
#include <vector>

namespace MyApp {

// Every triangle's corners in the other order, so that its front becomes its back; an
// unfinished last triangle stays as it is. False, with a message and the document
// unchanged, when its triangles cannot be numbered (mesh_triangles.h).
bool FlipFaces(MeshDocument& document, std::string& message);

enum class QuarterTurn { None, XPlus, XMinus, YPlus, YMinus, ZPlus, ZMinus };

// What "Trasforma..." does, in this order: the quarter turn about the axis, in the sense in
// which the preview's rotation of +90 degrees turns the mesh; the scale, by `factor` or, when
// `largestSide` is above 0, so that the bounding box's largest side measures it; the box's
// centre brought to the origin; then the move.
struct MeshTransform {
    QuarterTurn turn = QuarterTurn::None;
    double factor = 1;
    double largestSide = 0;
    bool centre = false;
    double moveX = 0;
    double moveY = 0;
    double moveZ = 0;
};

// Writes the transform into every vertex; a zero stays 0, never -0. A negative factor is a
// mirror through the centre of scaling, and every triangle's corners then go in the other
// order, as "Inverti facce" puts them, so that the outside stays the front. False, with a
// message and the document unchanged, for a factor of zero or not finite, a largest side
// asked of a flat point, a result beyond the float range, or one that would make vertices at
// different places one point as floats (a scale of 1e-40, a move too large for the mesh's
// detail).
bool TransformMesh(MeshDocument& document, const MeshTransform& transform, std::string& message);

// The largest side of the box around the vertices; 0 for none.
double LargestSide(const std::vector<MeshVertex>& vertices);

} // namespace MyApp
