// The mesh tools on tiny meshes made to need them, their undo, and the import of a model
// past the document's limits.

#include "document/document_history.h"
#include "document/mesh_cleanup.h"
#include "document/mesh_gpu_order.h"
#include "document/mesh_simplifier.h"
#include "document/mesh_transform.h"
#include "document/model_import.h"
#include "tests/support/temporary_folder.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <random>
#include <set>

using namespace MyApp;

namespace {

MeshVertex At(double x, double y = 0, double z = 0, std::uint32_t color = 0xFFFFFF) {
    return {x, y, z, color, 0, 0};
}

MeshDocument Mesh(std::vector<MeshVertex> vertices, std::vector<std::uint16_t> indices,
                  int faceCount) {
    MeshDocument document;
    document.Vertices = std::move(vertices);
    document.Indices = std::move(indices);
    document.FaceCount = faceCount;
    return document;
}

// An n × n grid of squares in the XY plane, two triangles each.
MeshDocument Grid(int n) {
    MeshDocument document;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x)
            document.Vertices.push_back(At(x, y, 0.01 * ((x * 7 + y * 3) % 5)));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const auto v = static_cast<std::uint16_t>(y * (n + 1) + x);
            const auto up = static_cast<std::uint16_t>(v + n + 1);
            document.Indices.insert(document.Indices.end(),
                                    {v, up, static_cast<std::uint16_t>(v + 1),
                                     static_cast<std::uint16_t>(v + 1), up,
                                     static_cast<std::uint16_t>(up + 1)});
        }
    document.FaceCount = 2 * n * n;
    return document;
}

// The drawn triangles as the corners' vertices, each from its lowest and in its turn:
// what the preview draws, whatever the numbering.
std::multiset<std::vector<double>> DrawnShape(const MeshDocument& document) {
    std::multiset<std::vector<double>> shape;
    for (int face = 0; face < document.FaceCount; ++face) {
        std::vector<std::vector<double>> corners;
        for (int corner = 0; corner < 3; ++corner) {
            const MeshVertex& v = document.Vertices[document.Indices[face * 3 + corner]];
            corners.push_back({v.X, v.Y, v.Z, static_cast<double>(v.Color), v.Tu, v.Tv});
        }
        std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end()), corners.end());
        std::vector<double> flat;
        for (const auto& corner : corners)
            flat.insert(flat.end(), corner.begin(), corner.end());
        shape.insert(flat);
    }
    return shape;
}

TEST(MeshToolsTest, CleaningRemovesWhatAnExporterLeftBehind) {
    struct Case {
        const char* name;
        MeshDocument before;
        MeshDocument after;
        std::string report;
    };
    const MeshVertex a = At(0), b = At(1), c = At(0, 1), d = At(1, 1);
    const std::vector<Case> cases = {
        {"nothing", Mesh({a, b, c}, {0, 1, 2}, 1), Mesh({a, b, c}, {0, 1, 2}, 1), "Nulla da pulire."},
        {"equal vertices and one unused",
         Mesh({a, b, c, At(5), b, d}, {0, 1, 2, 4, 5, 2}, 2),
         Mesh({a, b, c, d}, {0, 1, 2, 1, 3, 2}, 2), "Vertici rimossi: 2\nTriangoli rimossi: 0"},
        {"two equal corners, a repeat in rotation; the other face stays",
         Mesh({a, b, c}, {0, 1, 2, 0, 0, 1, 1, 2, 0, 0, 2, 1}, 4),
         Mesh({a, b, c}, {0, 1, 2, 0, 2, 1}, 2), "Vertici rimossi: 0\nTriangoli rimossi: 2"},
        {"0 and -0 are not equal; a broken triangle goes",
         Mesh({a, At(-0.0), b, c}, {0, 2, 3, 1, 2, 3, 0, 2, 9}, 3),
         Mesh({a, At(-0.0), b, c}, {0, 2, 3, 1, 2, 3}, 2), "Vertici rimossi: 0\nTriangoli rimossi: 1"},
        {"undrawn repeat goes, FaceCount keeps the drawn; an unfinished corner stays",
         Mesh({a, b, c, d}, {0, 1, 2, 1, 2, 0, 1, 3, 2, 3}, 1),
         Mesh({a, b, c, d}, {0, 1, 2, 1, 3, 2, 3}, 1), "Vertici rimossi: 0\nTriangoli rimossi: 1"},
        {"a list without indices stays so with nothing to clean",
         Mesh({a, b, c}, {}, 1), Mesh({a, b, c}, {}, 1), "Nulla da pulire."},
        {"a list without indices gets them",
         Mesh({a, b, c, a, b, c}, {}, 2), Mesh({a, b, c}, {0, 1, 2}, 1),
         "Vertici rimossi: 3\nTriangoli rimossi: 1"},
    };
    for (const Case& test : cases) {
        MeshDocument document = test.before;
        CleanupReport report;
        std::string message;
        ASSERT_TRUE(CleanMesh(document, report, message)) << test.name;
        EXPECT_EQ(document.Vertices, test.after.Vertices) << test.name;
        EXPECT_EQ(document.Indices, test.after.Indices) << test.name;
        EXPECT_EQ(document.FaceCount, test.after.FaceCount) << test.name;
        EXPECT_EQ(Described(report), test.report) << test.name;
    }
}

