#include "toolkit/list_box.h"

#include "toolkit/redraw_pause.h"
#include "toolkit/text_conversion.h"

#include <algorithm>

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

void ListBox::AddItems(const std::vector<std::string>& texts,
                       const std::vector<std::string>& values) {
    const std::size_t count = std::min(texts.size(), values.size());
    rowTexts.reserve(rowTexts.size() + count);
    rowValues.reserve(rowValues.size() + count);
    std::size_t characters = 0;
    for (std::size_t i = 0; i < count; ++i)
        characters += texts[i].size() + 1;
    const RedrawPause pause(created ? window : nullptr);
    if (created)
        SendMessageW(window, LB_INITSTORAGE, count, characters * sizeof(wchar_t));
    for (std::size_t i = 0; i < count; ++i)
        AddItem(texts[i], values[i]);
}

bool ListBox::Clear() {
    return RemoveFrom(0);
}

bool ListBox::RemoveFrom(std::size_t first) {
    if (rowTexts.size() <= first)
        return false;
    const RedrawPause pause(created ? window : nullptr);
    while (rowTexts.size() > first) {
        const WPARAM last = rowTexts.size() - 1;
        if (created && SendMessageW(window, LB_DELETESTRING, last, 0) == LB_ERR)
            return false;
        rowTexts.pop_back();
        rowValues.pop_back();
    }
    return true;
}

void ListBox::SetRowText(std::size_t row, const std::string& rowText) {
    if (row >= rowTexts.size())
        return;
    rowTexts[row] = ToWide(rowText);
    if (!created)
        return;
    const int selected = GetSelectedIndex();
    const RedrawPause pause(window);
    SendMessageW(window, LB_DELETESTRING, row, 0);
    SendMessageW(window, LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(rowTexts[row].c_str()));
    if (selected == static_cast<int>(row))
        SetSelectedIndex(selected);
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
