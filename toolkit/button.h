#pragma once

// A push button. Owner-drawn, it shows a bitmap or an icon before its caption; the
// toolkit's window procedure paints it and asks DrawPicture where the caption starts.

#include "toolkit/child.h"
#include "toolkit/command_element.h"

namespace KelUtility {

class Drawing;

class Button : public Child, public CommandElement {
public:
    Button(GUIElement* owner, const std::string& caption);

    void Create() override;
    // Draws the picture for the button's state and returns the x at which the caption
    // starts; 0 without a picture.
    virtual int DrawPicture(Drawing& drawing, const RECT& item, bool selected);

    bool ownerDraw = false;
    HBITMAP enabledBitmap = nullptr; // the pictures are not owned
    HBITMAP disabledBitmap = nullptr;
    HICON enabledIcon = nullptr;
    HICON disabledIcon = nullptr;
};

} // namespace KelUtility
