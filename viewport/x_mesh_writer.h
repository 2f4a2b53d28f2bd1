#pragma once

// The DirectX .x text file of one scene mesh: the mesh the preview builds from the record
// (its vertices, and up to FaceCount triangles taken from the index list as the preview
// takes them, only those the list holds whole), one yellow material, the texture
// coordinates, the vertex colours and, when the record names one, the texture file. The
// record's offset and the view are not applied.

#include "viewport/scene_records.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace KelUtility {

// The longest texture file name a mesh file carries.
constexpr std::size_t kMaximumTextureName = 1023;

// Why a record cannot be written as a mesh file.
enum class XMeshProblem {
    None,
    NoMesh,             // too few or too many vertices, or not one whole triangle
    TextureNameTooLong, // more than kMaximumTextureName bytes
    TextureNameQuoted,  // a '"' would end the file's string early
};

XMeshProblem XMeshProblemOf(const SceneMesh& record);

// The file's lines, without line breaks; none when the record has a problem.
std::optional<std::vector<std::string>> XMeshLines(const SceneMesh& record);

} // namespace KelUtility
