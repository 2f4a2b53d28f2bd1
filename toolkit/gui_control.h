#pragma once

// A four-arrow direction pad. Pressing an arrow shows its pressed picture and holds its
// direction in pressedDirection; releasing it raises OnDirection with 1 (left), 2 (right),
// 3 (up) or 4 (down).

#include "toolkit/panel_children.h"

namespace KelUtility {

class ImageFrame;

class GUIControl : public PanelChildren {
public:
    using DirectionHandler = void (*)(GUIElement* pad, int direction);

    explicit GUIControl(GUIElement* owner);
    ~GUIControl() override;

    void Create() override;
    // The arrow lost the mouse before its button came up (the user switched away, another
    // window took the mouse): the arrow is let go without a direction.
    void CaptureLost(GUIElement* arrow);

    DirectionHandler OnDirection = nullptr;
    HBITMAP arrowsBitmap = nullptr; // owned
    ImageFrame* arrows[4] = {};     // owned: left, right, up, down
    int pressedDirection = 0;
    // The pad and its arrows are drawn for this DPI; set before Create.
    int dpi = 96;

private:
    static void Press(GUIElement* arrow, HWND window, int x, int y);
    static void Release(GUIElement* arrow, HWND window, int x, int y);
    int DirectionOf(const GUIElement* arrow) const;
};

} // namespace KelUtility
