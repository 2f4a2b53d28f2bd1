#pragma once

// A single- or multi-line edit box. Its style fields are applied at creation; after
// changing one on a created box, call ApplyStyle.

#include "toolkit/child.h"

namespace KelUtility {

class TextBox : public Child {
public:
    TextBox(GUIElement* owner, const std::string& content);

    void Create() override;
    void ApplyStyle();
    // -1 sets no limit on the window.
    void SetMaxLength(int length);
    // Widens the box, when it is narrower, until it shows `text` whole in its font between
    // its margins and borders, the caret included; returns the pixels it grew by.
    int WidenFor(const wchar_t* text);
    DWORD Style() const;

    int maxLength = -1;
    bool multiline = false;
    bool horizontalScroll = false;
    bool verticalScroll = false;
    bool readOnly = false;
    bool numbersOnly = false;
    bool password = false;
    bool lowerCase = false;
    bool upperCase = false; // wins over lowerCase
    bool alignRight = false; // wins over alignCenter
    bool alignCenter = false;
    bool wordWrap = false;
    bool border = true;
};

} // namespace KelUtility
