#pragma once

// An entry of a drop-down menu. An entry with entries of its own is a cascading drop-down;
// one with an empty text is a separator. Its id, taken when it is constructed, is the menu
// command id.

#include "toolkit/child.h"
#include "toolkit/command_element.h"
#include "toolkit/menu_container.h"

namespace KelUtility {

class SubMenu : public Child, public CommandElement, public MenuContainer {
public:
    // The entry joins the entries of a Menu or SubMenu parent.
    SubMenu(GUIElement* owner, const std::string& caption);

    void Create() override;
    void SetEnabled(bool value) override;
    // The check mark as the menu shows it; a state with other bits besides the check mark
    // reads as unchecked.
    bool IsChecked();
    void ApplyCheck();
    // Takes an entry without entries of its own out of its menu; the element stays, and
    // Create puts the entry back, at the end of the menu.
    void Remove();
    // The platform menu that holds this entry.
    HMENU ParentMenuHandle() const;

    UINT flags = MF_STRING;
    bool checkable = false;
    bool checked = false;
};

} // namespace KelUtility
