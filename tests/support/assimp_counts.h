#pragma once

// What assimp, the reference reader of the format tests, makes of a model file: its
// triangles as the scene places them (a mesh that two nodes hold counts twice) and its
// vertices. Native tests only.

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <optional>
#include <string>

struct AssimpCounts {
    std::size_t triangles = 0;
    std::size_t vertices = 0;
};

inline void AddNodeCounts(const aiScene& scene, const aiNode& node, AssimpCounts& counts) {
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[i]];
        counts.vertices += mesh.mNumVertices;
        for (unsigned f = 0; f < mesh.mNumFaces; ++f)
            counts.triangles += mesh.mFaces[f].mNumIndices == 3;
    }
    for (unsigned i = 0; i < node.mNumChildren; ++i)
        AddNodeCounts(scene, *node.mChildren[i], counts);
}

// Empty when assimp refuses the file. `flags` adds assimp's steps to triangulation.
inline std::optional<AssimpCounts> AssimpRead(const std::string& path, unsigned flags = 0) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | flags);
    if (!scene || !scene->mRootNode)
        return std::nullopt;
    AssimpCounts counts;
    AddNodeCounts(*scene, *scene->mRootNode, counts);
    return counts;
}
