#pragma once

// The PLY polygon file format (Stanford): a reader of its three encodings and a writer of
// its binary little-endian one.

#include "document/model_files.h"
#include "document/model_mesh.h"

#include <string>
#include <string_view>

namespace MyApp {

// Reads an ASCII, binary little-endian or binary big-endian PLY file into loose triangles:
// the vertex element's x y z, its colours (red green blue, as bytes or as fractions), its
// texture coordinates (s t, u v, texture_u texture_v or texture_s texture_t, with v turned
// to point down), and the face element's index lists, each polygon cut into triangles as
// PolygonTriangulator cuts it. Other elements and properties are passed over. The name of
// a "comment TextureFile" line goes to textureFile as written. A file without faces gives no corners and true. On a broken
// or unsupported file, one whose faces make more than `maxTriangles` triangles, or one
// with more vertices than ElementBudget(maxTriangles), it returns false, leaves `model` as
// it was and says why in `message`, in Italian.
bool ReadPly(std::string_view bytes, ModelTriangles& model, std::string& message,
             std::size_t maxTriangles = kMaxModelTriangles);

// Writes the mesh as binary little-endian PLY: per vertex float x y z, uchar red green blue
// and float s t (v pointing up as PLY has it), per face a list of three uint indices, and
// a TextureFile comment that names the texture when there is one.
std::string WritePly(const ModelMesh& mesh);

} // namespace MyApp
