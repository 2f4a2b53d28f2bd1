#include "toolkit/status_bar.h"

#include "toolkit/text_conversion.h"

#include <commctrl.h>

namespace KelUtility {

StatusBar::StatusBar(GUIElement* owner, const std::string& content) : Child(owner) {
    typeName = "statusbar";
    text = ToWide(content);
    x = y = width = height = 0;
}

void StatusBar::Create() {
    if (created)
        return;
    // The platform lays the bar along the parent's bottom edge; the window belongs to the
    // program's module.
    CreateControlWindow(STATUSCLASSNAMEW, BaseStyle(), 0, RECT{}, GetModuleHandleW(nullptr));
    FinishCreate();
}

} // namespace KelUtility
