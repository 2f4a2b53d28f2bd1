#pragma once

// A one-part status line along the bottom of its form; its text is the element's text.

#include "toolkit/child.h"

namespace KelUtility {

class StatusBar : public Child {
public:
    StatusBar(GUIElement* owner, const std::string& content);

    void Create() override;
};

} // namespace KelUtility
