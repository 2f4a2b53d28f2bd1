#pragma once

// glTF 2.0 models, .gltf (JSON with embedded or external buffers) and .glb (binary), read
// and written through tinygltf. Texture coordinates already follow Direct3D's convention.

#include "document/model_files.h"
#include "document/model_mesh.h"

#include <string>
#include <string_view>

namespace MyApp {

// Reads the glTF or GLB file at `path` (UTF-8; the kind is told by its first bytes). The
// default scene (else the first, else every node no other node holds) is walked with each
// node's transform applied to the positions, and its triangle primitives give triangles:
// strips and fans are turned into lists, points and lines are left out. Colours come from
// COLOR_0, else the material's base colour factor, both linear and taken to sRGB levels;
// the texture is the first base colour texture's image: the file it names, or the picture the file holds inside it. Every accessor is
// checked against its buffer; a file that breaks a rule is refused, and so is a scene of more than
// `maxTriangles` triangles or one whose accessors and placed primitives exceed
// ElementBudget(maxTriangles): both are told from the declared counts, before anything is decoded.
// Each accessor is decoded once, however many primitives use it. False with an Italian `message`
// saying why; a refusal of tinygltf's has its English text on a second line.
bool ReadGltf(const std::string& path, ModelTriangles& model, std::string& message,
              std::size_t maxTriangles = kMaxModelTriangles);

// The same from the file's bytes. External buffers and images are looked for in `folder`
// (empty: the working folder); give a folder that does not exist to read none.
bool ReadGltfBytes(std::string_view bytes, const std::string& folder, ModelTriangles& model,
                   std::string& message, std::size_t maxTriangles = kMaxModelTriangles);

// Writes `mesh` as one mesh with one indexed triangle primitive: POSITION with its bounds,
// COLOR_0 as linear normalised 16-bit values, TEXCOORD_0, 16-bit indices when they fit and 32-bit ones
// otherwise, and a material whose base colour texture is the mesh's picture, carried in the
// buffer. A
// .glb when `binary`, else a .gltf with the buffer embedded. False with a message when the
// mesh has no triangle or an index past its vertices.
bool WriteGltf(const ModelMesh& mesh, bool binary, std::string& bytes, std::string& message);

} // namespace MyApp
