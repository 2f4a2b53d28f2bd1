#pragma once

// A status line along the bottom of its form; its text, the element's text, is its first
// part, and a second part of a fixed width may stand at its right.

#include "toolkit/child.h"

namespace KelUtility {

class StatusBar : public Child {
public:
    StatusBar(GUIElement* owner, const std::string& content);

    void Create() override;
    void Resized() override;
    // Gives the line a second part this many pixels wide at its right; 0 takes it away.
    void SetRightPart(int partWidth);
    // The text of a part: 0 the element's own, 1 the right one.
    void SetPartText(int part, const std::string& content);

private:
    void ApplyParts();

    int m_rightWidth = 0;
};

} // namespace KelUtility