TEST(MeshToolsTest, FlippingAndTransformingWriteIntoTheMesh) {
    MeshDocument flipped = Mesh({At(0), At(1), At(0, 1)}, {0, 1, 2, 2, 1, 0, 1, 2}, 1);
    std::string message;
    ASSERT_TRUE(FlipFaces(flipped, message));
    EXPECT_EQ(flipped.Indices, (std::vector<std::uint16_t>{0, 2, 1, 2, 0, 1, 1, 2}));

    struct Case {
        MeshTransform transform;
        std::vector<MeshVertex> after; // empty: refused
    };
    const std::vector<MeshVertex> before = {At(1, 2, 3), At(-1, 0, 1)};
    const std::vector<Case> cases = {
        {{QuarterTurn::XPlus}, {At(1, -3, 2), At(-1, -1, 0)}},
        {{QuarterTurn::XMinus}, {At(1, 3, -2), At(-1, 1, 0)}},
        {{QuarterTurn::YPlus}, {At(3, 2, -1), At(1, 0, 1)}},
        {{QuarterTurn::YMinus}, {At(-3, 2, 1), At(-1, 0, -1)}},
        {{QuarterTurn::ZPlus}, {At(-2, 1, 3), At(0, -1, 1)}},
        {{QuarterTurn::ZMinus}, {At(2, -1, 3), At(0, 1, 1)}},
        {{QuarterTurn::None, 2}, {At(2, 4, 6), At(-2, 0, 2)}},
        {{QuarterTurn::None, 1, 1}, {At(0.5, 1, 1.5), At(-0.5, 0, 0.5)}},
        {{QuarterTurn::None, 1, 0, true, 10, 0, 0}, {At(11, 1, 1), At(9, -1, -1)}},
        {{QuarterTurn::None, 0}, {}},
        {{QuarterTurn::None, 1e300}, {}},
        {{QuarterTurn::None, -2}, {At(-2, -4, -6), At(2, 0, -2)}},
        // Vertices that would become one point as floats: too small, or too far for the detail.
        {{QuarterTurn::None, 1e-40}, {}},
        {{QuarterTurn::None, 1, 0, false, 1e9, 1e9, 1e9}, {}},
    };
    for (const Case& test : cases) {
        MeshDocument document = Mesh(before, {}, 0);
        const bool done = TransformMesh(document, test.transform, message);
        EXPECT_EQ(done, !test.after.empty());
        EXPECT_EQ(document.Vertices, done ? test.after : before);
        // No -0 comes out of a turn or a centring.
        for (const MeshVertex& v : document.Vertices)
            EXPECT_FALSE(std::signbit(v.X) && v.X == 0) << message;
    }
    MeshDocument point = Mesh({At(1, 1, 1)}, {}, 0);
    EXPECT_FALSE(TransformMesh(point, {QuarterTurn::None, 1, 2}, message));

    // A mirror turns the faces as "Inverti facce" does, so that the outside stays the front;
    // two mirrors give the mesh back.
    MeshDocument mirrored = Mesh({At(0), At(1), At(0, 1)}, {0, 1, 2, 2, 1, 0, 1, 2}, 1);
    const MeshDocument original = mirrored;
    ASSERT_TRUE(TransformMesh(mirrored, {QuarterTurn::None, -1}, message));
    EXPECT_EQ(mirrored.Indices, flipped.Indices);
    EXPECT_EQ(mirrored.Vertices, (std::vector<MeshVertex>{At(0), At(-1), At(0, -1)}));
    ASSERT_TRUE(TransformMesh(mirrored, {QuarterTurn::None, -1}, message));
    EXPECT_EQ(mirrored.ToText(), original.ToText());
    MeshDocument tiny = Grid(3);
    EXPECT_FALSE(TransformMesh(tiny, {QuarterTurn::None, 1e-40}, message));
    EXPECT_EQ(message, "La trasformazione farebbe coincidere vertici ora distinti (16 posizioni "
                       "diventerebbero 1): la mesh sarebbe troppo piccola, o troppo lontana "
                       "dall'origine, per i numeri a 32 bit.");
    // Two corners a hair apart meeting in a large model that moves is rounding, not a collapse.
    MeshDocument large = Grid(20);
    large.Vertices.push_back(At(20 + 3e-6, 20, large.Vertices.back().Z));
    EXPECT_TRUE(TransformMesh(large, {QuarterTurn::None, 1, 0, false, 1000, 0, 0}, message)) << message;
}

