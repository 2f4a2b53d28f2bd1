#pragma once

// A drop-down title on a menu bar, such as "&File".

#include "toolkit/child.h"
#include "toolkit/menu_container.h"

namespace KelUtility {

class MenuBar;

class Menu : public Child, public MenuContainer {
public:
    Menu(MenuBar* bar, const std::string& title);

    void Create() override;
};

} // namespace KelUtility
