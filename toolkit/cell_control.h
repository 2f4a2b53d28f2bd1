#pragma once

// A panel that paints one line of text in its own colour and font, vertically centred,
// with an optional "*" marker and an optional picture. The About box uses two as links.

#include "toolkit/panel_children.h"

#include <string>

namespace KelUtility {

class CellControl : public PanelChildren {
public:
    enum PictureAlignment { PictureLeft = 0, PictureRight = 1, PictureCentered = 2 };

    explicit CellControl(GUIElement* owner);

    // Both store the text and, on a live cell, ask for a repaint with the background erased,
    // so the new text replaces the old at once.
    void SetText(const std::wstring& value) override;
    void SetText(const std::string& value) override;
    void Paint() override;

    // The font used while the element has no font of its own.
    std::string fontName = "Tahoma";
    int fontSize = 14;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    COLORREF textColour = 0;
    int alignment = 2;               // 0 left, 1 right, 2 centred
    bool marker = false;             // paints a "*" in the bottom-right corner
    HBITMAP picture = nullptr;       // not owned
    int pictureAlign = PictureRight; // 1 right, 2 centred, anything else left
    int pictureWidth = 0;
    int pictureHeight = 0;

private:
    void PaintContent(const RECT& client);
};

} // namespace KelUtility
