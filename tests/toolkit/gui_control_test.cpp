#include "toolkit/form.h"
#include "toolkit/gui_control.h"
#include "toolkit/image_frame.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace KelUtility;
using KelTest::PixelOf;

namespace {

std::vector<int> directions;

void RecordDirection(GUIElement*, int direction) { directions.push_back(direction); }

constexpr int kTile = 32;
const COLORREF kTileColors[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200),
                                 RGB(200, 200, 0)};

// Four 32 x 32 tiles of one colour each, with a black square in the middle of each.
HBITMAP MakeSheet() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 4 * kTile;
    info.bmiHeader.biHeight = -kTile;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP sheet = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < 4 * kTile; ++x) {
            const COLORREF c = kTileColors[x / kTile];
            const bool middle = x % kTile >= 12 && x % kTile < 20 && y >= 12 && y < 20;
            pixels[y * 4 * kTile + x] =
                middle ? 0 : (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    return sheet;
}

class PadTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = KelTest::NewHostForm();
    }
    std::unique_ptr<Form> form;
};

} // namespace

TEST_F(PadTest, AnImageFrameShowsItsTileWithBlackTransparent) {
    HBITMAP sheet = MakeSheet();
    ImageFrame frame(form.get());
    frame.bitmap = sheet;
    frame.column = 2;
    frame.transparent = true;
    frame.SetPosition(10, 10);
    frame.SetSize(kTile, kTile);
    frame.Create();
    RedrawWindow(frame.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(PixelOf(frame.window, 2, 2), kTileColors[2]);
    EXPECT_EQ(PixelOf(frame.window, 29, 29), kTileColors[2]);
    EXPECT_EQ(PixelOf(frame.window, 16, 16), GetSysColor(COLOR_BTNFACE));

    frame.transparent = false;
    frame.column = 3;
    RedrawWindow(frame.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(PixelOf(frame.window, 2, 2), kTileColors[3]);
    EXPECT_EQ(PixelOf(frame.window, 16, 16), RGB(0, 0, 0));
    DeleteObject(sheet);
}

TEST_F(PadTest, EachArrowRaisesItsDirectionOncePerRelease) {
    GUIControl pad(form.get());
    pad.SetPosition(20, 20);
    pad.OnDirection = &RecordDirection;
    pad.Create();
    ASSERT_NE(pad.arrowsBitmap, nullptr) << "bitmap 1007 is missing from the resources";
    directions.clear();
    for (int k = 0; k < 4; ++k) {
        ImageFrame& arrow = *pad.arrows[k];
        EXPECT_EQ(arrow.column, k);
        SendMessageW(arrow.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        EXPECT_EQ(arrow.column, k + 4);
        EXPECT_EQ(pad.pressedDirection, k + 1);
        EXPECT_EQ(GetCapture(), arrow.window);
        SendMessageW(arrow.window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        EXPECT_EQ(arrow.column, k);
        EXPECT_EQ(GetCapture(), nullptr);
    }
    EXPECT_EQ(directions, (std::vector<int>{1, 2, 3, 4}));

    // A release without a press on the pad is no direction.
    SendMessageW(pad.arrows[0]->window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(directions.size(), 4u);
    EXPECT_EQ(pad.arrows[0]->column, 0);
}

TEST_F(PadTest, ThePadsArrowsAreDrawnAroundItsCentre) {
    GUIControl pad(form.get());
    pad.Create();
    KelTest::PumpMessages();
    EXPECT_EQ(pad.width, 105);
    const POINT expected[4] = {{0, 34}, {67, 34}, {34, 0}, {34, 67}};
    for (int k = 0; k < 4; ++k) {
        const POINT at = pad.arrows[k]->GetPosition();
        EXPECT_EQ(at.x, expected[k].x);
        EXPECT_EQ(at.y, expected[k].y);
        EXPECT_TRUE(pad.arrows[k]->IsHandCursor());
        EXPECT_FALSE(GetWindowLongW(pad.arrows[k]->window, GWL_STYLE) & WS_TABSTOP);
        // The arrow's body covers the middle of its cell; the corners are transparent.
        EXPECT_NE(PixelOf(pad.arrows[k]->window, 16, 16), GetSysColor(COLOR_BTNFACE)) << k;
        EXPECT_EQ(PixelOf(pad.arrows[k]->window, 0, 0), GetSysColor(COLOR_BTNFACE)) << k;
    }
}

// Losing the mouse while an arrow is held (the user switches to another window, another
// window takes the mouse, the system cancels the mode) lets the arrow go without a move.
TEST_F(PadTest, AnArrowThatLosesTheMouseIsLetGoWithoutAMove) {
    static HWND otherWindow = nullptr;
    Form other(GetModuleHandleW(nullptr));
    other.Create();
    otherWindow = other.window;
    GUIControl pad(form.get());
    pad.OnDirection = &RecordDirection;
    pad.Create();
    void (*const losses[])(HWND) = {
        [](HWND) { ReleaseCapture(); },
        [](HWND) { SetCapture(otherWindow); },
        [](HWND arrow) { SendMessageW(arrow, WM_CANCELMODE, 0, 0); },
        [](HWND) { SetForegroundWindow(otherWindow); },
    };
    for (auto lose : losses) {
        SetForegroundWindow(form->window);
        directions.clear();
        ImageFrame& arrow = *pad.arrows[1];
        SendMessageW(arrow.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        ASSERT_EQ(pad.pressedDirection, 2);
        lose(arrow.window);
        KelTest::PumpMessages();
        EXPECT_EQ(pad.pressedDirection, 0);
        EXPECT_EQ(arrow.column, 1);
        EXPECT_NE(GetCapture(), arrow.window);
        SendMessageW(arrow.window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        EXPECT_TRUE(directions.empty());
        ReleaseCapture();
    }
}
