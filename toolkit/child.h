#pragma once

// An element that lives inside a parent element: every control, panel and menu. A child
// uses its parent's window as owner and its id as control id; it has no instance of its
// own.

#include "toolkit/gui_element.h"

namespace KelUtility {

class Child : public GUIElement {
public:
    explicit Child(GUIElement* owner) : GUIElement(nullptr) { parent = owner; }

protected:
    // WS_CHILD | WS_VISIBLE, and WS_DISABLED when the element is not enabled.
    DWORD BaseStyle() const;
    // Takes the next id and makes a window of a platform control class inside the parent,
    // subclassed to the toolkit. False when the platform refused the window.
    bool CreateControlWindow(const wchar_t* platformClass, DWORD style, DWORD extendedStyle);
    // The same at the given bounds instead of the element's, for the given module.
    bool CreateControlWindow(const wchar_t* platformClass, DWORD style, DWORD extendedStyle,
                             const RECT& bounds, HINSTANCE module);
};

} // namespace KelUtility
