// Importing a 65,535-vertex model as OBJ and as GLB, beside assimp importing the same
// files with the same welding of equal corners.

#include "document/model_import.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

using namespace MyApp;

namespace {

// A wavy grid of 255 x 257 vertices, coloured and textured: 65,535 vertices, 130,048
// triangles.
const std::string& ModelFile(const char* extension) {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "kel-model-bench";
    static std::string paths[2];
    const bool glb = std::string(extension) == ".glb";
    std::string& path = paths[glb ? 1 : 0];
    if (!path.empty())
        return path;
    std::filesystem::create_directories(folder);
    MeshDocument document;
    constexpr int kColumns = 255;
    constexpr int kRows = 257;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const double x = column * 0.37;
            const double z = row * 0.41;
            document.Vertices.push_back({x, std::sin(x) * std::cos(z), z,
                                         static_cast<std::uint32_t>(row * 977 + column) & 0xFFFFFF,
                                         column / 254.0f, row / 256.0f});
        }
    }
    for (int row = 0; row + 1 < kRows; ++row) {
        for (int column = 0; column + 1 < kColumns; ++column) {
            const auto at = [&](int r, int c) { return static_cast<std::uint16_t>(r * kColumns + c); };
            document.Indices.insert(document.Indices.end(),
                                    {at(row, column), at(row + 1, column), at(row, column + 1),
                                     at(row, column + 1), at(row + 1, column), at(row + 1, column + 1)});
        }
    }
    document.FaceCount = static_cast<std::int32_t>(document.Indices.size() / 3);
    path = (folder / (std::string("grid") + extension)).string();
    std::string message;
    if (!ExportModel(document, path, message))
        std::fprintf(stderr, "%s\n", message.c_str());
    return path;
}

void ImportOurs(benchmark::State& state, const char* extension) {
    const std::string& path = ModelFile(extension);
    for (auto _ : state) {
        MeshDocument document;
        std::string message;
        if (!ImportModel(path, document, message))
            state.SkipWithError(message.c_str());
        benchmark::DoNotOptimize(document.Vertices.data());
    }
}

void ImportAssimp(benchmark::State& state, const char* extension) {
    const std::string& path = ModelFile(extension);
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene =
            importer.ReadFile(path, aiProcess_Triangulate | aiProcess_JoinIdenticalVertices);
        if (scene == nullptr)
            state.SkipWithError(importer.GetErrorString());
        benchmark::DoNotOptimize(scene);
    }
}

BENCHMARK_CAPTURE(ImportOurs, obj, ".obj")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportAssimp, obj, ".obj")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportOurs, glb, ".glb")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportAssimp, glb, ".glb")->Unit(benchmark::kMillisecond);

} // namespace
