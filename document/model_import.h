#pragma once

// Model files of every format the editor speaks, in and out of the document: OBJ, PLY,
// STL, glTF and, in the Windows build, DirectX .x. The format is chosen by the file's
// extension, in any case.

#include "document/mesh_document.h"
#include "document/model_files.h"
#include "document/model_mesh.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace MyApp {

// Reads a model file into loose triangles, refusing one of more than `maxTriangles`
// triangles with its count before it makes them; false with the reason in Italian.
using ModelReader = bool (*)(const std::string& path, ModelTriangles& model,
                             std::string& message, std::size_t maxTriangles);

// The .x reader needs D3DX, which only the Windows build has; it installs itself here.
void SetXModelReader(ModelReader reader);

// The model at path becomes the document's mesh: corners equal in position, colour and
// texture coordinates become one vertex, FaceCount counts the triangles, the texture is
// the one the model names when that file exists, and the view is framed on the model
// (below). OBJ, PLY, STL and glTF positions are turned into the document's axes
// (model_axes.h); .x is Direct3D's already. A picture the model holds inside it is kept as a
// file in the picture folder (model_pictures.h), which the document names. Size, background
// and rotation stay. On success `message` holds what the user should know about the
// texture (missing, on another machine, left out), or nothing. False, with the document
// unchanged and the reason in `message`, for a file that cannot be read, an unknown extension, a
// model without triangles, one that needs more than kMaxModelVertices vertices, one of more
// triangles than `maxTriangles` (the preview's limit) or kMaxModelTriangles, whichever is
// less, and one with a coordinate or texture coordinate that is not finite or lies beyond
// the float range, named by its vertex.
//
// With `askToFit`, a model that needs more vertices or holds more triangles than that, up to
// kMaxSimplifiedTriangles, is not refused at once: the question (its text, in Italian)
// decides whether it comes in simplified so that it fits (mesh_simplifier.h), and the
// message then says so.
using FitQuestion = std::function<bool(const std::string& question)>;
bool ImportModel(const std::string& path, MeshDocument& document, std::string& message,
                 std::size_t maxTriangles = kMaxModelTriangles, const FitQuestion& askToFit = {});

// Whether the path's extension names a model format ImportModel reads, in any case.
bool IsModelPath(const std::string& path);

// Writes the triangles the document draws (its FaceCount, taken as the preview takes them)
// to path, in the format of its extension: .obj with its .mtl (MaterialPathFor), .ply and
// .stl binary, .glb, or .gltf with its buffer inside. Every file goes through a safe save;
// the OBJ and its MTL take their places together or not at all. Positions go into the
// format's axes (model_axes.h). A glTF file carries the texture's picture inside it; the
// others name it, from the file's folder when it lies there or below (TextureNameFrom), so
// that the model and its texture can move together, any other by its whole path. A
// document holding a value that no float carries is refused (ExportableValues). On a
// failure the message names the file and the system's reason; on success it says why a
// texture was left out of a glTF file, or is empty.
bool ExportModel(const MeshDocument& document, const std::string& path, std::string& message);
// Whether every value of the document's vertices can be written as the 32-bit float every
// exported format keeps; false with a message naming the first vertex that holds one that
// is not finite or lies beyond the float range.
bool ExportableValues(const MeshDocument& document, std::string& message);
// The .mtl an OBJ export writes beside the .obj: its name with blanks and '#' made '_',
// which every reader takes as one name.
std::string MaterialPathFor(const std::string& objPath);
// Whether the document draws a whole triangle that an export could write.
bool DrawsTriangles(const MeshDocument& document);

// Centres the mesh on the origin with the move (the mesh turned by the document's
// rotation, as the preview turns it before moving it), and moves the eye along its line to
// where the mesh's bounding sphere just fits the preview's 45-degree view. The move and
// the eye stay finite and within the float range the preview works in, whatever finite
// values the vertices hold.
void FrameMesh(MeshDocument& document);

// The document's drawn triangles as an indexed mesh to write.
ModelMesh DrawnMesh(const MeshDocument& document);

} // namespace MyApp
