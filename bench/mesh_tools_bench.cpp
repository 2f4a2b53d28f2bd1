// The mesh tools on the largest mesh a document holds: 65,535 vertices and 130,048
// triangles (a 254 × 256 grid, its triangles shuffled as a careless exporter leaves them),
// each beside loading the same mesh from its .kv3 in the same run (the copy of the mesh a
// tool works on is not timed); and a model of 400,000
// triangles simplified until it fits the document.

#include "document/mesh_cleanup.h"
#include "document/mesh_gpu_order.h"
#include "document/mesh_simplifier.h"
#include "document/text_file.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>

using namespace MyApp;

namespace {

// A grid of (columns + 1) × (rows + 1) vertices, two triangles per square, shuffled.
void Grid(int columns, int rows, std::vector<MeshVertex>& vertices, std::vector<std::uint32_t>& indices) {
    vertices.clear();
    indices.clear();
    for (int y = 0; y <= rows; ++y)
        for (int x = 0; x <= columns; ++x)
            vertices.push_back({x * 0.01, y * 0.01, 0.001 * ((x * x + y) % 13), 0xFFFFFF,
                                static_cast<float>(x) / columns, static_cast<float>(y) / rows});
    std::vector<std::array<std::uint32_t, 3>> triangles;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) {
            const auto v = static_cast<std::uint32_t>(y * (columns + 1) + x);
            const auto up = v + static_cast<std::uint32_t>(columns + 1);
            triangles.push_back({v, up, v + 1});
            triangles.push_back({v + 1, up, up + 1});
        }
    std::shuffle(triangles.begin(), triangles.end(), std::mt19937(1));
    for (const auto& triangle : triangles)
        indices.insert(indices.end(), triangle.begin(), triangle.end());
}

MeshDocument LargestMesh() {
    std::vector<std::uint32_t> indices;
    MeshDocument document;
    Grid(254, 256, document.Vertices, indices);
    document.Indices.assign(indices.begin(), indices.end());
    document.FaceCount = static_cast<std::int32_t>(indices.size() / 3);
    return document;
}

void LoadSameMesh(benchmark::State& state) {
    const std::string path = "/tmp/kel-tools-bench-" + std::to_string(getpid()) + ".kv3";
    TextFile(path).WriteText(LargestMesh().ToText());
    for (auto _ : state) {
        TextFile file(path);
        MeshDocument document;
        if (!document.FromText(file.ReadText()) || file.Failed)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(document.Vertices.data());
    }
    std::remove(path.c_str());
}

// The tool on a fresh copy of the largest mesh each time.
template <typename Tool>
void TimeTool(benchmark::State& state, Tool tool) {
    const MeshDocument mesh = LargestMesh();
    for (auto _ : state) {
        state.PauseTiming();
        MeshDocument document = mesh;
        state.ResumeTiming();
        std::string message;
        if (!tool(document, message))
            state.SkipWithError(message.c_str());
        benchmark::DoNotOptimize(document.Indices.data());
    }
}

void Clean(benchmark::State& state) {
    TimeTool(state, [](MeshDocument& document, std::string& message) {
        CleanupReport report;
        return CleanMesh(document, report, message);
    });
}

void OptimizeForTheGpu(benchmark::State& state) {
    TimeTool(state, [](MeshDocument& document, std::string& message) {
        GpuOrderReport report;
        return OptimizeForGpu(document, report, message);
    });
}

// 400,000 triangles: a 400 × 500 grid, 201,401 vertices.
void SimplifyToFitTheDocument(benchmark::State& state) {
    std::vector<MeshVertex> model;
    std::vector<std::uint32_t> triangles;
    Grid(400, 500, model, triangles);
    for (auto _ : state) {
        std::vector<MeshVertex> vertices = model;
        std::vector<std::uint32_t> indices = triangles;
        if (!SimplifyToFit(vertices, indices, kMaxModelVertices, 8 * 65535))
            state.SkipWithError("did not fit");
        state.counters["vertices"] = static_cast<double>(vertices.size());
        state.counters["triangles"] = static_cast<double>(indices.size() / 3);
    }
}

} // namespace

BENCHMARK(LoadSameMesh)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(Clean)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(OptimizeForTheGpu)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(SimplifyToFitTheDocument)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)
    ->ReportAggregatesOnly();
