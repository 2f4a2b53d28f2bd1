#pragma once

// The menu bar of a form: creating it builds every menu and entry below it and attaches
// the bar to the form.

#include "toolkit/child.h"
#include "toolkit/menu_container.h"

namespace KelUtility {

class MenuBar : public Child, public MenuContainer {
public:
    explicit MenuBar(GUIElement* form);

    // Called once, after the whole tree of menus and entries has been constructed.
    void Create() override;
};

} // namespace KelUtility
