#pragma once

// "Semplifica..." and the import of a model past the document's limits: fewer triangles by
// meshoptimizer's simplifier, which collapses edges where that changes the surface least
// and keeps the borders between different colours and texture coordinates (vertices at the
// same place with different values) where they are.

#include "document/mesh_document.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace MyApp {

struct SimplifyReport {
    std::size_t trianglesBefore = 0;
    std::size_t trianglesAfter = 0;
    std::size_t verticesRemoved = 0;
    // The largest move of the surface, as a share of the mesh's extent.
    float relativeError = 0;
    // The target was the drawn triangles or more, so the mesh was left alone.
    bool nothingAsked = false;
};

// The drawn triangles brought down to `targetTriangles` or as near as the mesh allows;
// the undrawn ones stay as they were, and the vertices only the removed triangles used go.
// A target of the drawn triangles or more leaves the document exactly as it was.
// False, with a message and the document unchanged, when its triangles cannot be numbered
// (mesh_triangles.h).
bool SimplifyMesh(MeshDocument& document, std::size_t targetTriangles, SimplifyReport& report,
                  std::string& message);

std::string Described(const SimplifyReport& report);

// A welded model made to fit: the fewest triangles removed that bring it within
// `maxVertices` vertices and `maxTriangles` triangles, the vertices no triangle uses any
// more removed. False when the simplifier cannot bring it that far; the model is then
// left as it was.
bool SimplifyToFit(std::vector<MeshVertex>& vertices, std::vector<std::uint32_t>& indices,
                   std::size_t maxVertices, std::size_t maxTriangles);

} // namespace MyApp
