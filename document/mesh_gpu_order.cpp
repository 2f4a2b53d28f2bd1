#include "document/mesh_gpu_order.h"

#include "document/mesh_triangles.h"
#include "document/reported_number.h"

#include <meshoptimizer.h>

#include <algorithm>

namespace MyApp {
namespace {

constexpr unsigned kCacheSize = 16;

float MissRatio(const std::vector<std::uint32_t>& drawn, std::size_t vertexCount) {
    if (drawn.empty())
        return 0;
    return meshopt_analyzeVertexCache(drawn.data(), drawn.size(), vertexCount, kCacheSize, 0, 0).acmr;
}

// The vertices in the order the drawn and then the other triangles first name them; the
// ones no triangle names after them, in their own order.
std::vector<unsigned int> FetchOrder(const MeshTriangles& triangles, std::size_t vertexCount) {
    // Whole triangles only, every corner in the list: the vertices of the others take their
    // places after the used ones.
    std::vector<std::uint32_t> others;
    for (const std::vector<std::uint32_t>* part : {&triangles.rest, &triangles.broken})
        for (std::size_t first = 0; first + kCornersPerFace <= part->size(); first += kCornersPerFace) {
            const auto corners = part->begin() + static_cast<std::ptrdiff_t>(first);
            if (std::all_of(corners, corners + kCornersPerFace,
                            [&](std::uint32_t index) { return index < vertexCount; }))
                others.insert(others.end(), corners, corners + kCornersPerFace);
        }
    std::vector<std::uint32_t> all;
    if (!others.empty()) {
        all = triangles.drawn;
        all.insert(all.end(), others.begin(), others.end());
    }
    const std::vector<std::uint32_t>& used = others.empty() ? triangles.drawn : all;
    std::vector<unsigned int> order(vertexCount, ~0u);
    std::size_t next = used.empty() ? 0
                                    : meshopt_optimizeVertexFetchRemap(order.data(), used.data(),
                                                                       used.size(), vertexCount);
    for (unsigned int& place : order)
        if (place == ~0u)
            place = static_cast<unsigned int>(next++);
    return order;
}

} // namespace

bool OptimizeForGpu(MeshDocument& document, GpuOrderReport& report, std::string& message) {
    MeshTriangles triangles;
    if (!SplitTriangles(document, triangles, message))
        return false;
    const std::size_t vertexCount = document.Vertices.size();
    report.missRatioBefore = MissRatio(triangles.drawn, vertexCount);
    // Direct3D 9's hardware keeps transformed vertices in a first-in first-out cache of 16
    // or more: the order made for that cache is the one the analyser's figure rewards, and
    // it is made in a third of the time of the general one.
    if (!triangles.drawn.empty())
        meshopt_optimizeVertexCacheFifo(triangles.drawn.data(), triangles.drawn.data(),
                                        triangles.drawn.size(), vertexCount, kCacheSize);
    const std::vector<unsigned int> order = FetchOrder(triangles, vertexCount);
    std::vector<MeshVertex> vertices(vertexCount);
    for (std::size_t v = 0; v < vertexCount; ++v)
        vertices[order[v]] = document.Vertices[v];
    for (auto* part : {&triangles.drawn, &triangles.broken, &triangles.rest})
        for (std::uint32_t& index : *part)
            if (index < vertexCount)
                index = order[index];
    report.missRatioAfter = MissRatio(triangles.drawn, vertexCount);
    document.Vertices = std::move(vertices);
    JoinTriangles(triangles, document);
    return true;
}

float CacheMissRatio(const MeshDocument& document) {
    MeshTriangles triangles;
    std::string message;
    if (!SplitTriangles(document, triangles, message))
        return 0;
    return MissRatio(triangles.drawn, document.Vertices.size());
}

std::string Described(const GpuOrderReport& report) {
    return "Vertici trasformati per triangolo (cache di 16 vertici):\nprima " +
           ReportedDecimal(report.missRatioBefore, 2) + ", dopo " + ReportedDecimal(report.missRatioAfter, 2) + ".";
}

} // namespace MyApp
