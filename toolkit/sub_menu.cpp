#include "toolkit/sub_menu.h"

#include "toolkit/element_registry.h"
#include "toolkit/menu.h"
#include "toolkit/text_conversion.h"

namespace KelUtility {

SubMenu::SubMenu(GUIElement* owner, const std::string& caption) : Child(owner) {
    typeName = "submenu";
    text = ToWide(caption);
    id = ElementRegistry::NextId();
    if (auto* menu = dynamic_cast<Menu*>(owner))
        menu->AddChild(this, menu->created);
    else if (auto* entry = dynamic_cast<SubMenu*>(owner))
        entry->AddChild(this, entry->created);
}

HMENU SubMenu::ParentMenuHandle() const {
    if (auto* menu = dynamic_cast<Menu*>(parent))
        return menu->menuHandle;
    if (auto* entry = dynamic_cast<SubMenu*>(parent))
        return entry->menuHandle;
    return nullptr;
}

void SubMenu::Create() {
    if (created)
        return;
    HMENU holder = ParentMenuHandle();
    if (holder == nullptr)
        return;
    if (children.empty()) {
        // Without a text the platform shows the entry as a separator.
        AppendMenuW(holder, flags, static_cast<UINT_PTR>(id),
                    text.empty() ? nullptr : text.c_str());
        if (checkable)
            CheckMenuItem(holder, static_cast<UINT>(id), checked ? MF_CHECKED : MF_UNCHECKED);
    } else {
        menuHandle = CreatePopupMenu();
        CreateChildren();
        AppendMenuW(holder, MF_POPUP, reinterpret_cast<UINT_PTR>(menuHandle), text.c_str());
    }
    window = reinterpret_cast<HWND>(menuHandle);
    created = true;
    if (!enabled)
        SetEnabled(false);
    FinishCreate();
}

void SubMenu::SetEnabled(bool value) {
    enabled = value;
    if (created)
        EnableMenuItem(ParentMenuHandle(), static_cast<UINT>(id),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool SubMenu::IsChecked() {
    HMENU holder = ParentMenuHandle();
    if (created && holder != nullptr)
        checked = GetMenuState(holder, static_cast<UINT>(id), MF_BYCOMMAND) == MF_CHECKED;
    return checked;
}

void SubMenu::ApplyCheck() {
    CheckMenuItem(ParentMenuHandle(), static_cast<UINT>(id),
                  checked && checkable ? MF_CHECKED : MF_UNCHECKED);
}

void SubMenu::Remove() {
    if (!created || menuHandle != nullptr)
        return;
    DeleteMenu(ParentMenuHandle(), static_cast<UINT>(id), MF_BYCOMMAND);
    created = false;
}

} // namespace KelUtility
