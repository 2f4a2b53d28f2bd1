// The scene primitives and the free camera's collisions, read from real frames.

#include "viewport/d3d_panel.h"

#include "toolkit/form.h"

#include "tests/support/frame_pixels.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace KelUtility;
using KelTest::DrawFrame;
using KelTest::FramePixels;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// The collision handler's calls, and the answer it gives.
std::vector<std::int32_t> g_tags;
GUIElement* g_parent = nullptr;
bool g_stop = false;

bool RecordCollision(GUIElement* parent, std::int32_t tag) {
    g_parent = parent;
    g_tags.push_back(tag);
    return g_stop;
}

SceneMesh RedMesh();

// A handler that answers a collision with another scene, as a game changes level.
D3DPanel* g_panel = nullptr;
bool ChangeScene(GUIElement*, std::int32_t tag) {
    g_tags.push_back(tag);
    g_panel->SetScene({}, {}, {}, {}, {}, {}, {RedMesh()});
    g_panel->Redraw();
    return false;
}

// A triangle facing the camera across the whole view, at depth z.
SceneTriangle Wall(double z, std::int32_t tag) {
    SceneTriangle wall;
    wall.Tag = tag;
    wall.Corners[0] = {-20, -20, z};
    wall.Corners[1] = {0, 20, z};
    wall.Corners[2] = {20, -20, z};
    wall.Color = 0x00FF0000; // blue
    return wall;
}

SceneQuad Square(double z, std::int32_t tag) {
    SceneQuad square;
    square.Tag = tag;
    square.Corners[0] = {-3, -3, z};
    square.Corners[1] = {3, 3, z};
    square.Corners[2] = {-3, 3, z};
    square.Corners[3] = {3, -3, z};
    square.Color = 0x0000FF00;
    return square;
}

// A red triangle just before the camera, in front of any wall, drawn by the mesh list.
SceneMesh RedMesh() {
    SceneMesh mesh;
    mesh.Visible = true;
    mesh.FaceCount = 1;
    mesh.Vertices = {MeshVertex{-0.4, -0.3, -9, 0x0000FF, 0, 0},
                     MeshVertex{-0.2, -0.3, -9, 0x0000FF, 0, 0},
                     MeshVertex{-0.3, -0.1, -9, 0x0000FF, 0, 0}};
    return mesh;
}

int Count(const FramePixels& frame, std::uint32_t colour) {
    return frame.width * frame.height - frame.CountOtherThan(colour);
}

class D3DPanelSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<Form>(GetModuleHandleW(nullptr));
        host->SetSize(400, 320);
        host->Create();
        panel = std::make_unique<D3DPanel>(host.get());
        panel->SetPosition(0, 0);
        panel->SetSize(320, 240);
        panel->Create();
        panel->CollisionHandler = RecordCollision;
        g_tags.clear();
        g_stop = false;
    }

    void Show(std::vector<SceneTriangle> triangles, std::vector<SceneQuad> quads = {},
              std::vector<SceneXMesh> xMeshes = {}) {
        panel->SetScene(std::move(triangles), std::move(quads), {}, std::move(xMeshes), {}, {},
                        {RedMesh()});
    }

    std::unique_ptr<Form> host;
    std::unique_ptr<D3DPanel> panel;
};

} // namespace

TEST_F(D3DPanelSceneTest, ASolidTriangleAheadPushesTheCameraBackUntilItIsFree) {
    Show({Wall(-20, 0)}); // behind the camera and out of reach
    DrawFrame(*panel);
    EXPECT_EQ(panel->NearestDistance, 1000000.0f) << "nothing solid ahead";

    Show({Wall(-8, 0)}); // two units ahead
    const float expected[] = {-11, -12, -13, -13};
    for (float z : expected) {
        ASSERT_TRUE(DrawFrame(*panel).drawn);
        EXPECT_EQ(panel->Camera.position.z, z);
    }
    EXPECT_EQ(panel->NearestDistance, 5.0f) << "free, and measured ahead";
    EXPECT_TRUE(g_tags.empty()) << "a solid object is no one else's business";
}

