// Feeds arbitrary bytes to the STL reader. What it takes must be whole triangles of finite
// positions, and the writer's file of those triangles must read back to the same corners.

#include "document/stl_format.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace MyApp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ModelTriangles model;
    std::string message;
    if (!ReadStl(bytes, model, message)) {
        if (message.empty() || !model.corners.empty())
            std::abort();
        return 0;
    }
    if (model.corners.size() % 3 != 0 || !model.textureFile.empty())
        std::abort();
    ModelMesh mesh;
    for (const ModelCorner& corner : model.corners) {
        if (!std::isfinite(corner.X) || !std::isfinite(corner.Y) || !std::isfinite(corner.Z) ||
            corner.Color != 0xFFFFFFu || corner.Tu != 0 || corner.Tv != 0)
            std::abort();
        mesh.indices.push_back(static_cast<std::uint32_t>(mesh.vertices.size()));
        mesh.vertices.push_back(MeshVertex{corner.X, corner.Y, corner.Z, corner.Color});
    }
    ModelTriangles again;
    if (!ReadStl(WriteStl(mesh), again, message) || again.corners.size() != model.corners.size())
        std::abort();
    for (std::size_t i = 0; i < model.corners.size(); ++i) {
        const ModelCorner& a = model.corners[i];
        const ModelCorner& b = again.corners[i];
        const auto written = [](double v) {
            return static_cast<float>(std::fmax(-FLT_MAX, std::fmin(v, FLT_MAX)));
        };
        if (b.X != written(a.X) || b.Y != written(a.Y) || b.Z != written(a.Z))
            std::abort();
    }
    return 0;
}
