#pragma once

// Wavefront OBJ with its MTL material library, read through tinyobjloader and written as
// plain text. Texture coordinates are turned between OBJ's v upwards and Direct3D's v
// downwards (v' = 1 - v) both ways.

#include "document/model_files.h"
#include "document/model_mesh.h"

#include <string>
#include <string_view>

namespace MyApp {

// Reads the OBJ file at `path` (UTF-8) and the material libraries it names, from the
// model's folder. Polygons come as triangles as PolygonTriangulator cuts them (a convex
// quad along its shorter diagonal, other polygons by ear clipping); vertex colours
// (`v x y z r g b`) are taken when every vertex has one, and otherwise each face takes its
// material's diffuse colour (Kd), white without one. The texture is the first material's
// diffuse map that names one. An index outside the file's lists refuses the file. False
// with an Italian `message` saying why when the file cannot be read, is not a valid OBJ or
// makes more than `maxTriangles` triangles (told before they are made); a file without
// faces gives true and no corners.
bool ReadObj(const std::string& path, ModelTriangles& model, std::string& message,
             std::size_t maxTriangles = kMaxModelTriangles);

// The same from the file's text. Material libraries and the texture are looked for in
// `folder` (empty: the working folder); give a folder that does not exist to read none.
bool ReadObjText(std::string_view obj, const std::string& folder, ModelTriangles& model,
                 std::string& message, std::size_t maxTriangles = kMaxModelTriangles);

// Writes `mesh` as the text of an OBJ file, which names `materialFileName` as its material
// library, and the text of that library: one material, white (Kd 1 1 1), with the texture
// file as its diffuse map when the mesh has one. Vertices carry their colours
// (`v x y z r g b`) and texture coordinates; faces are 1-based `f a/a b/b c/c`. Numbers
// have the digits that read back as the same single-precision values.
void WriteObj(const ModelMesh& mesh, const std::string& materialFileName, std::string& obj,
              std::string& mtl);

} // namespace MyApp
