#pragma once

// The STL stereolithography format: a reader of its ASCII and binary forms and a writer of
// the binary one.

#include "document/model_files.h"
#include "document/model_mesh.h"

#include <string>
#include <string_view>

namespace MyApp {

// Reads an ASCII or binary STL file into loose triangles, white and without texture
// coordinates, as STL keeps neither. A file is binary when its size is exactly the 84 bytes
// of header and count plus 50 bytes for each triangle it counts, even when it starts with
// "solid" as many binary files do; otherwise one that starts with "solid" is ASCII, and
// may hold several solids. On a broken file, or one of more than `maxTriangles` triangles,
// it returns false, leaves `model` as it was and says why in `message`, in Italian.
bool ReadStl(std::string_view bytes, ModelTriangles& model, std::string& message,
             std::size_t maxTriangles = kMaxModelTriangles);

// Writes the mesh's whole triangles as binary STL, each facet with the unit normal of its
// corners in the order given (zero for a triangle without area).
std::string WriteStl(const ModelMesh& mesh);

} // namespace MyApp
