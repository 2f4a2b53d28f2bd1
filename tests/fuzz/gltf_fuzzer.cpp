// Feeds arbitrary bytes to the glTF reader, as JSON or as GLB by their first bytes: it must
// never read out of bounds, and what it accepts must be whole triangles. A file that
// reads is written back and must read again with the same corners. External files are
// looked for in a folder that does not exist, so no input reaches one.

#include "document/gltf_format.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace MyApp;

namespace {

constexpr char kNoFolder[] = "/nonexistent-kel-fuzz";

// The written mesh: one vertex per corner, so the corners come back in order.
ModelMesh MeshOf(const ModelTriangles& model) {
    ModelMesh mesh;
    for (const ModelCorner& c : model.corners) {
        mesh.indices.push_back(static_cast<std::uint32_t>(mesh.vertices.size()));
        mesh.vertices.push_back({c.X, c.Y, c.Z, c.Color, c.Tu, c.Tv});
    }
    return mesh;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ModelTriangles model;
    std::string message;
    if (!ReadGltfBytes(bytes, kNoFolder, model, message)) {
        if (message.empty())
            std::abort();
        return 0;
    }
    if (model.corners.size() % 3 != 0)
        std::abort();
    if (model.corners.empty() || model.corners.size() > 30000)
        return 0;
    const ModelMesh mesh = MeshOf(model);
    for (const bool binary : {false, true}) {
        std::string written;
        ModelTriangles again;
        if (!WriteGltf(mesh, binary, written, message) ||
            !ReadGltfBytes(written, kNoFolder, again, message) ||
            again.corners.size() != model.corners.size())
            std::abort();
        for (std::size_t i = 0; i < again.corners.size(); ++i) {
            const ModelCorner& a = again.corners[i];
            const ModelCorner& b = model.corners[i];
            // Positions pass through floats; NaN never equals itself.
            if (a.Color != b.Color || (a.X == a.X && a.X != static_cast<float>(b.X)))
                std::abort();
        }
    }
    return 0;
}