TEST(MeshToolsTest, GpuOrderLowersTheCacheMissesAndDrawsTheSame) {
    MeshDocument document = Grid(40);
    // The triangles shuffled, as a careless exporter leaves them, and one undrawn kept aside.
    std::vector<int> order(static_cast<std::size_t>(document.FaceCount));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    std::vector<std::uint16_t> shuffled;
    for (int face : order)
        shuffled.insert(shuffled.end(), document.Indices.begin() + face * 3,
                        document.Indices.begin() + face * 3 + 3);
    // A broken triangle among the drawn, an undrawn one kept aside and an unfinished corner.
    shuffled.insert(shuffled.begin() + 30, {1, 2, 9999});
    document.Indices = shuffled;
    document.Indices.insert(document.Indices.end(), {5, 6, 7, 8});
    document.FaceCount += 1;
    document.Vertices.push_back(At(99)); // used by nothing
    std::multiset<std::vector<double>> shape;
    const auto drawnShape = [&] {
        MeshDocument drawn = document;
        drawn.Indices.erase(drawn.Indices.begin() + 30, drawn.Indices.begin() + 33);
        drawn.FaceCount -= 1;
        return DrawnShape(drawn);
    };
    shape = drawnShape();
    GpuOrderReport report;
    std::string message;
    ASSERT_TRUE(OptimizeForGpu(document, report, message));
    EXPECT_GT(report.missRatioBefore, 1.5f);
    EXPECT_LT(report.missRatioAfter, 0.8f);
    EXPECT_FLOAT_EQ(CacheMissRatio(document), report.missRatioAfter);
    EXPECT_EQ(document.Indices[32], 9999) << "the broken triangle keeps its place";
    EXPECT_EQ(drawnShape(), shape);
    EXPECT_EQ(document.Vertices.back(), At(99));
    const MeshVertex& undrawn = document.Vertices[document.Indices[document.Indices.size() - 4]];
    EXPECT_EQ(undrawn, At(5, 0, 0.01 * (35 % 5)));
}

