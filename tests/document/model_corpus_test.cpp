// Every OBJ, PLY, STL, glTF and GLB model of Debian's assimp-testmodels through our import,
// beside assimp reading the same file: each either imports with assimp's triangle count or
// is refused with a reason. The table goes to the test's output.

#include "document/model_import.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace MyApp;

namespace {

const char* const kCorpus = "/usr/share/assimp/models";

// Triangles after assimp's triangulation, with every node's instance of a mesh counted;
// -1 when assimp cannot read the file.
long AssimpTriangles(const std::string& path) {
    Assimp::Importer importer;
    const aiScene* scene =
        importer.ReadFile(path, aiProcess_Triangulate | aiProcess_PreTransformVertices);
    if (scene == nullptr)
        return -1;
    long triangles = 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        for (unsigned f = 0; f < scene->mMeshes[m]->mNumFaces; ++f)
            triangles += scene->mMeshes[m]->mFaces[f].mNumIndices == 3;
    }
    return triangles;
}

bool IsModel(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    return extension == ".obj" || extension == ".ply" || extension == ".stl" ||
           extension == ".gltf" || extension == ".glb";
}

} // namespace

TEST(ModelCorpus, EveryModelImportsAsAssimpReadsItOrIsRefusedWithAReason) {
    if (!std::filesystem::exists(kCorpus))
        GTEST_SKIP() << "assimp-testmodels is not installed";
    std::vector<std::filesystem::path> models;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kCorpus)) {
        if (entry.is_regular_file() && IsModel(entry.path()))
            models.push_back(entry.path());
    }
    std::sort(models.begin(), models.end());
    int imported = 0;
    int disagreeing = 0;
    std::map<std::string, int> refusals;
    for (const auto& model : models) {
        MeshDocument document;
        std::string message;
        const bool ours = ImportModel(model.string(), document, message);
        const long theirs = AssimpTriangles(model.string());
        const std::string name = model.lexically_relative(kCorpus).string();
        if (!ours) {
            EXPECT_FALSE(message.empty()) << name;
            ++refusals[message.substr(0, message.find_first_of("0123456789"))];
            std::printf("  refused    %-60s %s\n", name.c_str(), message.c_str());
        } else if (theirs >= 0 && theirs != document.FaceCount) {
            ++disagreeing;
            ADD_FAILURE() << name << ": " << document.FaceCount << " triangles, assimp " << theirs;
        } else {
            ++imported;
            std::printf("  imported   %-60s %d triangles\n", name.c_str(), document.FaceCount);
        }
    }
    std::printf("%zu models: %d imported with assimp's count, %d disagreeing, refused:\n",
                models.size(), imported, disagreeing);
    for (const auto& [reason, count] : refusals)
        std::printf("  %3d  %s\n", count, reason.c_str());
    EXPECT_GE(imported, 55) << "the models that both read are compared";
}
