#include "viewport/d3d_panel.h"

#include "toolkit/dialog_host.h"
#include "toolkit/form.h"
#include "toolkit/text_conversion.h"

#include "tests/support/frame_pixels.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>
#include <memory>

using namespace KelUtility;
using KelTest::DrawFrame;
using KelTest::FramePixels;
using KelTest::ScreenDifference;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr double kDegree = 0.017453292;

// Counts the message boxes a test caused; no dialog of this suite may show one.
class CountingHost : public DialogHost {
public:
    int RunMessageBox(HWND, const std::string&, const std::string&, UINT) override {
        ++boxes;
        return IDOK;
    }
    bool RunColorDialog(CHOOSECOLORW&) override { return false; }
    bool RunOpenDialog(OPENFILENAMEW&) override { return false; }
    bool RunSaveDialog(OPENFILENAMEW&) override { return false; }
    HINSTANCE RunShellExecute(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                              int) override {
        return nullptr;
    }
    int boxes = 0;
};

MeshVertex At(double x, double y, std::uint32_t color = 0x0000FF, float tu = 0, float tv = 0) {
    return MeshVertex{x, y, 0, color, tu, tv};
}

// Two triangles, left and right of the centre, as the default eye sees them.
SceneMesh TwoTriangles() {
    SceneMesh mesh;
    mesh.Visible = true;
    mesh.FaceCount = 2;
    mesh.Vertices = {At(-3, -1), At(-1, -1), At(-2, 1), At(1, -1), At(3, -1), At(2, 1)};
    return mesh;
}

// An 8 x 8 picture of one colour (or `size` wide and `height`, by default as high), as a
// 24-bit BMP file.
void WriteSolidBitmap(const std::string& path, unsigned char r, unsigned char g, unsigned char b,
                      int size = 8, int height = 0) {
    height = height > 0 ? height : size;
    const int stride = (size * 3 + 3) & ~3;
    const int pixelBytes = stride * height;
    std::string bytes = "BM";
    const auto add32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const auto add16 = [&](std::uint16_t v) {
        bytes += static_cast<char>(v & 0xFF);
        bytes += static_cast<char>(v >> 8);
    };
    add32(54 + pixelBytes);
    add32(0);
    add32(54);
    add32(40);
    add32(size);
    add32(height);
    add16(1);
    add16(24);
    for (int i = 0; i < 6; ++i)
        add32(0);
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < size; ++x)
            row += {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
        row.resize(stride, '\0');
        bytes += row;
    }
    TemporaryFolder::WriteBytes(path, bytes);
}

class D3DPanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host = new Form(GetModuleHandleW(nullptr));
        host->SetSize(500, 400);
        host->Create();
    }
    static void TearDownTestSuite() { delete host; }

    void SetUp() override {
        previousHost = SetDialogHost(&dialogs);
        panel = std::make_unique<D3DPanel>(host);
        panel->SetPosition(0, 0);
        panel->SetSize(200, 150);
        panel->UseCamera = false;
    }
    void TearDown() override {
        panel.reset();
        SetDialogHost(previousHost);
        EXPECT_EQ(dialogs.boxes, 0);
    }

    void Show(std::vector<SceneMesh> meshes) {
        panel->SetScene({}, {}, {}, {}, {}, {}, std::move(meshes));
    }

    static Form* host;
    CountingHost dialogs;
    DialogHost* previousHost = nullptr;
    std::unique_ptr<D3DPanel> panel;
};

Form* D3DPanelTest::host = nullptr;

} // namespace

TEST_F(D3DPanelTest, TheFrameIsClearedToTheBackgroundColour) {
    panel->Create();
    ASSERT_TRUE(panel->device);
    FramePixels frame = DrawFrame(*panel);
    ASSERT_TRUE(frame.drawn);
    EXPECT_EQ(frame.CountOtherThan(kWhite), 0);
    panel->SetBackColor(0x000000FF);
    frame = DrawFrame(*panel);
    EXPECT_EQ(frame.At(0, 0), 0xFF0000u);
    EXPECT_EQ(frame.CountOtherThan(0xFF0000), 0);
}

TEST_F(D3DPanelTest, TheSamplePyramidShowsItsColoursFromTheApplicationsView) {
    panel->SetSize(320, 240);
    panel->Create();
    MyApp::MeshDocument sample;
    sample.ResetToSample();
    Show({ToSceneMesh(sample)});
    panel->EyeY = 3;
    panel->EyeZ = -5;
    panel->Yaw = 33 * kDegree;
    panel->MoveY = -0.4;
    const FramePixels frame = DrawFrame(*panel);
    EXPECT_EQ(frame.At(0, 0), kWhite);
    EXPECT_EQ(frame.At(319, 239), kWhite);
    EXPECT_GT(frame.CountOtherThan(kWhite), 3000);
    int orange = 0;
    for (std::uint32_t pixel : frame.pixels)
        orange += (pixel >> 16) == 0xFF && ((pixel >> 8) & 0xFF) >= 0x70 &&
                  ((pixel >> 8) & 0xFF) <= 0x90 && (pixel & 0xFF) < 0x50;
    EXPECT_GT(orange, 100) << "the front faces' orange vertex colours";
}

