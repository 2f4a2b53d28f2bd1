#pragma once

// DirectX .x models read through D3DX into the loose triangles the model import takes: the
// file's meshes as D3DX joins them (frames applied, polygons cut into triangles), each
// corner with its position, colour and texture coordinates.

#include "document/model_files.h"
#include "document/model_mesh.h"

#include <d3d9.h>
#include <string>

namespace KelUtility {

// Reads the .x file at path (UTF-8) on the device. Each corner takes the vertex colour
// where the mesh has one, otherwise the diffuse colour of its face's material, otherwise
// white; texture coordinates are the mesh's first set. The texture is the first one a
// material names, resolved against the model's folder. False, with the reason in Italian
// (and D3DX's code on a second line), when D3DX cannot read the file, the mesh it gives
// cannot be read back, or it has more than `maxTriangles` faces.
bool ReadXModel(IDirect3DDevice9& device, const std::string& path, MyApp::ModelTriangles& model,
                std::string& message, std::size_t maxTriangles = MyApp::kMaxModelTriangles);

} // namespace KelUtility
