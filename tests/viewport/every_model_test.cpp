// Every model we can find through every step a user can take with it: the models of
// assimp-testmodels the import accepts, the ones Blender writes in the blender_axes test, and
// a few made here that crowd many faces at one point (cones, a star, a fan) or spread them
// out (a grid). Each is imported, shaded, edged, picked, cleaned, flipped, transformed,
// reordered, simplified and exported in every format and read back; after each step every
// index must lie inside its vertex list and the counts must be what the step says.

#include "document/mesh_cleanup.h"
#include "document/mesh_gpu_order.h"
#include "document/mesh_simplifier.h"
#include "document/mesh_transform.h"
#include "document/model_import.h"
#include "tests/support/look_at.h"
#include "tests/support/temporary_folder.h"
#include "viewport/mesh_edges.h"
#include "viewport/mesh_geometry.h"
#include "viewport/mesh_picking.h"
#include "viewport/mesh_shading.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace KelUtility;
using namespace MyApp;

namespace {

const char* const kCorpus = "/usr/share/assimp/models";

bool IsModel(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    return extension == ".obj" || extension == ".ply" || extension == ".stl" ||
           extension == ".gltf" || extension == ".glb";
}

// Writes an OBJ of the given positions and triangles (corners from 1).
void WriteObj(const std::string& path, const std::vector<Point3>& points,
              const std::vector<std::array<int, 3>>& faces) {
    std::ofstream out(path);
    for (const Point3& p : points)
        out << "v " << p.x << ' ' << p.y << ' ' << p.z << '\n';
    for (const auto& face : faces)
        out << "f " << face[0] << ' ' << face[1] << ' ' << face[2] << '\n';
}

// A cone of `sides` sides with its base: the tip and the base's centre each meet every side.
void WriteCone(const std::string& path, int sides) {
    std::vector<Point3> points = {{0, 3, 0}, {0, 0, 0}};
    std::vector<std::array<int, 3>> faces;
    for (int k = 0; k < sides; ++k) {
        const double turn = 2 * 3.14159265358979323846 * k / sides;
        points.push_back(
            {static_cast<float>(std::cos(turn)), 0, static_cast<float>(std::sin(turn))});
        const int a = 3 + k, b = 3 + (k + 1) % sides;
        faces.push_back({1, a, b});
        faces.push_back({2, b, a});
    }
    WriteObj(path, points, faces);
}

// A star of 48 points whose spikes rise and fall, and a flat fan of 40 blades, both about one
// centre; a grid of 60 x 60 squares of waves.
void WriteStar(const std::string& path) {
    std::vector<Point3> points = {{0, 0, 0}};
    std::vector<std::array<int, 3>> faces;
    for (int k = 0; k < 96; ++k) {
        const double turn = 2 * 3.14159265358979323846 * k / 96;
        const float reach = k % 2 ? 0.4f : 2.f;
        points.push_back({static_cast<float>(reach * std::cos(turn)), k % 4 == 0 ? 1.f : -0.5f,
                          static_cast<float>(reach * std::sin(turn))});
        faces.push_back({1, 2 + k, 2 + (k + 1) % 96});
    }
    WriteObj(path, points, faces);
}

void WriteFan(const std::string& path) {
    std::vector<Point3> points = {{0, 0, 0}};
    std::vector<std::array<int, 3>> faces;
    for (int k = 0; k <= 40; ++k) {
        const double turn = 3.14159265358979323846 * k / 40;
        points.push_back(
            {static_cast<float>(std::cos(turn)), static_cast<float>(std::sin(turn)), 0});
        if (k > 0)
            faces.push_back({1, 1 + k, 2 + k});
    }
    WriteObj(path, points, faces);
}

void WriteGrid(const std::string& path) {
    constexpr int kSide = 60;
    std::vector<Point3> points;
    std::vector<std::array<int, 3>> faces;
    for (int row = 0; row <= kSide; ++row) {
        for (int column = 0; column <= kSide; ++column)
            points.push_back({static_cast<float>(column),
                              static_cast<float>(std::sin(row * column * 0.1)),
                              static_cast<float>(row)});
    }
    for (int row = 0; row < kSide; ++row) {
        for (int column = 0; column < kSide; ++column) {
            const int at = row * (kSide + 1) + column + 1;
            faces.push_back({at, at + kSide + 1, at + 1});
            faces.push_back({at + 1, at + kSide + 1, at + kSide + 2});
        }
    }
    WriteObj(path, points, faces);
}

// Every index inside the vertex list, and the face count within the indices.
void ExpectWhole(const MeshDocument& document, const std::string& step) {
    for (std::uint16_t index : document.Indices)
        ASSERT_LT(index, document.Vertices.size()) << step;
    EXPECT_LE(static_cast<std::size_t>(document.FaceCount) * 3, document.Indices.size()) << step;
}

void ExpectWhole(const std::vector<std::uint32_t>& indices, std::size_t vertices,
                 std::size_t corners, const std::string& step) {
    ASSERT_EQ(indices.size(), corners) << step;
    for (std::uint32_t index : indices)
        ASSERT_LT(index, vertices) << step;
}

// The shaded and edged geometry the preview builds, each normal a unit one.
void ExpectLooks(const MeshDocument& document) {
    const SceneMesh record = ToSceneMesh(document);
    const std::optional<MeshShape> shape = ShapeOf(record);
    ASSERT_TRUE(shape);
    std::vector<DeviceVertex> vertices(shape->vertices);
    std::vector<std::uint16_t> indices(shape->IndexCount());
    WriteVertices(record, vertices.data());
    WriteIndices(record, *shape, indices.data());
    const ShadedGeometry shaded =
        ShadeTriangles(vertices.data(), vertices.size(), indices.data(), indices.size());
    ExpectWhole(shaded.indices, shaded.vertices.size(), indices.size(), "shading");
    for (const ShadedVertex& v : shaded.vertices)
        ASSERT_NEAR(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz, 1, 1e-4) << "shading";
    const EdgedGeometry edged = EdgedTriangles(shaded);
    ExpectWhole(edged.indices, edged.vertices.size(), indices.size(), "edges");
}

// A vertex and a triangle picked at the middle of a 640 x 480 view that frames the model, and
// at the place of its first vertex.
void ExpectPicks(const MeshDocument& document) {
    double low[3] = {1e300, 1e300, 1e300}, high[3] = {-1e300, -1e300, -1e300};
    for (const MeshVertex& v : document.Vertices) {
        const double at[3] = {v.X, v.Y, v.Z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], at[axis]);
            high[axis] = std::max(high[axis], at[axis]);
        }
    }
    const auto reach =
        static_cast<float>(std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2], 1e-3}));
    Matrix4 centred = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int axis = 0; axis < 3; ++axis)
        centred[12 + axis] = static_cast<float>(-(low[axis] + high[axis]) / 2);
    const Matrix4 transform = Multiply(
        centred, LookAt({reach, reach, -2 * reach}, 0.785f, 640.f / 480, reach / 100, reach * 10));
    const SceneMesh record = ToSceneMesh(document);
    const ScreenPoint first = ProjectVertices({document.Vertices[0]}, transform, 640, 480)[0];
    for (const auto& [x, y] : {std::pair<float, float>{320, 240}, {first.x, first.y}}) {
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        if (const auto vertex = NearestSeenVertex(record, transform, 640, 480, x, y, 8)) {
            EXPECT_LT(*vertex, document.Vertices.size());
        }
        const auto ray = PixelRay(transform, 640, 480, x, y);
        const auto triangle = ray ? PickTriangle(record, *ray) : std::nullopt;
        if (triangle) {
            EXPECT_LT(*triangle, static_cast<std::size_t>(document.FaceCount));
        }
    }
}

