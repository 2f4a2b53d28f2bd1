// Feeds a mesh made from arbitrary bytes to the preview's shading and edge geometry: a few
// vertices at positions taken from a short list (so that many faces meet at one place, flat,
// creased or folded back, and sums overflow), and triangles of them. Every corner must come
// out once, naming a vertex that exists, with a normal of unit length.

#include "viewport/mesh_edges.h"
#include "viewport/mesh_shading.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace KelUtility;

namespace {

const float kPlaces[16] = {0,      -0.f,    1,     -1,      2,        0.5f, -2,     3,
                           1e-30f, -1e-30f, 1e30f, FLT_MAX, -FLT_MAX, 7,    1e-45f, 1.0000001f};

// Names the failed check before stopping, so that a crash file tells what went wrong.
void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "failed: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::size_t count = 3 + data[0] % 62;
    if (size < 1 + 3 * count)
        return 0;
    std::vector<DeviceVertex> vertices;
    for (std::size_t v = 0; v < count; ++v) {
        const std::uint8_t* at = data + 1 + 3 * v;
        vertices.push_back({kPlaces[at[0] % 16], kPlaces[at[1] % 16], kPlaces[at[2] % 16],
                            0xFF000000u | at[0], static_cast<float>(at[1]),
                            static_cast<float>(at[2])});
    }
    std::vector<std::uint16_t> indices;
    for (std::size_t i = 1 + 3 * count; i < size; ++i)
        indices.push_back(static_cast<std::uint16_t>(data[i] % count));

    const ShadedGeometry shaded =
        ShadeTriangles(vertices.data(), vertices.size(), indices.data(), indices.size());
    Check(shaded.indices.size() == indices.size() - indices.size() % 3,
          "every whole triangle shaded");
    for (std::size_t c = 0; c < shaded.indices.size(); ++c) {
        Check(shaded.indices[c] < shaded.vertices.size(), "a shaded corner inside its list");
        const ShadedVertex& made = shaded.vertices[shaded.indices[c]];
        const DeviceVertex& source = vertices[indices[c]];
        Check(made.color == source.color && made.tu == source.tu && made.tv == source.tv,
              "a corner keeps its colour and texture place");
    }
    for (const ShadedVertex& v : shaded.vertices)
        Check(std::fabs(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz - 1) < 1e-4f, "a unit normal");

    const EdgedGeometry edged = EdgedTriangles(shaded);
    Check(edged.indices.size() == shaded.indices.size(), "every triangle edged");
    for (std::uint32_t index : edged.indices)
        Check(index < edged.vertices.size(), "an edged corner inside its list");
    return 0;
}
