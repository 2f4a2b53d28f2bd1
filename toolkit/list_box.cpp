#include "toolkit/list_box.h"

#include "toolkit/text_conversion.h"

namespace KelUtility {

ListBox::ListBox(GUIElement* owner) : Child(owner) {
    typeName = "listbox";
    width = 130;
    height = 130;
}

void ListBox::Create() {
    if (created)
        return;
    const DWORD style =
        BaseStyle() | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | (border ? WS_BORDER : 0);
    CreateControlWindow(L"ListBox", style, border ? WS_EX_CLIENTEDGE : 0);
    created = true;
    for (const std::wstring& rowText : rowTexts)
        AddRowToWindow(rowText);
    FinishCreate();
}

void ListBox::AddRowToWindow(const std::wstring& rowText) {
    SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rowText.c_str()));
}

void ListBox::AddItem(const std::string& rowText, const std::string& rowValue) {
    rowTexts.push_back(ToWide(rowText));
    rowValues.push_back(ToWide(rowValue));
    if (created)
        AddRowToWindow(rowTexts.back());
}

bool ListBox::Clear() {
    if (rowTexts.empty())
        return false;
    while (!rowTexts.empty()) {
        const WPARAM last = rowTexts.size() - 1;
        if (created && SendMessageW(window, LB_DELETESTRING, last, 0) == LB_ERR)
            return false;
        rowTexts.pop_back();
        rowValues.pop_back();
    }
    return true;
}

int ListBox::GetSelectedIndex() {
    if (!created)
        return -1;
    return static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0));
}

void ListBox::SetSelectedIndex(int index) {
    if (created)
        SendMessageW(window, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

} // namespace KelUtility