void ExpectTools(const MeshDocument& imported) {
    std::string message;
    const auto faces = static_cast<std::size_t>(imported.FaceCount);

    MeshDocument cleaned = imported;
    CleanupReport cleanup;
    ASSERT_TRUE(CleanMesh(cleaned, cleanup, message)) << message;
    ExpectWhole(cleaned, "Pulisci");
    EXPECT_EQ(cleaned.Vertices.size() + cleanup.verticesRemoved, imported.Vertices.size());
    EXPECT_EQ(cleaned.FaceCount + cleanup.trianglesRemoved, faces);

    MeshDocument flipped = imported;
    ASSERT_TRUE(FlipFaces(flipped, message)) << message;
    ExpectWhole(flipped, "Inverti facce");
    EXPECT_EQ(flipped.FaceCount, imported.FaceCount);
    ASSERT_TRUE(FlipFaces(flipped, message)) << message;
    EXPECT_EQ(flipped.Indices, imported.Indices) << "flipped twice, as it was";

    MeshDocument turned = imported;
    MeshTransform transform;
    transform.turn = QuarterTurn::XPlus;
    transform.largestSide = 2;
    transform.centre = true;
    ASSERT_TRUE(TransformMesh(turned, transform, message)) << message;
    ExpectWhole(turned, "Trasforma");
    EXPECT_EQ(turned.Indices, imported.Indices);
    EXPECT_NEAR(LargestSide(turned.Vertices), 2, 1e-6);

    MeshDocument ordered = imported;
    GpuOrderReport order;
    ASSERT_TRUE(OptimizeForGpu(ordered, order, message)) << message;
    ExpectWhole(ordered, "Ottimizza per la GPU");
    EXPECT_EQ(ordered.FaceCount, imported.FaceCount);
    EXPECT_EQ(ordered.Vertices.size(), imported.Vertices.size());

    MeshDocument halved = imported;
    SimplifyReport simplify;
    ASSERT_TRUE(SimplifyMesh(halved, faces / 2, simplify, message)) << message;
    ExpectWhole(halved, "Semplifica");
    EXPECT_EQ(static_cast<std::size_t>(halved.FaceCount), simplify.trianglesAfter);
    EXPECT_LE(simplify.trianglesAfter, faces);
}

