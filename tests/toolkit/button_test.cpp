#include "toolkit/button.h"
#include "toolkit/drawing.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>

using namespace KelUtility;
using KelTest::PixelOf;

namespace {

void Repaint(const GUIElement& element) {
    RedrawWindow(element.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

} // namespace

TEST(Button, PicturesPushTheCaptionRight) {
    auto form = KelTest::NewHostForm();
    Button button(form.get(), "OK");
    Drawing drawing(&button, nullptr);
    const RECT item = {0, 0, 80, 30};
    EXPECT_EQ(button.DrawPicture(drawing, item, false), 0);

    HDC screen = GetDC(nullptr);
    HBITMAP enabled = CreateCompatibleBitmap(screen, 16, 16);
    HBITMAP disabled = CreateCompatibleBitmap(screen, 24, 24);
    ReleaseDC(nullptr, screen);
    button.enabledBitmap = enabled;
    button.disabledBitmap = disabled;
    EXPECT_EQ(button.DrawPicture(drawing, item, false), 5 + 16 + 3);
    button.enabled = false;
    EXPECT_EQ(button.DrawPicture(drawing, item, false), 5 + 24 + 3);
    button.disabledBitmap = nullptr;
    button.disabledIcon = LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_EQ(button.DrawPicture(drawing, item, false), 5 + 35);
    DeleteObject(enabled);
    DeleteObject(disabled);
}

TEST(Button, AnOwnerDrawnButtonIsFramedInItsState) {
    auto form = KelTest::NewHostForm();
    Button button(form.get(), "[..]");
    button.ownerDraw = true;
    button.SetPosition(10, 10);
    button.Create();
    EXPECT_EQ(GetWindowLongW(button.window, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    Repaint(button);
    const COLORREF frame = PixelOf(button.window, 0, 0);
    EXPECT_EQ(PixelOf(button.window, 79, 29), frame);
    EXPECT_NE(PixelOf(button.window, 2, 2), frame);

    button.SetEnabled(false);
    Repaint(button);
    EXPECT_EQ(PixelOf(button.window, 0, 0), 0x696969u);
}
