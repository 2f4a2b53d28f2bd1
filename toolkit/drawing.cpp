#include "toolkit/drawing.h"

#include "toolkit/font.h"
#include "toolkit/gui_element.h"
#include "toolkit/text_conversion.h"

namespace KelUtility {
namespace {

constexpr std::size_t kTextLimit = 1023;

// Selects an object into a context for one scope and selects the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(m_dc, m_previous); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

UINT TextFormat(int boxWidth, int boxHeight, int alignment) {
    UINT format = alignment == Drawing::AlignRight    ? DT_RIGHT
                  : alignment == Drawing::AlignCenter ? DT_CENTER
                                                      : DT_LEFT;
    if (boxWidth == 0 || boxHeight == 0)
        format |= DT_NOCLIP;
    return format;
}

} // namespace

Drawing::Drawing(GUIElement* element) : owner(element) {
    dc = BeginPaint(owner->window, &paint);
}

Drawing::Drawing(GUIElement* element, HDC lent) : owner(element), dc(lent), borrowed(true) {}

Drawing::~Drawing() { End(); }

void Drawing::OnError() { GetLastError(); }

bool Drawing::Check(bool succeeded) {
    if (!succeeded)
        OnError();
    return succeeded;
}

void Drawing::End() {
    if (!borrowed && dc != nullptr)
        EndPaint(owner->window, &paint);
    dc = nullptr;
}

void Drawing::FillRect(int left, int top, int boxWidth, int boxHeight, COLORREF color) {
    if (dc == nullptr)
        return;
    HPEN pen = CreatePen(PS_NULL, 1, 0);
    HBRUSH brush = CreateSolidBrush(color);
    Check(pen != nullptr && brush != nullptr);
    {
        // Without a pen a rectangle loses its right and bottom edges: one more pixel each
        // way fills exactly the box asked for.
        Selection penSelection(dc, pen);
        Selection brushSelection(dc, brush);
        Rectangle(dc, left, top, left + boxWidth + 1, top + boxHeight + 1);
    }
    DeleteObject(pen);
    DeleteObject(brush);
}

void Drawing::FrameRect(int left, int top, int boxWidth, int boxHeight, COLORREF color) {
    if (dc == nullptr)
        return;
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    Check(pen != nullptr);
    {
        Selection penSelection(dc, pen);
        Selection brushSelection(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, left, top, left + boxWidth, top + boxHeight);
    }
    DeleteObject(pen);
}

void Drawing::DrawText(int left, int top, int boxWidth, int boxHeight, const std::wstring& text,
                       COLORREF color, Font* font, int alignment) {
    if (dc == nullptr)
        return;
    SetBkMode(dc, TRANSPARENT);
    const std::wstring shown = text.substr(0, kTextLimit);
    const int length = static_cast<int>(shown.size());
    RECT box = {left, top, left + boxWidth, top + boxHeight};
    HGDIOBJ previousFont = font != nullptr ? SelectObject(dc, font->Handle()) : nullptr;
    const COLORREF previousColor = SetTextColor(dc, color);
    if (boxWidth != 0 && boxHeight != 0)
        ::DrawTextW(dc, shown.c_str(), length, &box, TextFormat(boxWidth, boxHeight, alignment));
    else
        TextOutW(dc, left, top, shown.c_str(), length);
    SetTextColor(dc, previousColor);
    if (font != nullptr)
        SelectObject(dc, previousFont);
}

void Drawing::DrawText(int left, int top, int boxWidth, int boxHeight, const std::string& text,
                       COLORREF color, Font* font, int alignment) {
    DrawText(left, top, boxWidth, boxHeight, ToWide(text), color, font, alignment);
}

int Drawing::TextHeight(Font* font) {
    if (dc == nullptr || font == nullptr)
        return -1;
    Selection fontSelection(dc, font->Handle());
    TEXTMETRICW metrics;
    return GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : -1;
}

void Drawing::DrawBitmap(int left, int top, int boxWidth, int boxHeight, HBITMAP bitmap,
                         int sourceX, int sourceY) {
    if (dc == nullptr)
        return;
    HDC memory = CreateCompatibleDC(dc);
    if (!Check(memory != nullptr))
        return;
    {
        Selection bitmapSelection(memory, bitmap);
        Check(BitBlt(dc, left, top, boxWidth, boxHeight, memory, sourceX, sourceY, SRCCOPY));
    }
    DeleteDC(memory);
}

void Drawing::DrawBitmapTransparent(int left, int top, int boxWidth, int boxHeight,
                                    HBITMAP bitmap, int sourceX, int sourceY) {
    DrawMasked(left, top, boxWidth, boxHeight, bitmap, sourceX, sourceY, Fit::Tile);
}

void Drawing::DrawBitmapStretched(int left, int top, int boxWidth, int boxHeight,
                                  HBITMAP bitmap) {
    DrawMasked(left, top, boxWidth, boxHeight, bitmap, 0, 0, Fit::Stretch);
}

// A monochrome mask made with black as the key is white where the picture is black. AND-ing
// the mask clears the destination under the opaque pixels, and OR-ing the picture paints
// them; black adds nothing, so it stays transparent.
void Drawing::DrawMasked(int left, int top, int boxWidth, int boxHeight, HBITMAP bitmap,
                         int sourceX, int sourceY, Fit fit) {
    if (dc == nullptr)
        return;
    HDC image = CreateCompatibleDC(dc);
    HDC mask = CreateCompatibleDC(dc);
    BITMAP info = {};
    if (!Check(image != nullptr && mask != nullptr) ||
        !Check(GetObjectW(bitmap, sizeof info, &info) != 0)) {
        DeleteDC(image);
        DeleteDC(mask);
        return;
    }
    const int sheetWidth = info.bmWidth;
    const int sheetHeight = info.bmHeight;
    HBITMAP maskBitmap = CreateBitmap(sheetWidth, sheetHeight, 1, 1, nullptr);
    Check(maskBitmap != nullptr);
    {
        Selection maskSelection(mask, maskBitmap);
        Selection imageSelection(image, bitmap);
        SetBkColor(image, 0);
        Check(BitBlt(mask, 0, 0, sheetWidth, sheetHeight, image, 0, 0, SRCCOPY));
        // A monochrome source takes the destination's text and background colours: they
        // must be black and white for the mask to clear and keep.
        const COLORREF previousText = SetTextColor(dc, RGB(0, 0, 0));
        const COLORREF previousBack = SetBkColor(dc, RGB(255, 255, 255));
        if (fit == Fit::Stretch && boxWidth != 0 && boxHeight != 0) {
            Check(StretchBlt(dc, left, top, boxWidth, boxHeight, mask, 0, 0, sheetWidth,
                             sheetHeight, SRCAND));
            Check(StretchBlt(dc, left, top, boxWidth, boxHeight, image, 0, 0, sheetWidth,
                             sheetHeight, SRCPAINT));
        } else {
            const int copyWidth = fit == Fit::Stretch ? sheetWidth : boxWidth;
            const int copyHeight = fit == Fit::Stretch ? sheetHeight : boxHeight;
            Check(BitBlt(dc, left, top, copyWidth, copyHeight, mask, sourceX, sourceY, SRCAND));
            Check(BitBlt(dc, left, top, copyWidth, copyHeight, image, sourceX, sourceY, SRCPAINT));
        }
        SetTextColor(dc, previousText);
        SetBkColor(dc, previousBack);
    }
    DeleteObject(maskBitmap);
    DeleteDC(image);
    DeleteDC(mask);
}

HBITMAP Drawing::LoadBitmapFile(const std::string& path) {
    const std::wstring widePath = ToWide(path);
    return static_cast<HBITMAP>(LoadImageW(nullptr, widePath.c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

} // namespace KelUtility
