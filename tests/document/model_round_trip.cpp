// Imports a model and exports it again, as the editor's Import and Export do: the Blender
// test feeds it files Blender wrote and reads back what it writes. It prints the document's
// bounds and how the faces nearest the eye's side wind, so that the test can check the
// model stands in the document the way the modeller showed it.

#include "document/model_import.h"

#include <algorithm>
#include <cstdio>

using namespace MyApp;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: model_round_trip model exported\n");
        return 2;
    }
    MeshDocument document;
    std::string message;
    if (!ImportModel(argv[1], document, message) || !ExportModel(document, argv[2], message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return 1;
    }
    double low[3] = {1e300, 1e300, 1e300};
    double high[3] = {-1e300, -1e300, -1e300};
    for (const MeshVertex& v : document.Vertices) {
        const double at[3] = {v.X, v.Y, v.Z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], at[axis]);
            high[axis] = std::max(high[axis], at[axis]);
        }
    }
    // Facing the eye on -Z, Direct3D's front faces are clockwise: the z of (b-a) x (c-a)
    // is negative.
    int clockwise = 0;
    int counterclockwise = 0;
    for (std::size_t i = 0; i + 2 < document.Indices.size(); i += 3) {
        const MeshVertex& a = document.Vertices[document.Indices[i]];
        const MeshVertex& b = document.Vertices[document.Indices[i + 1]];
        const MeshVertex& c = document.Vertices[document.Indices[i + 2]];
        if (std::max({a.Z, b.Z, c.Z}) > low[2] + 1e-6)
            continue;
        const double z = (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
        ++(z < 0 ? clockwise : counterclockwise);
    }
    std::printf("%g %g %g %g %g %g %d %d\n", low[0], high[0], low[1], high[1], low[2], high[2],
                clockwise, counterclockwise);
    return 0;
}
