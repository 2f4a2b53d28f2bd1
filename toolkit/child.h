#pragma once

// An element that lives inside a parent element: every control, panel and menu. A child
// uses its parent's window as owner and its id as control id; it has no instance of its
// own.

#include "toolkit/gui_element.h"

namespace KelUtility {

class Child : public GUIElement {
public:
    explicit Child(GUIElement* owner) : GUIElement(nullptr) { parent = owner; }
};

} // namespace KelUtility