TEST(MeshToolsTest, SimplifyingReachesTheTargetAndKeepsTheColourBorder) {
    MeshDocument document = Grid(30);
    // The right half is red: its vertices on the border are the same places in another colour.
    const std::size_t gridVertices = document.Vertices.size();
    std::map<std::uint16_t, std::uint16_t> redOf;
    for (std::size_t first = 0; first < document.Indices.size(); first += 3) {
        const bool right = std::all_of(document.Indices.begin() + first, document.Indices.begin() + first + 3,
                                       [&](std::uint16_t i) { return document.Vertices[i].X >= 15; });
        for (std::size_t corner = first; right && corner < first + 3; ++corner) {
            const std::uint16_t white = document.Indices[corner];
            if (!redOf.count(white)) {
                redOf[white] = static_cast<std::uint16_t>(document.Vertices.size());
                MeshVertex red = document.Vertices[white];
                red.Color = 0x0000FF;
                document.Vertices.push_back(red);
            }
            document.Indices[corner] = redOf[white];
        }
    }
    ASSERT_GT(document.Vertices.size(), gridVertices);
    SimplifyReport report;
    std::string message;
    ASSERT_TRUE(SimplifyMesh(document, 200, report, message));
    EXPECT_EQ(report.trianglesBefore, 1800u);
    EXPECT_LE(report.trianglesAfter, 200u);
    EXPECT_GT(report.trianglesAfter, 100u);
    EXPECT_GT(report.relativeError, 0.0f);
    EXPECT_EQ(static_cast<std::size_t>(document.FaceCount), report.trianglesAfter);
    EXPECT_EQ(document.Vertices.size() + report.verticesRemoved, gridVertices + redOf.size());
    // Each colour still covers its own half: the border between them was kept where it was.
    std::map<std::uint32_t, double> area;
    for (std::size_t first = 0; first < document.Indices.size(); first += 3) {
        const MeshVertex& p = document.Vertices[document.Indices[first]];
        const MeshVertex& q = document.Vertices[document.Indices[first + 1]];
        const MeshVertex& r = document.Vertices[document.Indices[first + 2]];
        EXPECT_TRUE(q.Color == p.Color && r.Color == p.Color);
        area[p.Color] += ((q.X - p.X) * (r.Y - p.Y) - (q.Y - p.Y) * (r.X - p.X)) / 2;
    }
    EXPECT_NEAR(std::fabs(area[0xFFFFFF]), 450, 1e-9);
    EXPECT_NEAR(std::fabs(area[0x0000FF]), 450, 1e-9);

    // A mesh of loose triangles, every vertex a copy, simplifies as its welded self would.
    MeshDocument loose = Grid(10);
    for (std::uint16_t index : loose.Indices)
        loose.Vertices.push_back(loose.Vertices[index]);
    loose.Vertices.erase(loose.Vertices.begin(), loose.Vertices.begin() + 121);
    loose.Indices.clear();
    ASSERT_TRUE(SimplifyMesh(loose, 20, report, message));
    EXPECT_LE(report.trianglesAfter, 20u);
    EXPECT_LE(loose.Vertices.size(), 30u);

    // Asked for the triangles it has or more, a mesh of copies keeps every copy and number.
    for (const std::size_t target : {std::size_t{200}, std::size_t{201}, std::size_t{100000}}) {
        MeshDocument copies = Grid(10);
        for (std::uint16_t index : copies.Indices)
            copies.Vertices.push_back(copies.Vertices[index]);
        const std::string before = copies.ToText();
        ASSERT_TRUE(SimplifyMesh(copies, target, report, message));
        EXPECT_EQ(copies.ToText(), before) << target;
        EXPECT_TRUE(report.nothingAsked);
        EXPECT_EQ(report.trianglesAfter, 200u);
        EXPECT_EQ(Described(report), "La mesh ha gi\xC3\xA0 200 triangoli: non \xC3\xA8 cambiato nulla.");
    }
    // Down to no triangle: no vertex is left to be read three by three as a triangle,
    // whether the mesh had its own indices or not, or a vertex no triangle used.
    const MeshDocument emptied[] = {
        Mesh({At(0), At(1), At(0, 1), At(0, 0, 1), At(5, 5, 5)}, {0, 2, 1, 0, 1, 3, 1, 2, 3, 0, 3, 2}, 4),
        Mesh({At(0), At(1), At(0, 1)}, {}, 1),
    };
    for (MeshDocument document : emptied) {
        const std::size_t vertices = document.Vertices.size();
        ASSERT_TRUE(SimplifyMesh(document, 0, report, message));
        EXPECT_EQ(report.trianglesAfter, 0u);
        EXPECT_TRUE(document.Indices.empty());
        EXPECT_TRUE(document.Vertices.empty()) << vertices << " vertices";
        EXPECT_EQ(report.verticesRemoved, vertices);
    }
}