// Each export, and its import back with the triangles it wrote.
void ExpectExports(const MeshDocument& document, const TemporaryFolder& folder) {
    for (const char* extension : {".obj", ".ply", ".stl", ".glb", ".gltf"}) {
        const std::string path = folder.File(std::string("export") + extension);
        std::string message;
        ASSERT_TRUE(ExportModel(document, path, message)) << extension << ": " << message;
        MeshDocument back;
        ASSERT_TRUE(ImportModel(path, back, message)) << extension << ": " << message;
        ExpectWhole(back, extension);
        EXPECT_EQ(back.FaceCount, document.FaceCount) << extension;
    }
}

std::vector<std::string> Models(const TemporaryFolder& made, const char* blenderFolder) {
    std::vector<std::string> models;
    for (const int sides : {64, 200})
        WriteCone(models.emplace_back(made.File("cone" + std::to_string(sides) + ".obj")), sides);
    WriteStar(models.emplace_back(made.File("star.obj")));
    WriteFan(models.emplace_back(made.File("fan.obj")));
    WriteGrid(models.emplace_back(made.File("grid.obj")));
    for (const char* folder : {kCorpus, blenderFolder}) {
        if (folder == nullptr || !std::filesystem::exists(folder))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file() && IsModel(entry.path()))
                models.push_back(entry.path().string());
        }
    }
    return models;
}

} // namespace

// The Blender models' folder comes as the test's argument: blender_axes writes it first.
const char* g_blenderFolder = nullptr;

TEST(EveryModel, GoesThroughEveryLookToolAndFormatWithItsIndicesInside) {
    const TemporaryFolder made;
    int imported = 0;
    for (const std::string& model : Models(made, g_blenderFolder)) {
        SCOPED_TRACE(model);
        MeshDocument document;
        std::string message;
        if (!ImportModel(model, document, message))
            continue;
        ++imported;
        ExpectWhole(document, "import");
        ExpectLooks(document);
        ExpectPicks(document);
        ExpectTools(document);
        // Brought to fit half its triangles, as an import past the limits is.
        MeshDocument fitted;
        const auto half = static_cast<std::size_t>(document.FaceCount) / 2;
        if (half > 0 &&
            ImportModel(model, fitted, message, half, [](const std::string&) { return true; })) {
            ExpectWhole(fitted, "Semplifica to fit");
            EXPECT_LE(static_cast<std::size_t>(fitted.FaceCount), half);
        }
        const TemporaryFolder exports;
        ExpectExports(document, exports);
        if (HasFatalFailure())
            return;
    }
    EXPECT_GE(imported, 60);
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        g_blenderFolder = argv[1];
    return RUN_ALL_TESTS();
}
