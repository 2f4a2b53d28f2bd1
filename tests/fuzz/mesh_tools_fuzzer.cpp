// Feeds a document made from arbitrary bytes to every mesh tool: vertices at positions
// taken from a short list (equal ones, -0, values past the float range), indices that may
// name vertices past the list, and any face count. Each tool either refuses with a message
// and leaves the document as it was, or keeps every index of a whole document inside its
// list and draws the triangles it says.

#include "document/mesh_cleanup.h"
#include "document/mesh_gpu_order.h"
#include "document/mesh_simplifier.h"
#include "document/mesh_transform.h"
#include "document/mesh_triangles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

using namespace MyApp;

namespace {

const double kPlaces[16] = {0,     -0.0,   1,    -1,     2,      0.5, -2,     3,
                            1e-30, -1e-30, 1e30, 3.5e38, -1e300, 7,   1e-320, 1.0000001};

// Names the failed check before stopping, so that a crash file tells what went wrong.
void Check(bool condition, const char* tool, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s: %s\n", tool, what);
        std::abort();
    }
}

bool Whole(const MeshDocument& document) {
    for (std::uint16_t index : document.Indices) {
        if (index >= document.Vertices.size())
            return false;
    }
    return true;
}

// Runs one tool on a copy; `drawn` says how many triangles it must draw after.
void Try(const char* name, const MeshDocument& document,
         const std::function<bool(MeshDocument&, std::string&)>& tool,
         const std::function<bool(std::size_t before, std::size_t after)>& drawn) {
    MeshDocument changed = document;
    std::string message;
    if (!tool(changed, message)) {
        Check(!message.empty(), name, "a refusal says why");
        Check(changed.Vertices.size() == document.Vertices.size() &&
                  changed.Indices == document.Indices && changed.FaceCount == document.FaceCount,
              name, "a refusal leaves the document as it was");
        return;
    }
    Check(changed.FaceCount >= 0, name, "a face count of no triangles or more");
    if (Whole(document))
        Check(Whole(changed), name, "every index inside the list");
    Check(drawn(DrawnTriangleCount(document), DrawnTriangleCount(changed)), name,
          "the triangles it draws");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const std::size_t count = data[0] % 64;
    if (size < 3 + 4 * count)
        return 0;
    MeshDocument document;
    document.FaceCount = data[1];
    for (std::size_t v = 0; v < count; ++v) {
        const std::uint8_t* at = data + 3 + 4 * v;
        document.Vertices.push_back({kPlaces[at[0] % 16], kPlaces[at[1] % 16], kPlaces[at[2] % 16],
                                     at[3], 0, static_cast<float>(at[3] % 3)});
    }
    for (std::size_t i = 3 + 4 * count; i < size; ++i)
        document.Indices.push_back(static_cast<std::uint16_t>(data[i] % (count + 2)));

    const auto same = [](std::size_t before, std::size_t after) { return after == before; };
    const auto fewer = [](std::size_t before, std::size_t after) { return after <= before; };
    Try(
        "Pulisci", document,
        [](MeshDocument& d, std::string& m) {
            CleanupReport r;
            return CleanMesh(d, r, m);
        },
        fewer);
    Try(
        "Inverti facce", document, [](MeshDocument& d, std::string& m) { return FlipFaces(d, m); },
        same);
    Try(
        "Ottimizza per la GPU", document,
        [](MeshDocument& d, std::string& m) {
            GpuOrderReport r;
            return OptimizeForGpu(d, r, m);
        },
        same);
    const std::size_t target = data[2];
    Try(
        "Semplifica", document,
        [&](MeshDocument& d, std::string& m) {
            SimplifyReport r;
            return SimplifyMesh(d, target, r, m);
        },
        fewer);
    MeshTransform transform;
    transform.turn = static_cast<QuarterTurn>(data[2] % 7);
    transform.factor = data[2] % 2 ? 1e-3 : 2.5;
    transform.largestSide = data[2] % 3 == 0 ? 10 : 0;
    transform.centre = data[2] % 5 == 0;
    Try(
        "Trasforma", document,
        [&](MeshDocument& d, std::string& m) { return TransformMesh(d, transform, m); }, same);
    return 0;
}