TEST_F(D3DPanelSceneTest, ATaggedTriangleAsksTheHandlerWhichMayEndTheLists) {
    Show({Wall(-8, 5)});
    FramePixels frame = DrawFrame(*panel);
    EXPECT_EQ(g_tags, std::vector<std::int32_t>{5});
    EXPECT_EQ(g_parent, host.get());
    EXPECT_GT(Count(frame, 0xFF0000), 100) << "the handler said go on: the mesh is drawn";

    g_stop = true;
    frame = DrawFrame(*panel);
    EXPECT_TRUE(frame.drawn) << "the frame is still presented";
    EXPECT_EQ(Count(frame, 0xFF0000), 0) << "the later lists are skipped";
    EXPECT_EQ(panel->Camera.position.z, -10.0f);
}

TEST_F(D3DPanelSceneTest, AHandlerThatSetsASceneGetsItOnceTheFrameIsDone) {
    g_panel = panel.get();
    panel->CollisionHandler = ChangeScene;
    Show({Wall(-8, 5), Wall(-8.5, 6)});
    FramePixels frame = DrawFrame(*panel);
    ASSERT_TRUE(frame.drawn);
    EXPECT_EQ(g_tags, (std::vector<std::int32_t>{5, 6})) << "the old list is walked to its end";
    EXPECT_GT(Count(frame, 0x0000FF), 1000) << "the old walls";
    EXPECT_GT(Count(frame, 0xFF0000), 100) << "the frame's later lists";
    EXPECT_TRUE(panel->triangles.empty()) << "the new scene, once the frame is presented";
    ASSERT_TRUE(panel->device);

    frame = DrawFrame(*panel);
    EXPECT_EQ(Count(frame, 0x0000FF), 0);
    EXPECT_GT(Count(frame, 0xFF0000), 100);
    EXPECT_EQ(g_tags.size(), 2u);
}

TEST_F(D3DPanelSceneTest, QuadsAndXMeshesReportTagsWithoutEndingTheLists) {
    TemporaryFolder folder;
    SceneMesh board;
    board.FaceCount = 2;
    board.Vertices = {MeshVertex{-6, -6, 0, 0xFFFFFF, 0, 0}, MeshVertex{-6, 6, 0, 0xFFFFFF, 0, 0},
                      MeshVertex{6, 6, 0, 0xFFFFFF, 0, 0},   MeshVertex{-6, -6, 0, 0xFFFFFF, 0, 0},
                      MeshVertex{6, 6, 0, 0xFFFFFF, 0, 0},   MeshVertex{6, -6, 0, 0xFFFFFF, 0, 0}};
    std::int32_t error = 0;
    ASSERT_TRUE(panel->SaveMeshToX(folder.File("tavola.x"), error, board));
    SceneXMesh wall;
    wall.File = folder.File("tavola.x");
    wall.Z = -7;
    wall.Tag = 9;
    wall.Visible = true;
    g_stop = true;
    Show({}, {Square(-8, 7)}, {wall});
    const FramePixels frame = DrawFrame(*panel);
    EXPECT_EQ(g_tags, (std::vector<std::int32_t>{7, 9}));
    EXPECT_GT(Count(frame, 0x00FF00), 100) << "the quad";
    EXPECT_FALSE(panel->AbortFrame);
}

