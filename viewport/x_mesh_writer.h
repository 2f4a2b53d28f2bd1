#pragma once

// The DirectX .x text file of one scene mesh: the mesh the preview builds from the record
// (its vertices, and FaceCount triangles taken from the index list as the preview takes
// them), one yellow material, the texture coordinates, the vertex colours and, when the
// record names one, the texture file. The record's offset and the view are not applied.

#include "viewport/scene_records.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace KelUtility {

// The longest texture file name a mesh file carries.
constexpr std::size_t kMaximumTextureName = 1023;

// The file's lines, without line breaks; none when the record builds no mesh.
std::optional<std::vector<std::string>> XMeshLines(const SceneMesh& record);

} // namespace KelUtility
