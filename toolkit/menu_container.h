#pragma once

// What the menu bar, a drop-down menu and a cascading entry share: their entries, in the
// order they were made, and the platform menu that holds them.

#include <vector>
#include <windows.h>

namespace KelUtility {

class GUIElement;

class MenuContainer {
public:
    // Appends an entry; once the container's menu exists the entry is made at once.
    void AddChild(GUIElement* child, bool containerCreated);

    std::vector<GUIElement*> children; // not owned
    HMENU menuHandle = nullptr;

protected:
    ~MenuContainer() = default;
    // Builds the entries' platform menus depth-first, in order.
    void CreateChildren();
};

} // namespace KelUtility
