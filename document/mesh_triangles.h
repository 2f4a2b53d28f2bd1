#pragma once

// The document's index list as the mesh tools work on it. The preview draws the first
// FaceCount triangles; a triangle with a corner past the vertex list is not drawn; the
// triangles past FaceCount and an unfinished last one are kept for the user but not drawn.
// A tool works on the drawn triangles; the others stay, renumbered with the vertices, and
// only the tools that remove triangles (cleaning, simplifying) look at them.

#include "document/mesh_document.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace MyApp {

struct MeshTriangles {
    std::vector<std::uint32_t> drawn;  // three corners each, all inside the vertex list
    std::vector<std::uint32_t> broken; // drawn places whose triangle has a corner past it
    std::vector<std::size_t> brokenPlaces; // where each broken triangle stood among the drawn
    std::vector<std::uint32_t> rest;   // past FaceCount, as they are
    std::size_t placesBefore = 0;      // the drawn places the document had
};

// The document's triangles; a document without an index list is taken as the preview takes
// it, its vertices three by three. False, with a message, when such a document holds more
// vertices than an index can number.
bool SplitTriangles(const MeshDocument& document, MeshTriangles& triangles, std::string& message);

// How many triangles the preview draws: the first FaceCount with every corner in the list.
std::size_t DrawnTriangleCount(const MeshDocument& document);

// The triangles as the document's index list, and FaceCount changed by the drawn places
// that went or came. When the drawn places are as many as before, each broken triangle goes
// back to its place among them; otherwise they follow the drawn ones. Every index must fit
// 16 bits.
void JoinTriangles(const MeshTriangles& triangles, MeshDocument& document);

// The vertices marked in `drop` leave the list, which keeps its order; the indices that
// named the others follow them. No index may name a vertex that goes.
void DropVertices(const std::vector<bool>& drop, std::vector<MeshVertex>& vertices,
                  MeshTriangles& triangles);

// Which vertices no index names.
std::vector<bool> UnusedVertices(std::size_t vertexCount, const MeshTriangles& triangles);

// The vertices' positions as floats, three per vertex, as the preview draws them.
std::vector<float> FloatPositions(const std::vector<MeshVertex>& vertices);

// Each vertex named by the first vertex equal to it in every field, to the bit (0 and -0
// stay apart).
std::vector<std::uint32_t> FirstEqualVertices(const std::vector<MeshVertex>& vertices);

} // namespace MyApp
