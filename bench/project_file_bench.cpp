// Saving and loading the largest project the editor can index: 65,535 vertices and
// 65,535 indices, about 460,000 lines.

#include "app/mesh_document.h"
#include "app/text_file.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <unistd.h>

using namespace MyApp;

namespace {

constexpr int kLargestIndexable = 65535;

MeshDocument LargestProject() {
    MeshDocument document;
    document.ResetToSample();
    document.Vertices.clear();
    for (int i = 0; i < kLargestIndexable; ++i) {
        const double t = i * 0.001;
        document.Vertices.push_back(MeshVertex{t, -t * 0.5, 1.0 / (i + 1),
                                               static_cast<std::uint32_t>(i * 2654435761u),
                                               static_cast<float>(i % 97) / 97.0f, 0.5f});
        document.Indices.push_back(static_cast<std::uint16_t>(i));
    }
    document.FaceCount = kLargestIndexable / 3;
    return document;
}

std::string ScratchPath() {
    return "/tmp/kel-bench-" + std::to_string(getpid()) + ".kv3";
}

void SaveProject(benchmark::State& state) {
    const MeshDocument document = LargestProject();
    const std::string path = ScratchPath();
    for (auto _ : state) {
        TextFile file(path);
        file.WriteLines(document.ToLines());
        if (file.Failed)
            state.SkipWithError("save failed");
    }
    std::remove(path.c_str());
}

void LoadProject(benchmark::State& state) {
    const std::string path = ScratchPath();
    TextFile(path).WriteLines(LargestProject().ToLines());
    for (auto _ : state) {
        TextFile file(path);
        MeshDocument document;
        document.FromLines(file.ReadLines());
        benchmark::DoNotOptimize(document.Vertices.data());
    }
    std::remove(path.c_str());
}

} // namespace

BENCHMARK(SaveProject)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly();
BENCHMARK(LoadProject)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly();
