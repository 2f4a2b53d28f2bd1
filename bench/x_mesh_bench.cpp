// Exporting the largest mesh the preview takes, 65,535 vertices and 1,000 faces, as a .x
// text file: the text, and the text written to disk with its flush.

#include "document/text_file.h"
#include "viewport/x_mesh_writer.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>

using namespace KelUtility;

namespace {

SceneMesh LargestRecord() {
    SceneMesh record;
    record.FaceCount = 1000;
    for (int i = 0; i < 65535; ++i) {
        const double angle = i * 0.001;
        record.Vertices.push_back(
            MeshVertex{std::cos(angle) * 2, (i % 300) * 0.01 - 1.5, std::sin(angle) * 2,
                       static_cast<std::uint32_t>(i * 2654435761u), 0.25f, 0.75f});
    }
    return record;
}

void MeshText(benchmark::State& state) {
    const SceneMesh record = LargestRecord();
    for (auto _ : state)
        benchmark::DoNotOptimize(XMeshLines(record));
}

void MeshFile(benchmark::State& state) {
    const SceneMesh record = LargestRecord();
    const std::string path = "x_mesh_bench.x";
    for (auto _ : state) {
        MyApp::TextFile file(path);
        file.WriteLines(*XMeshLines(record));
        if (file.Failed)
            state.SkipWithError("the file was not written");
    }
    std::remove(path.c_str());
}

} // namespace

BENCHMARK(MeshText)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(MeshFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
