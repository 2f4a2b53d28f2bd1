// What a change of the largest mesh costs the shaded preview: the corner normals of 65,535
// vertices in a wavy grid of 130,048 triangles (smooth, so every vertex keeps one normal).

#include "viewport/mesh_shading.h"

#include <benchmark/benchmark.h>
#include <cmath>

using namespace KelUtility;

namespace {

constexpr int kColumns = 255;
constexpr int kRows = 257;

struct Grid {
    std::vector<DeviceVertex> vertices;
    std::vector<std::uint16_t> indices;
};

Grid LargestGrid() {
    Grid grid;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const float x = (column - kColumns / 2) * 0.1f;
            const float y = (row - kRows / 2) * 0.1f;
            grid.vertices.push_back({x, y, 0.5f * std::sin(x) * std::cos(y), 0xFFFFFFFF, 0, 0});
        }
    }
    for (int row = 0; row + 1 < kRows; ++row) {
        for (int column = 0; column + 1 < kColumns; ++column) {
            const auto at = [](int r, int c) { return static_cast<std::uint16_t>(r * kColumns + c); };
            grid.indices.insert(grid.indices.end(),
                                {at(row, column), at(row + 1, column), at(row, column + 1),
                                 at(row, column + 1), at(row + 1, column), at(row + 1, column + 1)});
        }
    }
    return grid;
}

void CornerNormals(benchmark::State& state) {
    const Grid grid = LargestGrid();
    for (auto _ : state) {
        const ShadedGeometry shaded = ShadeTriangles(grid.vertices.data(), grid.vertices.size(),
                                                     grid.indices.data(), grid.indices.size());
        benchmark::DoNotOptimize(shaded.vertices.data());
    }
}

} // namespace

BENCHMARK(CornerNormals)->Unit(benchmark::kMillisecond);
