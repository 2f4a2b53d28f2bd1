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
    CreateControlWindow(STATUSCLASSNAMEW, BaseStyle(), 0);
    FinishCreate();
}

} // namespace KelUtility
