#include "toolkit/menu_bar.h"

namespace KelUtility {

MenuBar::MenuBar(GUIElement* form) : Child(form) { typeName = "menubar"; }

void MenuBar::Create() {
    if (parent == nullptr || parent->window == nullptr)
        return;
    menuHandle = CreateMenu();
    CreateChildren();
    SetMenu(parent->window, menuHandle);
    created = true;
    // A menu's handle stands in the window field, as with every element that is created.
    window = reinterpret_cast<HWND>(menuHandle);
    FinishCreate();
}

} // namespace KelUtility
