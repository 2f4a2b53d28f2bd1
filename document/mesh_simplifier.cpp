#include "document/mesh_simplifier.h"

#include "document/mesh_triangles.h"
#include "document/reported_number.h"

#include <meshoptimizer.h>

#include <algorithm>
#include <cfloat>

namespace MyApp {
namespace {

// Each fitting step asks a little less than the count that would just fit, so that the
// next step is seldom needed; after these many the model is refused.
constexpr double kFitMargin = 0.995;
constexpr int kFitSteps = 8;

// The simplifier's triangles for the target; no error bound, so that only the target and
// the mesh's own borders stop it. The simplifier sees only the vertices the triangles use:
// an unused vertex at the place of a used one would read as a border there and hold it.
std::vector<std::uint32_t> Simplified(const std::vector<std::uint32_t>& indices,
                                      const std::vector<float>& positions,
                                      std::size_t targetTriangles, float* error) {
    std::vector<std::uint32_t> local(positions.size() / 3, UINT32_MAX);
    std::vector<std::uint32_t> vertexOf;
    std::vector<float> used;
    std::vector<std::uint32_t> compact(indices.size());
    for (std::size_t corner = 0; corner < indices.size(); ++corner) {
        const std::uint32_t index = indices[corner];
        if (local[index] == UINT32_MAX) {
            local[index] = static_cast<std::uint32_t>(vertexOf.size());
            vertexOf.push_back(index);
            used.insert(used.end(), positions.begin() + 3 * index, positions.begin() + 3 * index + 3);
        }
        compact[corner] = local[index];
    }
    std::vector<std::uint32_t> result(indices.size());
    const std::size_t target = std::min(targetTriangles * kCornersPerFace, indices.size());
    result.resize(meshopt_simplify(result.data(), compact.data(), compact.size(), used.data(),
                                   vertexOf.size(), 3 * sizeof(float), target, FLT_MAX, 0, error));
    for (std::uint32_t& index : result)
        index = vertexOf[index];
    return result;
}

std::size_t UsedVertices(const std::vector<std::uint32_t>& indices, std::size_t vertexCount) {
    std::vector<bool> used(vertexCount, false);
    std::size_t count = 0;
    for (std::uint32_t index : indices)
        if (!used[index]) {
            used[index] = true;
            ++count;
        }
    return count;
}

// Vertices that the drawn triangles used and no triangle uses now.
std::vector<bool> LeftBehind(const std::vector<std::uint32_t>& before, const MeshTriangles& now,
                             std::size_t vertexCount) {
    std::vector<bool> drop = UnusedVertices(vertexCount, now);
    std::vector<bool> usedBefore(vertexCount, false);
    for (std::uint32_t index : before)
        usedBefore[index] = true;
    for (std::size_t v = 0; v < vertexCount; ++v)
        drop[v] = drop[v] && usedBefore[v];
    return drop;
}

} // namespace

bool SimplifyMesh(MeshDocument& document, std::size_t targetTriangles, SimplifyReport& report,
                  std::string& message) {
    MeshTriangles triangles;
    if (!SplitTriangles(document, triangles, message))
        return false;
    const std::vector<std::uint32_t> before = triangles.drawn;
    report = {};
    report.trianglesBefore = before.size() / kCornersPerFace;
    report.trianglesAfter = report.trianglesBefore;
    // Nothing is asked of a mesh that has the triangles already: it keeps its vertices and
    // lists as they are, copies and their numbering included.
    report.nothingAsked = targetTriangles >= report.trianglesBefore;
    if (report.nothingAsked)
        return true;
    // Copies of one vertex would read as a border at every place they stand and hold it
    // there: the simplifier sees each vertex once, and a copy the drawn triangles no longer
    // name goes with the others they leave behind.
    const std::vector<std::uint32_t> first = FirstEqualVertices(document.Vertices);
    for (std::uint32_t& index : triangles.drawn)
        index = first[index];
    if (!before.empty())
        triangles.drawn = Simplified(triangles.drawn, FloatPositions(document.Vertices),
                                     targetTriangles, &report.relativeError);
    report.trianglesAfter = triangles.drawn.size() / kCornersPerFace;
    std::vector<MeshVertex> vertices = document.Vertices;
    const std::vector<bool> drop = LeftBehind(before, triangles, vertices.size());
    report.verticesRemoved = static_cast<std::size_t>(std::count(drop.begin(), drop.end(), true));
    DropVertices(drop, vertices, triangles);
    document.Vertices = std::move(vertices);
    JoinTriangles(triangles, document);
    // Without an index the vertices themselves would be read as triangles, three by three,
    // that never existed: when the last triangle goes, the vertices it leaves go with it.
    if (!before.empty() && document.Indices.empty()) {
        report.verticesRemoved += document.Vertices.size();
        document.Vertices.clear();
    }
    return true;
}

std::string Described(const SimplifyReport& report) {
    if (report.nothingAsked)
        return "La mesh ha gi\xC3\xA0 " + ReportedCount(report.trianglesBefore) +
               " triangoli: non \xC3\xA8 cambiato nulla.";
    return "Triangoli: prima " + ReportedCount(report.trianglesBefore) + ", dopo " +
           ReportedCount(report.trianglesAfter) + ".\nVertici rimossi: " +
           ReportedCount(report.verticesRemoved) + ".\nErrore relativo: " +
           ReportedDecimal(100.0 * report.relativeError, 2) + " %.";
}

// Each step simplifies the last result, which is cheaper than starting again, aiming at the
// triangles that would fit if the vertices per triangle stayed as they are.
bool SimplifyToFit(std::vector<MeshVertex>& vertices, std::vector<std::uint32_t>& indices,
                   std::size_t maxVertices, std::size_t maxTriangles) {
    const std::vector<float> positions = FloatPositions(vertices);
    std::vector<std::uint32_t> current = indices;
    std::size_t used = UsedVertices(current, vertices.size());
    for (int step = 0; step < kFitSteps; ++step) {
        const std::size_t triangles = current.size() / kCornersPerFace;
        if (used <= maxVertices && triangles <= maxTriangles)
            break;
        const double share = std::min(static_cast<double>(maxVertices) / static_cast<double>(used),
                                      static_cast<double>(maxTriangles) / static_cast<double>(triangles));
        const auto target = static_cast<std::size_t>(static_cast<double>(triangles) * share * kFitMargin);
        std::vector<std::uint32_t> next = Simplified(current, positions, target, nullptr);
        if (next.size() >= current.size() || next.empty())
            return false;
        current = std::move(next);
        used = UsedVertices(current, vertices.size());
    }
    if (used > maxVertices || current.size() / kCornersPerFace > maxTriangles)
        return false;
    MeshTriangles triangles;
    triangles.drawn = std::move(current);
    DropVertices(UnusedVertices(vertices.size(), triangles), vertices, triangles);
    indices = std::move(triangles.drawn);
    return true;
}

} // namespace MyApp
