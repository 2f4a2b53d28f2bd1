#include "document/mesh_cleanup.h"

#include "document/mesh_triangles.h"
#include "document/reported_number.h"

#include <algorithm>

namespace MyApp {
namespace {

// The corners from the lowest, turned, never mirrored: the same triangle in any rotation.
std::uint64_t RotationKey(const std::uint32_t* corners) {
    const std::size_t lowest = std::min_element(corners, corners + 3) - corners;
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 3; ++i)
        key = key << 21 | corners[(lowest + i) % 3];
    return key;
}

// The triangles met so far, by their rotation keys: an open-addressed table kept at most
// half full, sized once for every triangle of the mesh.
class TriangleSet {
public:
    explicit TriangleSet(std::size_t triangles) {
        std::size_t slots = 16;
        while (slots < 2 * triangles)
            slots *= 2;
        m_keys.assign(slots, kEmpty);
    }
    // False when the key was there already.
    bool Insert(std::uint64_t key) {
        const std::size_t mask = m_keys.size() - 1;
        std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 20) & mask;
        while (m_keys[slot] != kEmpty) {
            if (m_keys[slot] == key)
                return false;
            slot = (slot + 1) & mask;
        }
        m_keys[slot] = key;
        return true;
    }

private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
    std::vector<std::uint64_t> m_keys;
};

// Keeps the triangles that have three different corners and were not met before, in order.
std::size_t KeepDistinct(std::vector<std::uint32_t>& corners, TriangleSet& met) {
    std::size_t kept = 0;
    for (std::size_t first = 0; first + 3 <= corners.size(); first += 3) {
        const std::uint32_t* triangle = corners.data() + first;
        const bool degenerate = triangle[0] == triangle[1] || triangle[1] == triangle[2] ||
                                triangle[0] == triangle[2];
        if (degenerate || !met.Insert(RotationKey(triangle)))
            continue;
        std::copy(triangle, triangle + 3, corners.begin() + static_cast<std::ptrdiff_t>(kept));
        kept += 3;
    }
    const std::size_t removed = (corners.size() / 3 * 3 - kept) / 3;
    // An unfinished last triangle is not a triangle: its corners stay.
    corners.erase(corners.begin() + static_cast<std::ptrdiff_t>(kept),
                  corners.end() - static_cast<std::ptrdiff_t>(corners.size() % 3));
    return removed;
}

} // namespace

bool CleanMesh(MeshDocument& document, CleanupReport& report, std::string& message) {
    MeshTriangles triangles;
    if (!SplitTriangles(document, triangles, message))
        return false;
    std::vector<MeshVertex> vertices = document.Vertices;
    const std::vector<std::uint32_t> first = FirstEqualVertices(vertices);
    for (auto* part : {&triangles.drawn, &triangles.rest})
        for (std::uint32_t& index : *part)
            if (index < first.size())
                index = first[index];
    report.trianglesRemoved = triangles.broken.size() / 3;
    triangles.broken.clear();
    TriangleSet met(triangles.drawn.size() / 3 + triangles.rest.size() / 3);
    report.trianglesRemoved += KeepDistinct(triangles.drawn, met);
    report.trianglesRemoved += KeepDistinct(triangles.rest, met);
    std::vector<bool> unused = UnusedVertices(vertices.size(), triangles);
    report.verticesRemoved = static_cast<std::size_t>(std::count(unused.begin(), unused.end(), true));
    // Nothing to clean leaves even a list without indices as it was.
    if (report.verticesRemoved == 0 && report.trianglesRemoved == 0)
        return true;
    DropVertices(unused, vertices, triangles);
    document.Vertices = std::move(vertices);
    JoinTriangles(triangles, document);
    return true;
}

std::string Described(const CleanupReport& report) {
    if (report.verticesRemoved == 0 && report.trianglesRemoved == 0)
        return "Nulla da pulire.";
    return "Vertici rimossi: " + ReportedCount(report.verticesRemoved) +
           "\nTriangoli rimossi: " + ReportedCount(report.trianglesRemoved);
}

} // namespace MyApp
