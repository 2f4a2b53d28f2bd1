// The merge every 500 ms tick of the editor pays: a record of 65,535 vertices compared
// with an identical one.

#include "viewport/scene_records.h"

#include <benchmark/benchmark.h>

using namespace KelUtility;

namespace {

SceneMesh LargestRecord() {
    SceneMesh record;
    record.Visible = true;
    record.FaceCount = 1000;
    for (int i = 0; i < 65535; ++i) {
        record.Vertices.push_back(MeshVertex{i * 0.001, -i * 0.002, 1.0 / (i + 1),
                                             static_cast<std::uint32_t>(i * 2654435761u), 0.25f,
                                             0.75f});
        record.Indices.push_back(static_cast<std::uint16_t>(i));
    }
    return record;
}

void MergeIdenticalRecord(benchmark::State& state) {
    SceneMesh shown = LargestRecord();
    const SceneMesh latest = shown;
    for (auto _ : state)
        benchmark::DoNotOptimize(MergeSceneMesh(shown, latest));
}

} // namespace

BENCHMARK(MergeIdenticalRecord)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly();
