#include "toolkit/cell_control.h"

#include "toolkit/drawing.h"
#include "toolkit/font.h"
#include "toolkit/text_conversion.h"

namespace KelUtility {
namespace {

constexpr int kPictureMargin = 3;

} // namespace

CellControl::CellControl(GUIElement* owner) : PanelChildren(owner) {
    tabStop = false;
}

void CellControl::SetText(const std::wstring& value) {
    PanelChildren::SetText(value);
    if (created)
        InvalidateRect(window, nullptr, TRUE);
}

void CellControl::SetText(const std::string& value) {
    SetText(ToWide(value));
}

void CellControl::Paint() {
    // The first paint comes from the creation itself, before the element is marked created:
    // a cell that waited for the flag would stay blank until covered and shown again.
    RECT client;
    if (window != nullptr && GetClientRect(window, &client))
        PaintContent(client);
    // The element's own paint would cover the text with the background colour.
    const bool hadBackColor = hasBackColor;
    hasBackColor = false;
    PanelChildren::Paint();
    hasBackColor = hadBackColor;
}

void CellControl::PaintContent(const RECT& client) {
    Font built(fontName, fontSize);
    built.bold = bold;
    built.underline = underline;
    built.italic = italic;
    Font* shown = font != nullptr ? font : &built;

    Drawing drawing(this);
    const int clientWidth = client.right;
    const int clientHeight = client.bottom;
    if (hasBackColor)
        drawing.FillRect(0, 0, clientWidth, clientHeight, backColor);
    const int textHeight = drawing.TextHeight(shown);
    if (!text.empty()) {
        const int top = (clientHeight - textHeight) / 2;
        drawing.DrawText(0, top, clientWidth, clientHeight - top, text, textColour, shown,
                         alignment);
    }
    if (marker)
        drawing.DrawText(clientWidth - textHeight, clientHeight - textHeight, textHeight,
                         textHeight, std::wstring(L"*"), textColour, shown, Drawing::AlignCenter);
    if (picture != nullptr) {
        const int top = (clientHeight - pictureHeight) / 2;
        int left = kPictureMargin;
        if (pictureAlign == PictureRight)
            left = clientWidth - pictureWidth - kPictureMargin;
        else if (pictureAlign == PictureCentered)
            left = (clientWidth - pictureWidth) / 2;
        drawing.DrawBitmap(left, top, pictureWidth, pictureHeight, picture, 0, 0);
    }
    drawing.End();
}

} // namespace KelUtility