TEST_F(D3DPanelSceneTest, TextsAreFittedAndSizedFromTheirHeight) {
    SceneText label;
    label.Text = "Ab";
    label.Height = 24;
    label.FaceName = "Arial";
    label.X = 100;
    label.Y = 100;
    label.Visible = true;
    label.Color = 0xFF000000;
    SceneSprite unscaled; // no sprite sheet: passed over
    unscaled.Width = 32;
    panel->SetScene({}, {}, {unscaled}, {}, {label}, {}, {});
    panel->SetBackColor(0x00FFFFFF);
    const FramePixels frame = DrawFrame(*panel);
    int left = frame.width;
    for (int y = 90; y < 140; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (frame.At(x, y) != kWhite)
                left = std::min(left, x);
    EXPECT_GE(left, 96) << "a glyph may overhang its cell by a pixel or two";
    EXPECT_LT(left, 110) << "centred in the rectangle fitted to the text, not a wider one";

    SceneText3D text;
    text.Text = "Kel";
    text.FaceName = std::string(40, 'X'); // cut to a face name the platform takes
    text.Height = 44;
    const auto width = [&](std::int32_t height) {
        text.Height = height;
        Microsoft::WRL::ComPtr<ID3DXMesh> mesh = panel->BuildText3D(text);
        if (!mesh)
            return -1.0f;
        void* vertices = nullptr;
        D3DXVECTOR3 low, high;
        mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertices);
        D3DXComputeBoundingBox(static_cast<D3DXVECTOR3*>(vertices), mesh->GetNumVertices(),
                               mesh->GetNumBytesPerVertex(), &low, &high);
        mesh->UnlockVertexBuffer();
        return high.x - low.x;
    };
    const float full = width(44);
    ASSERT_GT(full, 0);
    EXPECT_FLOAT_EQ(width(22), full / 2);
}

// Every list at once, each kind in its own corner of the frame.
TEST_F(D3DPanelSceneTest, AFrameWithEveryListShowsEachKind) {
    TemporaryFolder folder;
    MyApp::MeshDocument document;
    document.ResetToSample();
    std::int32_t error = 0;
    ASSERT_TRUE(panel->SaveMeshToX(folder.File("piramide.x"), error, ToSceneMesh(document)));

    SceneTriangle triangle = Wall(0, 5);
    triangle.Corners[0] = {-5, 3, 0};
    triangle.Corners[1] = {-4, 4, 0};
    triangle.Corners[2] = {-3, 3, 0};
    SceneQuad quad = Square(0, 7);
    quad.Corners[0] = {3, 3, 0};
    quad.Corners[1] = {5, 4, 0};
    quad.Corners[2] = {3, 4, 0};
    quad.Corners[3] = {5, 3, 0};
    SceneXMesh pyramid;
    pyramid.File = folder.File("piramide.x");
    pyramid.X = -4;
    pyramid.Y = -3.5;
    pyramid.Visible = true;
    SceneSprite arrow;
    arrow.Width = 32;
    arrow.CellHeight = 32;
    arrow.X = 250;
    arrow.Y = 180;
    SceneText label;
    label.Text = "Kel";
    label.Height = 20;
    label.FaceName = "Arial";
    label.X = 140;
    label.Y = 10;
    label.Visible = true;
    label.Color = 0xFF000000;
    SceneText3D word;
    word.Text = "3D";
    word.Height = 44;
    word.FaceName = "Arial";
    word.X = 1;
    word.Y = -3.5;
    word.Visible = true;
    word.Color = 0x000000FF;
    SceneMesh centre = RedMesh();
    for (MeshVertex& vertex : centre.Vertices) {
        vertex.X *= 4;
        vertex.Y *= 4;
        vertex.Z = 0;
    }

    panel->UseCamera = false;
    panel->SpriteSheetResource = 1007;
    panel->SetBackColor(0x00FFFFFF);
    panel->SetScene({triangle}, {quad}, {arrow}, {pyramid}, {label}, {word}, {centre});
    const FramePixels frame = DrawFrame(*panel);
    const struct {
        const char* kind;
        int left, top, right, bottom;
    } regions[] = {{"triangle", 0, 0, 80, 60},     {"quad", 240, 0, 320, 60},
                   {".x mesh", 0, 160, 80, 240},   {"mesh", 110, 110, 160, 150},
                   {"sprite", 250, 180, 282, 212}, {"text", 140, 10, 180, 30},
                   {"3D text", 170, 160, 240, 240}};
    for (const auto& r : regions)
        EXPECT_GT(frame.CountOtherThanIn(kWhite, r.left, r.top, r.right, r.bottom), 20) << r.kind;
}