TEST_F(D3DPanelTest, OnlyTheTrianglesOfTheFaceCountAreDrawn) {
    panel->Create();
    SceneMesh mesh = TwoTriangles();
    mesh.Indices = {0, 1, 2, 3, 4, 5};
    mesh.FaceCount = 1;
    Show({mesh});
    FramePixels frame = DrawFrame(*panel);
    EXPECT_GT(frame.CountOtherThanIn(kWhite, 0, 0, 100, 150), 100);
    EXPECT_EQ(frame.CountOtherThanIn(kWhite, 100, 0, 200, 150), 0);

    mesh.FaceCount = 2;
    EXPECT_TRUE(panel->UpdateMesh(mesh));
    EXPECT_FALSE(panel->UpdateMesh(mesh));
    frame = DrawFrame(*panel); // the next frame shows the merged record, as the tick needs
    EXPECT_GT(frame.CountOtherThanIn(kWhite, 100, 0, 200, 150), 100);
    mesh.Vertices[3].X = 0.5; // the same counts, another shape
    EXPECT_TRUE(panel->UpdateMesh(mesh));
    const FramePixels reshaped = DrawFrame(*panel);
    int changed = 0;
    for (std::size_t i = 0; i < frame.pixels.size(); ++i)
        changed += reshaped.pixels[i] != frame.pixels[i];
    EXPECT_GT(changed, 50);
    panel->RebuildScene();
    frame = DrawFrame(*panel);
    EXPECT_GT(frame.CountOtherThanIn(kWhite, 100, 0, 200, 150), 100);
}

TEST_F(D3DPanelTest, ListsThatBuildNoTriangleDrawNothing) {
    panel->Create();
    SceneMesh two = TwoTriangles();
    two.Vertices.resize(2);
    SceneMesh outside = TwoTriangles();
    outside.Vertices.resize(12, At(0, 0));
    outside.Indices = {0, 1, 40000, 3, 4, 5};
    Show({two, outside});
    const FramePixels frame = DrawFrame(*panel);
    EXPECT_EQ(frame.CountOtherThanIn(kWhite, 0, 0, 100, 150), 0);
    EXPECT_GT(frame.CountOtherThanIn(kWhite, 100, 0, 200, 150), 100);
}

TEST_F(D3DPanelTest, ATextureIsTintedByTheVertexColours) {
    TemporaryFolder folder;
    const std::string cyan = folder.File("ciano.bmp");
    WriteSolidBitmap(cyan, 0, 255, 255);
    panel->Create();
    SceneMesh white = TwoTriangles();
    for (MeshVertex& vertex : white.Vertices)
        vertex.Color = 0xFFFFFF;
    white.TextureFile = cyan;
    SceneMesh magenta = white;
    for (MeshVertex& vertex : magenta.Vertices)
        vertex.Color = 0xFF00FF;
    magenta.Vertices.erase(magenta.Vertices.begin(), magenta.Vertices.begin() + 3);
    magenta.FaceCount = 1;
    white.FaceCount = 1;
    Show({white, magenta});
    FramePixels frame = DrawFrame(*panel);
    EXPECT_EQ(frame.At(64, 85), 0x00FFFFu);  // cyan x white
    EXPECT_EQ(frame.At(136, 85), 0x0000FFu); // cyan x magenta
    EXPECT_EQ(panel->textureCache.size(), 1u);

    white.TextureFile = folder.File("missing.bmp");
    EXPECT_TRUE(panel->UpdateMesh(white));
    panel->RebuildScene();
    frame = DrawFrame(*panel);
    EXPECT_EQ(frame.At(64, 85), 0xFFFFFFu) << "no texture: the vertex colour alone";
}

// A picture past the largest side a picture may have is refused with its size, before D3DX
// decodes it, and told once.
TEST_F(D3DPanelTest, ATexturePastTheLargestSideIsRefusedWithItsSize) {
    TemporaryFolder folder;
    panel->Create();
    const std::string huge = folder.File("enorme.bmp");
    WriteSolidBitmap(huge, 0, 0, 0, 16385, 2);
    EXPECT_EQ(panel->TextureFromFile(huge), nullptr);
    const std::vector<TextureFailure> failures = panel->TakeTextureFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].text.find("misura 16385 \xC3\x97 2 pixel, oltre il massimo di 16384"),
              std::string::npos)
        << failures[0].text;
}

TEST_F(D3DPanelTest, BackgroundPicturesThatFitAreCopied) {
    TemporaryFolder folder;
    WriteSolidBitmap(folder.File("piccolo.bmp"), 0, 128, 0);
    WriteSolidBitmap(folder.File("grande.bmp"), 0, 0, 128, 400);
    panel->BackgroundFile = folder.File("piccolo.bmp");
    panel->Create();
    FramePixels frame = DrawFrame(*panel);
    EXPECT_EQ(frame.At(0, 0), 0x008000u);
    EXPECT_EQ(frame.At(7, 7), 0x008000u);
    EXPECT_EQ(frame.At(8, 8), kWhite);

    panel->BackgroundFile = folder.File("grande.bmp");
    panel->RebuildScene();
    frame = DrawFrame(*panel);
    EXPECT_EQ(frame.CountOtherThan(kWhite), 0);
}

