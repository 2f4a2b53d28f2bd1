// A click on the largest mesh the preview draws: 65,535 vertices in a wavy grid of 130,048
// triangles, all drawn, seen aslant through a 45-degree perspective on a 640 x 480 panel.

#include "viewport/mesh_picking.h"

#include <benchmark/benchmark.h>
#include <cmath>

using namespace KelUtility;

namespace {

constexpr int kColumns = 255;
constexpr int kRows = 257;
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kPointerX = 320;
constexpr float kPointerY = 240;
constexpr float kRadius = 8;

SceneMesh LargestGrid() {
    SceneMesh mesh;
    mesh.Visible = true;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const double x = (column - kColumns / 2) * 0.1;
            const double y = (row - kRows / 2) * 0.1;
            mesh.Vertices.push_back(MeshVertex{x, y, 0.5 * std::sin(x) * std::cos(y), 0, 0, 0});
        }
    }
    for (int row = 0; row + 1 < kRows; ++row) {
        for (int column = 0; column + 1 < kColumns; ++column) {
            const auto at = [](int r, int c) {
                return static_cast<std::uint16_t>(r * kColumns + c);
            };
            const std::uint16_t corners[6] = {at(row, column),     at(row + 1, column),
                                              at(row, column + 1), at(row, column + 1),
                                              at(row + 1, column), at(row + 1, column + 1)};
            mesh.Indices.insert(mesh.Indices.end(), corners, corners + 6);
        }
    }
    mesh.FaceCount = static_cast<std::int32_t>(mesh.Indices.size() / 3);
    return mesh;
}

// D3DXMatrixLookAtLH from (10, 15, -40) to the origin, up along +Y, times
// D3DXMatrixPerspectiveFovLH(45 degrees, 4:3, 1, 500).
Matrix4 Transform() {
    const float eye[3] = {10, 15, -40};
    const float length = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
    const float z[3] = {-eye[0] / length, -eye[1] / length, -eye[2] / length};
    const float side = std::hypot(z[0], z[2]);
    const float x[3] = {z[2] / side, 0, -z[0] / side};
    const float y[3] = {z[1] * x[2] - z[2] * x[1], z[2] * x[0] - z[0] * x[2],
                        z[0] * x[1] - z[1] * x[0]};
    const auto dot = [&](const float* a) { return a[0] * eye[0] + a[1] * eye[1] + a[2] * eye[2]; };
    const float ys = 1 / std::tan(0.3926991f), q = 500.0f / 499.0f;
    // clang-format off
    const Matrix4 view = {x[0], y[0], z[0], 0,
                          x[1], y[1], z[1], 0,
                          x[2], y[2], z[2], 0,
                          -dot(x), -dot(y), -dot(z), 1};
    const Matrix4 projection = {ys * 0.75f, 0, 0, 0,
                                0, ys, 0, 0,
                                0, 0, q, 1,
                                0, 0, -q, 0};
    // clang-format on
    return Multiply(view, projection);
}

// What a click or a hover pays for the vertex: every vertex onto the panel, then the nearest.
void NearestVertexPick(benchmark::State& state) {
    const SceneMesh mesh = LargestGrid();
    const std::vector<bool> drawn = DrawnVertices(mesh);
    const Matrix4 transform = Transform();
    if (!NearestVertex(ProjectVertices(mesh.Vertices, transform, kWidth, kHeight), drawn, kPointerX,
                       kPointerY, kRadius))
        state.SkipWithError("the pointer is near no vertex");
    for (auto _ : state) {
        const std::vector<ScreenPoint> points =
            ProjectVertices(mesh.Vertices, transform, kWidth, kHeight);
        benchmark::DoNotOptimize(NearestVertex(points, drawn, kPointerX, kPointerY, kRadius));
    }
}

// What a click or a hover pays now that the vertex must be in sight: the nearest vertex,
// then its line against every triangle; on the wavy grid seen from above it is in sight.
void SeenVertexPick(benchmark::State& state) {
    const SceneMesh mesh = LargestGrid();
    const Matrix4 transform = Transform();
    if (!NearestSeenVertex(mesh, transform, kWidth, kHeight, kPointerX, kPointerY, kRadius))
        state.SkipWithError("the pointer is near no vertex in sight");
    for (auto _ : state)
        benchmark::DoNotOptimize(
            NearestSeenVertex(mesh, transform, kWidth, kHeight, kPointerX, kPointerY, kRadius));
}

// What a click pays when no vertex is near: the ray against every triangle.
void TrianglePick(benchmark::State& state) {
    const SceneMesh mesh = LargestGrid();
    const Matrix4 transform = Transform();
    if (!PickTriangle(mesh, *PixelRay(transform, kWidth, kHeight, kPointerX, kPointerY)))
        state.SkipWithError("the pointer is over no triangle");
    for (auto _ : state) {
        const std::optional<Ray> ray = PixelRay(transform, kWidth, kHeight, kPointerX, kPointerY);
        benchmark::DoNotOptimize(PickTriangle(mesh, *ray));
    }
}

// Done once for each mesh the document shows, not on every move.
void DrawnVertexFlags(benchmark::State& state) {
    const SceneMesh mesh = LargestGrid();
    for (auto _ : state)
        benchmark::DoNotOptimize(DrawnVertices(mesh));
}

} // namespace

BENCHMARK(NearestVertexPick)->Unit(benchmark::kMicrosecond);
BENCHMARK(SeenVertexPick)->Unit(benchmark::kMicrosecond);
BENCHMARK(TrianglePick)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawnVertexFlags)->Unit(benchmark::kMicrosecond);
