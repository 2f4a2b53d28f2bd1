#include "toolkit/drawing.h"
#include "toolkit/font.h"
#include "toolkit/form.h"

#include <gtest/gtest.h>

using namespace KelUtility;

namespace {

constexpr int kSize = 64;
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kWhite = RGB(255, 255, 255);

// A memory context over a 64 x 64 picture, lent to a drawing as a platform would lend
// the context of an owner-drawn item.
class Canvas {
public:
    Canvas() {
        m_dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSize;
        info.bmiHeader.biHeight = -kSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~Canvas() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

// A white arrow-like cross on black, 16 x 16.
HBITMAP WhiteOnBlack(HDC reference) {
    HBITMAP bitmap = CreateCompatibleBitmap(reference, 16, 16);
    HDC dc = CreateCompatibleDC(reference);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT all = {0, 0, 16, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT bar = {6, 0, 10, 16};
    FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, previous);
    DeleteDC(dc);
    return bitmap;
}

class DrawingTest : public ::testing::Test {
protected:
    Form owner{GetModuleHandleW(nullptr)};
    Canvas canvas;
};

} // namespace

TEST_F(DrawingTest, RectanglesFillAndFrame) {
    Drawing drawing(&owner, canvas.dc());
    drawing.FillRect(0, 0, kSize, kSize, kGrey);
    drawing.FrameRect(10, 10, 20, 20, RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(0, 0), kGrey);
    EXPECT_EQ(canvas.At(kSize - 1, kSize - 1), kGrey);
    EXPECT_EQ(canvas.At(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(29, 29), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(20, 20), kGrey);
    EXPECT_EQ(canvas.At(30, 30), kGrey);
}

TEST_F(DrawingTest, BlackStaysTransparentInEveryBitmapCopy) {
    HBITMAP arrow = WhiteOnBlack(canvas.dc());
    {
        Drawing drawing(&owner, canvas.dc());
        drawing.FillRect(0, 0, kSize, kSize, kGrey);
        drawing.DrawBitmapTransparent(0, 0, 16, 16, arrow, 0, 0);
        drawing.DrawBitmapStretched(20, 0, 16, 16, arrow);
        drawing.DrawBitmapStretched(40, 0, 0, 0, arrow);
        drawing.DrawBitmapStretched(0, 20, 32, 32, arrow);
        drawing.DrawBitmap(40, 40, 16, 16, arrow, 0, 0);
    }
    for (int left : {0, 20, 40}) {
        EXPECT_EQ(canvas.At(left + 1, 5), kGrey) << left;
        EXPECT_EQ(canvas.At(left + 7, 5), kWhite) << left;
    }
    EXPECT_EQ(canvas.At(2, 30), kGrey);
    EXPECT_EQ(canvas.At(14, 30), kWhite); // stretched: the bar is twice as wide
    EXPECT_EQ(canvas.At(19, 30), kWhite);
    EXPECT_EQ(canvas.At(41, 45), RGB(0, 0, 0)); // the plain copy keeps black
    DeleteObject(arrow);
}

TEST_F(DrawingTest, TextWithoutABoxIsDrawnAtItsPoint) {
    Font font("Tahoma", 16);
    Drawing drawing(&owner, canvas.dc());
    drawing.FillRect(0, 0, kSize, kSize, kWhite);
    EXPECT_GT(drawing.TextHeight(&font), 10);
    EXPECT_EQ(drawing.TextHeight(nullptr), -1);
    drawing.DrawText(30, 30, 0, 0, std::string("WWWW"), RGB(0, 0, 0), &font, Drawing::AlignRight);
    int inked = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (canvas.At(x, y) != kWhite) {
                ++inked;
                EXPECT_GE(x, 30);
                EXPECT_GE(y, 30);
            }
    EXPECT_GT(inked, 10);
}

TEST_F(DrawingTest, EndingALentContextLeavesItToItsOwner) {
    Drawing drawing(&owner, canvas.dc());
    drawing.End();
    drawing.End();
    EXPECT_EQ(drawing.Context(), nullptr);
    drawing.FillRect(0, 0, kSize, kSize, kGrey); // no context: nothing happens
    EXPECT_NE(canvas.At(5, 5), kGrey);
    EXPECT_TRUE(PatBlt(canvas.dc(), 0, 0, 4, 4, WHITENESS));
    EXPECT_EQ(canvas.At(1, 1), kWhite);
}
