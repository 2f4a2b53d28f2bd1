// The history of the largest project the editor can index: 65,535 vertices and a closed
// mesh's 131,070 triangles. What 100 steps keep in memory (a session of single edits, and
// one of vertex deletions, which renumber the indices and so stop at the history's budget),
// the time of recording them, and of an undo or a redo among them.

#include "document/document_history.h"

#include <benchmark/benchmark.h>

using namespace MyApp;

namespace {

constexpr int kLargestIndexable = 65535;
constexpr int kSteps = 100;

MeshDocument LargestProject() {
    MeshDocument document;
    document.ResetToSample();
    document.Vertices.clear();
    document.Indices.clear();
    for (int i = 0; i < kLargestIndexable; ++i)
        document.Vertices.push_back(MeshVertex{i * 0.001, -i * 0.5, 1.0 / (i + 1),
                                               static_cast<std::uint32_t>(i * 2654435761u), 0.25f,
                                               0.5f});
    for (int t = 0; t < 2 * kLargestIndexable; ++t) {
        for (int corner = 0; corner < 3; ++corner)
            document.Indices.push_back(
                static_cast<std::uint16_t>((t + corner * 7) % kLargestIndexable));
    }
    document.FaceCount = 2 * kLargestIndexable;
    return document;
}

// One edit of a mixed session: a vertex changed, one added, an index changed, a value of
// the preview's settings changed, in turn.
void MixedEdit(MeshDocument& document, int step) {
    const auto place = static_cast<std::size_t>(step) * 613;
    switch (step % 4) {
    case 0:
        document.Vertices[place].X += 1;
        break;
    case 1:
        document.Vertices.push_back(document.Vertices[place]);
        break;
    case 2:
        document.Indices[place * 3] = 0;
        break;
    default:
        document.EyeZ -= 1;
        break;
    }
}

void DeleteEdit(MeshDocument& document, int step) {
    document.RemoveVertex(static_cast<std::size_t>(step) * 600);
}

// The history after 100 steps of `edit`, and its growth in megabytes as counters.
template <void (*Edit)(MeshDocument&, int)> void HundredSteps(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        MeshDocument document = LargestProject();
        DocumentHistory history;
        history.Reset(document);
        const double start = static_cast<double>(history.MemoryBytes());
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step) {
            Edit(document, step);
            history.Record(document, DocumentHistory::kSingleStep, {});
        }
        state.PauseTiming();
        state.counters["MB_100_steps"] = (history.MemoryBytes() - start) / 1e6;
        state.counters["MB_with_start"] = history.MemoryBytes() / 1e6;
        state.ResumeTiming();
    }
}
BENCHMARK(HundredSteps<MixedEdit>)->Name("Record100MixedSteps")->Unit(benchmark::kMillisecond);
BENCHMARK(HundredSteps<DeleteEdit>)
    ->Name("Record100VertexDeletions")
    ->Unit(benchmark::kMillisecond);

// Every one of 100 steps of `edit` undone, then redone: the time of one undo or redo.
template <void (*Edit)(MeshDocument&, int)> void UndoRedo(benchmark::State& state) {
    MeshDocument document = LargestProject();
    DocumentHistory history;
    history.Reset(document);
    for (int step = 0; step < kSteps; ++step) {
        Edit(document, step);
        history.Record(document, DocumentHistory::kSingleStep, {});
    }
    for (auto _ : state) {
        while (history.CanUndo())
            benchmark::DoNotOptimize(history.Undo(document));
        while (history.CanRedo())
            benchmark::DoNotOptimize(history.Redo(document));
    }
    state.counters["steps_kept"] = static_cast<double>(history.Steps());
    state.counters["per_undo_or_redo"] = benchmark::Counter(
        2.0 * static_cast<double>(history.Steps()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(UndoRedo<MixedEdit>)->Name("UndoRedoMixed")->Unit(benchmark::kMillisecond);
BENCHMARK(UndoRedo<DeleteEdit>)->Name("UndoRedoVertexDeletions")->Unit(benchmark::kMillisecond);

} // namespace
