#pragma once

// "Pulisci": what an exporter leaves behind goes. Vertices equal in every field (the same
// bits, so 0 and -0 stay apart) become the first of them; triangles that name two equal
// corners, triangles that repeat another with the same corners in any rotation (a triangle
// in the other order is the other face, and stays), and drawn triangles with a corner past
// the vertex list go; then vertices no index names go. The vertices keep their order.

#include "document/mesh_document.h"

#include <cstddef>
#include <string>

namespace MyApp {

struct CleanupReport {
    std::size_t verticesRemoved = 0;
    std::size_t trianglesRemoved = 0;
};

// False, with a message and the document unchanged, when its triangles cannot be numbered
// (mesh_triangles.h).
bool CleanMesh(MeshDocument& document, CleanupReport& report, std::string& message);

// What the tool's box says: "Nulla da pulire." when nothing went.
std::string Described(const CleanupReport& report);

} // namespace MyApp
