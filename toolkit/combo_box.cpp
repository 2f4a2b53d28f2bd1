#include "toolkit/combo_box.h"

#include "toolkit/text_conversion.h"

namespace KelUtility {

ComboBox::ComboBox(GUIElement* owner, std::vector<std::string> entries)
    : Child(owner), m_entries(std::move(entries)) {
    typeName = "combobox";
    width = 200;
    height = 24;
}

// A drop-down list's window is as tall as the box and its open list together.
void ComboBox::Create() {
    if (created)
        return;
    const int closedHeight = height;
    height = closedHeight * (static_cast<int>(m_entries.size()) + 2);
    CreateControlWindow(L"ComboBox", BaseStyle() | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0);
    height = closedHeight;
    FinishCreate();
    for (const std::string& entry : m_entries)
        SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(entry).c_str()));
    SetSelectedIndex(m_selected);
}

int ComboBox::GetSelectedIndex() const {
    if (window == nullptr)
        return m_selected;
    return static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0));
}

void ComboBox::SetSelectedIndex(int index) {
    m_selected = index;
    if (window != nullptr)
        SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

} // namespace KelUtility
