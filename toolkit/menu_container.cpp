#include "toolkit/menu_container.h"

#include "toolkit/gui_element.h"

namespace KelUtility {

void MenuContainer::AddChild(GUIElement* child, bool containerCreated) {
    children.push_back(child);
    if (containerCreated)
        child->Create();
}

void MenuContainer::CreateChildren() {
    for (GUIElement* child : children)
        child->Create();
}

} // namespace KelUtility
