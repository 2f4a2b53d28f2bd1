#include "toolkit/menu.h"

#include "toolkit/menu_bar.h"
#include "toolkit/text_conversion.h"

namespace KelUtility {

Menu::Menu(MenuBar* bar, const std::string& title) : Child(bar) {
    typeName = "menu";
    text = ToWide(title);
    if (bar != nullptr)
        bar->AddChild(this, bar->created);
}

void Menu::Create() {
    if (created)
        return;
    auto* bar = dynamic_cast<MenuBar*>(parent);
    if (bar == nullptr || bar->menuHandle == nullptr)
        return;
    menuHandle = CreateMenu();
    CreateChildren();
    AppendMenuW(bar->menuHandle, MF_POPUP, reinterpret_cast<UINT_PTR>(menuHandle), text.c_str());
    window = reinterpret_cast<HWND>(menuHandle);
    created = true;
}

} // namespace KelUtility