TEST(MeshToolsTest, EveryToolIsOneStepThatUndoesExactly) {
    const std::vector<std::function<bool(MeshDocument&, std::string&)>> tools = {
        [](MeshDocument& d, std::string& m) { CleanupReport r; return CleanMesh(d, r, m); },
        [](MeshDocument& d, std::string& m) { return FlipFaces(d, m); },
        [](MeshDocument& d, std::string& m) {
            return TransformMesh(d, {QuarterTurn::XPlus, 2, 0, true}, m);
        },
        [](MeshDocument& d, std::string& m) { GpuOrderReport r; return OptimizeForGpu(d, r, m); },
        [](MeshDocument& d, std::string& m) { SimplifyReport r; return SimplifyMesh(d, 50, r, m); },
    };
    for (std::size_t tool = 0; tool < tools.size(); ++tool) {
        MeshDocument document = Grid(12);
        document.Vertices.push_back(document.Vertices[3]);
        document.Indices.insert(document.Indices.end(), {0, 0, 1});
        const MeshDocument original = document;
        DocumentHistory history;
        history.Reset(document);
        std::string message;
        ASSERT_TRUE(tools[tool](document, message)) << tool;
        const MeshDocument changed = document;
        ASSERT_TRUE(history.Record(document, DocumentHistory::kSingleStep, {})) << tool;
        history.Undo(document);
        EXPECT_EQ(document.ToText(), original.ToText()) << tool;
        history.Redo(document);
        EXPECT_EQ(document.ToText(), changed.ToText()) << tool;
    }
}

// A grid of 300 × 300 squares needs 90,601 vertices.
TEST(MeshToolsTest, AModelPastTheLimitComesInSimplifiedWhenTheUserSaysSo) {
    TemporaryFolder folder;
    const std::string path = folder.File("grid.obj");
    std::string obj;
    constexpr int n = 300;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x)
            obj += "v " + std::to_string(x) + " " + std::to_string(y) + " " +
                   std::to_string((x * x + y * y) % 7) + "\n";
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const int v = y * (n + 1) + x + 1;
            obj += "f " + std::to_string(v) + " " + std::to_string(v + 1) + " " +
                   std::to_string(v + n + 2) + " " + std::to_string(v + n + 1) + "\n";
        }
    TemporaryFolder::WriteBytes(path, obj);
    for (const bool yes : {false, true}) {
        MeshDocument document;
        std::string message;
        std::string asked;
        const bool imported = ImportModel(path, document, message, kMaxModelTriangles,
                                          [&](const std::string& question) {
                                              asked = question;
                                              return yes;
                                          });
        EXPECT_NE(asked.find("richiede 90601 vertici, oltre il limite di 65535"), std::string::npos);
        EXPECT_EQ(imported, yes) << message;
        if (!yes) {
            EXPECT_EQ(message, "Il modello richiede 90601 vertici, oltre il limite di 65535.");
            EXPECT_TRUE(document.Vertices.empty());
            continue;
        }
        EXPECT_LE(document.Vertices.size(), kMaxModelVertices);
        EXPECT_GT(document.Vertices.size(), kMaxModelVertices * 95 / 100);
        EXPECT_EQ(static_cast<std::size_t>(document.FaceCount), document.Indices.size() / 3);
        EXPECT_NE(message.find("semplificato da 180000 a"), std::string::npos) << message;
    }
}

} // namespace
