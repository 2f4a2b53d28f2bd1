// Saving and loading the largest project the editor can index: 65,535 vertices and
// 65,535 indices, about 460,000 lines. Each is timed beside its baseline in the same run:
// the save beside a plain write of the same bytes with the same flush to the device, the
// load beside tinyobjloader reading the same mesh as an OBJ file (positions with colours,
// texture coordinates, faces). The *Lines runs time the line-list interface.

#include "document/file_replace.h"
#include "document/mesh_document.h"
#include "document/number_text.h"
#include "document/text_file.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <tiny_obj_loader.h>
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

std::string ScratchPath(const char* extension) {
    return "/tmp/kel-bench-" + std::to_string(getpid()) + extension;
}

void AppendReal(std::string& text, double value) {
    text += ' ';
    text += FormatReal(value);
}

double ColourChannel(std::uint32_t colour, int shift) {
    return static_cast<double>((colour >> shift) & 0xFF) / 255.0;
}

// The document's mesh as OBJ text: "v x y z r g b", "vt u v", and one "f" per triangle of
// the index list, each corner naming its position and texture coordinate.
std::string ObjText(const MeshDocument& document) {
    std::string text;
    for (const MeshVertex& vertex : document.Vertices) {
        text += 'v';
        for (double value : {vertex.X, vertex.Y, vertex.Z, ColourChannel(vertex.Color, 0),
                             ColourChannel(vertex.Color, 8), ColourChannel(vertex.Color, 16)})
            AppendReal(text, value);
        text += "\nvt";
        AppendReal(text, vertex.Tu);
        AppendReal(text, vertex.Tv);
        text += '\n';
    }
    const std::vector<std::uint16_t>& indices = document.Indices;
    for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
        text += 'f';
        for (std::size_t k = i; k < i + 3; ++k) {
            const std::string corner = std::to_string(indices[k] + 1);
            text += ' ' + corner + '/' + corner;
        }
        text += '\n';
    }
    return text;
}

bool WriteRaw(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && FlushToDevice(file);
    return std::fclose(file) == 0 && written;
}

void SaveProject(benchmark::State& state) {
    const MeshDocument document = LargestProject();
    const std::string path = ScratchPath(".kv3");
    for (auto _ : state) {
        TextFile file(path);
        file.WriteText([&](const TextSink& take) { return document.WriteText(take); });
        if (file.Failed)
            state.SkipWithError("save failed");
    }
    std::remove(path.c_str());
}

// The baseline of the save: the same bytes, written and flushed to the device.
void WriteSameBytes(benchmark::State& state) {
    const std::string bytes = LargestProject().ToText();
    const std::string path = ScratchPath(".raw");
    for (auto _ : state) {
        if (!WriteRaw(path, bytes))
            state.SkipWithError("write failed");
    }
    std::remove(path.c_str());
}

void SaveProjectLines(benchmark::State& state) {
    const MeshDocument document = LargestProject();
    const std::string path = ScratchPath(".kv3");
    for (auto _ : state) {
        TextFile file(path);
        file.WriteLines(document.ToLines());
        if (file.Failed)
            state.SkipWithError("save failed");
    }
    std::remove(path.c_str());
}

void LoadProject(benchmark::State& state) {
    const std::string path = ScratchPath(".kv3");
    TextFile(path).WriteText(LargestProject().ToText());
    for (auto _ : state) {
        TextFile file(path);
        MeshDocument document;
        if (!document.FromText(file.ReadText()) || file.Failed)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(document.Vertices.data());
    }
    std::remove(path.c_str());
}

// The baseline of the load: another program's reader of a mesh file of the same content.
void LoadSameMeshAsObj(benchmark::State& state) {
    const std::string path = ScratchPath(".obj");
    if (!WriteRaw(path, ObjText(LargestProject())))
        state.SkipWithError("OBJ not written");
    for (auto _ : state) {
        tinyobj::attrib_t attrib;
        std::vector<tinyobj::shape_t> shapes;
        std::vector<tinyobj::material_t> materials;
        std::string warning;
        std::string error;
        if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warning, &error, path.c_str()) ||
            attrib.vertices.size() != 3u * kLargestIndexable)
            state.SkipWithError("OBJ load failed");
        benchmark::DoNotOptimize(attrib.vertices.data());
    }
    std::remove(path.c_str());
}

void LoadProjectLines(benchmark::State& state) {
    const std::string path = ScratchPath(".kv3");
    TextFile(path).WriteText(LargestProject().ToText());
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
BENCHMARK(WriteSameBytes)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly();
BENCHMARK(SaveProjectLines)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly();
BENCHMARK(LoadProject)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly();
BENCHMARK(LoadSameMeshAsObj)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly();
BENCHMARK(LoadProjectLines)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly();
