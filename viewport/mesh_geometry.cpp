#include "viewport/mesh_geometry.h"

#include "document/number_text.h"

#include <algorithm>

namespace KelUtility {

std::uint32_t ToDeviceColor(std::uint32_t color) {
    const std::uint32_t red = color & 0xFF;
    const std::uint32_t green = (color >> 8) & 0xFF;
    const std::uint32_t blue = (color >> 16) & 0xFF;
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

std::optional<MeshShape> ShapeOf(const SceneMesh& mesh) {
    const std::size_t vertices = mesh.Vertices.size();
    if (vertices < 3 || vertices > kMaximumMeshVertices || mesh.FaceCount <= 0)
        return std::nullopt;
    // A face count past the triangles (a hand-made project) draws those there are; a
    // mesh of every face counted would hold millions of empty ones, or none at all.
    const std::size_t supplied = (mesh.Indices.empty() ? vertices : mesh.Indices.size()) / 3;
    const std::size_t faces = std::min(static_cast<std::size_t>(mesh.FaceCount), supplied);
    if (faces == 0)
        return std::nullopt;
    return MeshShape{static_cast<std::uint32_t>(faces), static_cast<std::uint32_t>(vertices)};
}

void WriteVertices(const SceneMesh& mesh, DeviceVertex* out) {
    for (const MeshVertex& vertex : mesh.Vertices) {
        *out++ = DeviceVertex{MyApp::NarrowToFloat(vertex.X), MyApp::NarrowToFloat(vertex.Y),
                              MyApp::NarrowToFloat(vertex.Z), ToDeviceColor(vertex.Color),
                              vertex.Tu, vertex.Tv};
    }
}

std::uint32_t WholeFaces(const SceneMesh& mesh, const MeshShape& shape) {
    const std::size_t supplied = mesh.Indices.empty() ? mesh.Vertices.size() : mesh.Indices.size();
    return static_cast<std::uint32_t>(std::min<std::size_t>(shape.faces, supplied / 3));
}

void WriteIndices(const SceneMesh& mesh, const MeshShape& shape, std::uint16_t* out) {
    const std::size_t count = shape.IndexCount();
    const bool ownIndices = !mesh.Indices.empty();
    const std::size_t supplied =
        std::min(count, ownIndices ? mesh.Indices.size() : mesh.Vertices.size());
    const auto indexAt = [&](std::size_t position) -> std::uint32_t {
        if (position >= supplied)
            return 0;
        return ownIndices ? mesh.Indices[position] : static_cast<std::uint32_t>(position);
    };
    for (std::size_t first = 0; first < count; first += 3) {
        const std::uint32_t corners[3] = {indexAt(first), indexAt(first + 1), indexAt(first + 2)};
        const bool inside = std::all_of(std::begin(corners), std::end(corners),
                                        [&](std::uint32_t i) { return i < shape.vertices; });
        for (int k = 0; k < 3; ++k)
            out[first + k] = static_cast<std::uint16_t>(inside ? corners[k] : 0);
    }
}

} // namespace KelUtility
