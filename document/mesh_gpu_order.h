#pragma once

// "Ottimizza per la GPU": the drawn triangles reordered for a 16-entry vertex cache, then the
// vertices reordered in the order the triangles first fetch them, both by meshoptimizer.
// The same triangles with the same corners in the same turn: the drawing does not change.

#include "document/mesh_document.h"

#include <string>

namespace MyApp {

struct GpuOrderReport {
    // Vertices transformed per triangle, as meshoptimizer's analyser counts them for a
    // 16-entry cache: 0.5 is the best a large mesh reaches, 3 the worst.
    float missRatioBefore = 0;
    float missRatioAfter = 0;
};

// Vertices no triangle uses keep their order after the used ones; the undrawn triangles
// follow the drawn ones, renumbered. False, with a message and the document unchanged,
// when its triangles cannot be numbered (mesh_triangles.h).
bool OptimizeForGpu(MeshDocument& document, GpuOrderReport& report, std::string& message);

// The average cache miss ratio of a document's drawn triangles for a 16-entry cache.
float CacheMissRatio(const MeshDocument& document);

std::string Described(const GpuOrderReport& report);

} // namespace MyApp
