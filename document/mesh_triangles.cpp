#include "document/mesh_triangles.h"

#include "document/number_text.h"

#include <meshoptimizer.h>

#include <algorithm>

namespace MyApp {
namespace {

// One more than the highest vertex a 16-bit index names.
constexpr std::size_t kIndexableVertices = 65536;

template <typename Triangles, typename Visit>
void ForEachIndex(Triangles& triangles, Visit visit) {
    for (auto* part : {&triangles.drawn, &triangles.broken, &triangles.rest})
        for (auto& index : *part)
            visit(index);
}

} // namespace

bool SplitTriangles(const MeshDocument& document, MeshTriangles& triangles, std::string& message) {
    std::vector<std::uint32_t> indices(document.Indices.begin(), document.Indices.end());
    if (document.Indices.empty()) {
        if (document.Vertices.size() > kIndexableVertices) {
            message = "La mesh non ha indici e ha " + std::to_string(document.Vertices.size()) +
                      " vertici: un indice ne raggiunge al massimo " +
                      std::to_string(kIndexableVertices) + ".";
            return false;
        }
        indices.resize(document.Vertices.size());
        for (std::uint32_t i = 0; i < indices.size(); ++i)
            indices[i] = i;
    }
    const std::size_t whole = indices.size() / kCornersPerFace;
    const std::size_t drawn = std::min(whole, static_cast<std::size_t>(std::max(document.FaceCount, 0)));
    triangles = {};
    triangles.placesBefore = drawn;
    const std::size_t vertexCount = document.Vertices.size();
    const auto drawnEnd = indices.begin() + static_cast<std::ptrdiff_t>(drawn * kCornersPerFace);
    // Usually every drawn corner is in the list, and the triangles are taken whole.
    if (std::all_of(indices.begin(), drawnEnd, [&](std::uint32_t index) { return index < vertexCount; })) {
        triangles.drawn.assign(indices.begin(), drawnEnd);
    } else {
        for (auto corners = indices.begin(); corners != drawnEnd; corners += kCornersPerFace) {
            const bool inside = std::all_of(corners, corners + kCornersPerFace,
                                            [&](std::uint32_t index) { return index < vertexCount; });
            std::vector<std::uint32_t>& part = inside ? triangles.drawn : triangles.broken;
            if (!inside)
                triangles.brokenPlaces.push_back(
                    static_cast<std::size_t>(corners - indices.begin()) / kCornersPerFace);
            part.insert(part.end(), corners, corners + kCornersPerFace);
        }
    }
    triangles.rest.assign(indices.begin() + static_cast<std::ptrdiff_t>(drawn * kCornersPerFace),
                          indices.end());
    return true;
}

std::size_t DrawnTriangleCount(const MeshDocument& document) {
    MeshTriangles triangles;
    std::string message;
    return SplitTriangles(document, triangles, message) ? triangles.drawn.size() / kCornersPerFace : 0;
}

void JoinTriangles(const MeshTriangles& triangles, MeshDocument& document) {
    const std::size_t wasDrawn = triangles.placesBefore;
    const std::size_t nowDrawn = (triangles.drawn.size() + triangles.broken.size()) / kCornersPerFace;
    document.Indices.resize(triangles.drawn.size() + triangles.broken.size() + triangles.rest.size());
    auto at = document.Indices.begin();
    const auto put = [&at](auto from, auto to) {
        at = std::transform(from, to, at, [](std::uint32_t index) { return static_cast<std::uint16_t>(index); });
    };
    if (nowDrawn == wasDrawn && !triangles.broken.empty()) {
        auto drawn = triangles.drawn.begin();
        auto broken = triangles.broken.begin();
        std::size_t next = 0;
        for (std::size_t place = 0; place < nowDrawn; ++place) {
            const bool brokenHere = next < triangles.brokenPlaces.size() && triangles.brokenPlaces[next] == place;
            auto& from = brokenHere ? broken : drawn;
            put(from, from + kCornersPerFace);
            from += kCornersPerFace;
            next += brokenHere ? 1 : 0;
        }
    } else {
        put(triangles.drawn.begin(), triangles.drawn.end());
        put(triangles.broken.begin(), triangles.broken.end());
    }
    put(triangles.rest.begin(), triangles.rest.end());
    // A FaceCount past the triangles (a hand-made file) keeps its excess: it changes by the
    // drawn places that went or came.
    document.FaceCount += static_cast<std::int32_t>(static_cast<std::int64_t>(nowDrawn) -
                                                    static_cast<std::int64_t>(wasDrawn));
}

void DropVertices(const std::vector<bool>& drop, std::vector<MeshVertex>& vertices,
                  MeshTriangles& triangles) {
    std::vector<std::uint32_t> renumbered(vertices.size());
    std::size_t kept = 0;
    for (std::size_t v = 0; v < vertices.size(); ++v) {
        renumbered[v] = static_cast<std::uint32_t>(kept);
        if (!drop[v])
            vertices[kept++] = vertices[v];
    }
    const std::size_t oldCount = vertices.size();
    vertices.resize(kept);
    // An index past the old list stays past the new one, as far as it was: the triangle it
    // breaks stays broken, the same way.
    ForEachIndex(triangles, [&](std::uint32_t& index) {
        index = index < oldCount ? renumbered[index]
                                 : static_cast<std::uint32_t>(index - (oldCount - kept));
    });
}

std::vector<bool> UnusedVertices(std::size_t vertexCount, const MeshTriangles& triangles) {
    std::vector<bool> unused(vertexCount, true);
    ForEachIndex(triangles, [&](std::uint32_t index) {
        if (index < vertexCount)
            unused[index] = false;
    });
    return unused;
}

std::vector<float> FloatPositions(const std::vector<MeshVertex>& vertices) {
    std::vector<float> positions;
    positions.reserve(vertices.size() * 3);
    for (const MeshVertex& vertex : vertices) {
        positions.push_back(NarrowToFloat(vertex.X));
        positions.push_back(NarrowToFloat(vertex.Y));
        positions.push_back(NarrowToFloat(vertex.Z));
    }
    return positions;
}

// A vertex as bytes with no padding, so that meshoptimizer's byte comparison sees only its
// fields.
struct PackedVertex {
    double x, y, z;
    std::uint32_t color;
    float tu, tv;
    std::uint32_t zero;
};

// The remap numbers the distinct vertices in the list's own order; the first vertex of each
// number is the one that names them all.
std::vector<std::uint32_t> FirstEqualVertices(const std::vector<MeshVertex>& vertices) {
    std::vector<PackedVertex> packed(vertices.size());
    for (std::size_t v = 0; v < vertices.size(); ++v) {
        const MeshVertex& vertex = vertices[v];
        packed[v] = {vertex.X, vertex.Y, vertex.Z, vertex.Color, vertex.Tu, vertex.Tv, 0};
    }
    std::vector<unsigned int> unique(vertices.size());
    if (!vertices.empty())
        meshopt_generateVertexRemap(unique.data(), nullptr, vertices.size(), packed.data(),
                                    vertices.size(), sizeof(PackedVertex));
    std::vector<std::uint32_t> firstOf(vertices.size(), UINT32_MAX);
    std::vector<std::uint32_t> first(vertices.size());
    for (std::uint32_t v = 0; v < vertices.size(); ++v) {
        if (firstOf[unique[v]] == UINT32_MAX)
            firstOf[unique[v]] = v;
        first[v] = firstOf[unique[v]];
    }
    return first;
}

} // namespace MyApp