TEST_F(D3DPanelTest, PanelsWithoutDeviceOrSizeAreQuiet) {
    SceneMesh mesh = TwoTriangles();
    panel->SetScene({}, {}, {}, {}, {}, {}, {mesh});
    EXPECT_TRUE(panel->meshes.empty()) << "no device: the lists are kept";
    EXPECT_FALSE(panel->UpdateMesh(mesh));
    EXPECT_FALSE(DrawFrame(*panel).drawn);

    panel->SetSize(0, 0);
    panel->Create();
    Show({mesh});
    EXPECT_FALSE(DrawFrame(*panel).drawn);
    SendMessageW(panel->window, WM_PAINT, 0, 0);
}

// A project may ask for a size no device can have; the next project must still show.
TEST_F(D3DPanelTest, APanelComesBackFromASizeItCannotDrawAt) {
    panel->Create();
    Show({TwoTriangles()});
    panel->SetSize(100000, 100000);
    panel->RebuildScene();
    EXPECT_FALSE(panel->device);
    EXPECT_EQ(dialogs.boxes, 1);
    for (int i = 0; i < 3; ++i)
        panel->Redraw();
    panel->RebuildScene();
    SendMessageW(panel->window, WM_PAINT, 0, 0);
    EXPECT_EQ(dialogs.boxes, 1) << "one report for one size, not one a frame";
    TemporaryFolder folder;
    EXPECT_FALSE(panel->SavePicture(folder.File("anteprima.png")));
    EXPECT_NE(ToWide(panel->LastFileError).find(L"Direct3D non \u00E8 stato creato"),
              std::wstring::npos);

    panel->SetSize(200, 150);
    ASSERT_TRUE(panel->device);
    const FramePixels frame = DrawFrame(*panel);
    EXPECT_EQ(frame.width, 200);
    EXPECT_GT(frame.CountOtherThanIn(kWhite, 0, 0, 100, 150), 100);
    EXPECT_GT(frame.CountOtherThanIn(kWhite, 100, 0, 200, 150), 100);
    EXPECT_EQ(frame.At(100, 10), kWhite);
    EXPECT_TRUE(panel->SavePicture(folder.File("anteprima.png")));
    EXPECT_EQ(panel->LastFileError, "");

    panel->SetSize(100000, 100001);
    panel->RebuildScene();
    EXPECT_EQ(dialogs.boxes, 2) << "another size, another report";
    dialogs.boxes = 0;
}

TEST_F(D3DPanelTest, TheFreeCameraStartsAtTheEyeAndSeesTheOrigin) {
    panel->UseCamera = true;
    panel->EyeZ = -10;
    panel->Create();
    EXPECT_EQ(panel->Camera.position, D3DXVECTOR3(0, 0, -10));
    Show({TwoTriangles()});
    DrawFrame(*panel); // the frustum uses the projection of the frame before
    const FramePixels frame = DrawFrame(*panel);
    EXPECT_GT(frame.CountOtherThan(kWhite), 200);
    EXPECT_TRUE(panel->Camera.IsInFrustum(0, 0, 0));
    EXPECT_FALSE(panel->Camera.IsInFrustum(0, 0, -20));
    EXPECT_FALSE(panel->Camera.IsInFrustum(0, 0, 600));
}

// The editor's preview is a panel inside a panel of the main window.
TEST_F(D3DPanelTest, TheFrameReachesTheScreenInsideNestedPanels) {
    Form form(GetModuleHandleW(nullptr));
    form.SetPosition(560, 60);
    form.SetSize(420, 360);
    form.Create();
    PanelChildren viewport(&form);
    viewport.SetPosition(15, 25);
    viewport.SetSize(360, 280);
    viewport.Create();
    D3DPanel nested(&viewport);
    nested.SetPosition(20, 10);
    nested.SetSize(320, 240);
    nested.UseCamera = false;
    nested.Create();
    nested.SetScene({}, {}, {}, {}, {}, {}, {TwoTriangles()});
    nested.SetBackColor(0x00008000);

    const FramePixels frame = DrawFrame(nested);
    ASSERT_EQ(frame.width, 320);
    EXPECT_EQ(frame.At(0, 0), 0x008000u);
    EXPECT_EQ(frame.At(319, 239), 0x008000u);
    EXPECT_GT(frame.CountOtherThan(0x008000), 1000) << "the red triangles";
    EXPECT_EQ(ScreenDifference(frame, nested.window), 0);

    // Covered and uncovered again, the panel paints itself back.
    InvalidateRect(viewport.window, nullptr, TRUE);
    UpdateWindow(viewport.window);
    EXPECT_EQ(ScreenDifference(frame, nested.window), 0);
}
