// Feeds arbitrary bytes to the PLY reader. What it takes must be whole triangles of finite
// positions, and the writer's file of those triangles must read back to the same corners,
// positions as floats, colours exactly.

#include "document/ply_format.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace MyApp;

namespace {

float AsWritten(double value) {
    return static_cast<float>(std::fmax(-FLT_MAX, std::fmin(value, FLT_MAX)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ModelTriangles model;
    std::string message;
    if (!ReadPly(bytes, model, message)) {
        if (message.empty() || !model.corners.empty())
            std::abort();
        return 0;
    }
    if (model.corners.size() % 3 != 0)
        std::abort();
    ModelMesh mesh;
    mesh.textureFile = model.textureFile;
    for (const ModelCorner& corner : model.corners) {
        if (!std::isfinite(corner.X) || !std::isfinite(corner.Y) || !std::isfinite(corner.Z) ||
            !std::isfinite(corner.Tu) || !std::isfinite(corner.Tv) || corner.Color > 0xFFFFFFu)
            std::abort();
        mesh.indices.push_back(static_cast<std::uint32_t>(mesh.vertices.size()));
        mesh.vertices.push_back(
            MeshVertex{corner.X, corner.Y, corner.Z, corner.Color, corner.Tu, corner.Tv});
    }
    ModelTriangles again;
    if (!ReadPly(WritePly(mesh), again, message) || again.corners.size() != model.corners.size() ||
        again.textureFile != model.textureFile)
        std::abort();
    for (std::size_t i = 0; i < model.corners.size(); ++i) {
        const ModelCorner& a = model.corners[i];
        const ModelCorner& b = again.corners[i];
        if (b.X != AsWritten(a.X) || b.Y != AsWritten(a.Y) || b.Z != AsWritten(a.Z) ||
            b.Color != a.Color || std::fabs(b.Tu - a.Tu) > 1e-6f * (1 + std::fabs(a.Tu)) ||
            std::fabs(b.Tv - a.Tv) > 1e-6f * (1 + std::fabs(a.Tv)))
            std::abort();
    }
    return 0;
}
