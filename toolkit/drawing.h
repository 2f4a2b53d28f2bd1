#pragma once

// One paint of one element: owns the paint cycle of the element's window, or wraps a
// context the platform lent for an owner-drawn item, and offers the few primitives the
// controls need. Every primitive does nothing once the drawing has ended.

#include <string>
#include <windows.h>

namespace KelUtility {

class Font;
class GUIElement;

class Drawing {
public:
    enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

    // Begins painting the owner's window; only inside the owner's paint handling.
    explicit Drawing(GUIElement* owner);
    // Wraps a context lent by the platform; ending the drawing leaves it to its owner.
    Drawing(GUIElement* owner, HDC lent);
    virtual ~Drawing();
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    // Called after a platform call of a primitive fails; the primitive then goes on.
    virtual void OnError();

    void End();
    HDC Context() const { return dc; }

    void FillRect(int left, int top, int boxWidth, int boxHeight, COLORREF color);
    void FrameRect(int left, int top, int boxWidth, int boxHeight, COLORREF color);
    // With a zero width or height the text is drawn at (left, top), unclipped and
    // unaligned. At most 1023 characters are drawn.
    void DrawText(int left, int top, int boxWidth, int boxHeight, const std::wstring& text,
                  COLORREF color, Font* font, int alignment);
    void DrawText(int left, int top, int boxWidth, int boxHeight, const std::string& text,
                  COLORREF color, Font* font, int alignment);
    // -1 when there is no context or no font.
    int TextHeight(Font* font);
    void DrawBitmap(int left, int top, int boxWidth, int boxHeight, HBITMAP bitmap,
                    int sourceX, int sourceY);
    // Pure black pixels of the bitmap leave the destination as it was.
    void DrawBitmapTransparent(int left, int top, int boxWidth, int boxHeight, HBITMAP bitmap,
                               int sourceX, int sourceY);
    // The whole bitmap, black transparent, scaled to the box; a zero width or height draws
    // it at its own size.
    void DrawBitmapStretched(int left, int top, int boxWidth, int boxHeight, HBITMAP bitmap);

    // The caller owns the bitmap; null when the file cannot be loaded.
    static HBITMAP LoadBitmapFile(const std::string& path);

private:
    enum class Fit { Tile, Stretch };
    void DrawMasked(int left, int top, int boxWidth, int boxHeight, HBITMAP bitmap, int sourceX,
                    int sourceY, Fit fit);
    bool Check(bool succeeded);

    GUIElement* owner;
    HDC dc = nullptr;
    bool borrowed = false;
    PAINTSTRUCT paint = {};
};

} // namespace KelUtility
