#include "toolkit/check_button.h"

namespace KelUtility {

CheckButton::CheckButton(GUIElement* owner, const std::string& caption, Kind kind)
    : Button(owner, caption), m_kind(kind) {
    typeName = "checkbutton";
    height = 22;
}

void CheckButton::Create() {
    if (created)
        return;
    const DWORD style = BaseStyle() | WS_TABSTOP | (firstOfGroup ? WS_GROUP : 0) |
                        (m_kind == Kind::Option ? BS_AUTORADIOBUTTON : BS_AUTOCHECKBOX);
    CreateControlWindow(L"Button", style, 0);
    FinishCreate();
    SetChecked(m_checked);
}

bool CheckButton::IsChecked() const {
    if (window == nullptr)
        return m_checked;
    return SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckButton::SetChecked(bool value) {
    m_checked = value;
    if (window != nullptr)
        SendMessageW(window, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace KelUtility
