#include "toolkit/label.h"

#include "toolkit/text_conversion.h"

namespace KelUtility {

Label::Label(GUIElement* owner, const std::string& caption) : Child(owner) {
    typeName = "label";
    text = ToWide(caption);
    width = 80;
    height = 30;
}

void Label::Create() {
    if (created)
        return;
    DWORD style = BaseStyle() | SS_NOTIFY;
    if (border)
        style |= WS_BORDER;
    if (alignRight)
        style |= SS_RIGHT;
    else if (alignCenter)
        style |= SS_CENTER;
    CreateControlWindow(L"static", style, border ? WS_EX_CLIENTEDGE : 0);
    FinishCreate();
}

} // namespace KelUtility
