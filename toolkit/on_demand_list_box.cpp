#include "toolkit/on_demand_list_box.h"

#include "toolkit/text_conversion.h"

#include <algorithm>
#include <cstring>

namespace KelUtility {

OnDemandListBox::OnDemandListBox(GUIElement* owner) : Child(owner) {
    typeName = "listbox";
    width = 130;
    height = 130;
}

void OnDemandListBox::Create() {
    if (created)
        return;
    const DWORD style = BaseStyle() | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NODATA |
                        LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT | (border ? WS_BORDER : 0);
    CreateControlWindow(L"ListBox", style, border ? WS_EX_CLIENTEDGE : 0);
    created = true;
    SendMessageW(window, LB_SETCOUNT, m_rowCount, 0);
    FinishCreate();
    FitRowHeight();
}

// Rows as tall as a list of strings makes them in the same font: the font's height.
void OnDemandListBox::FitRowHeight() {
    HDC context = GetDC(window);
    if (context == nullptr)
        return;
    const auto shown = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = SelectObject(context, shown != nullptr ? shown : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(context, &metrics);
    SelectObject(context, previous);
    ReleaseDC(window, context);
    SendMessageW(window, LB_SETITEMHEIGHT, 0, std::max<LONG>(metrics.tmHeight, 1));
}

void OnDemandListBox::SetRowCount(std::size_t count) {
    if (count == m_rowCount)
        return;
    m_rowCount = count;
    if (!created)
        return;
    const int selected = GetSelectedIndex();
    const int top = static_cast<int>(SendMessageW(window, LB_GETTOPINDEX, 0, 0));
    SendMessageW(window, LB_SETCOUNT, count, 0);
    SendMessageW(window, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(top, 0)), 0);
    if (selected >= 0 && static_cast<std::size_t>(selected) < count)
        SetSelectedIndex(selected);
    InvalidateRect(window, nullptr, TRUE);
}

void OnDemandListBox::ShowRows(std::size_t count, int selected) {
    if (!created) {
        m_rowCount = count;
        return;
    }
    // Hidden from drawing as the default handling of WM_SETREDRAW hides a window, which
    // the list's own handling does not: so neither its rows nor its scroll bar are painted
    // on the way, and both are painted once afterwards.
    SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    DefWindowProcW(window, WM_SETREDRAW, FALSE, 0);
    SetRowCount(count);
    SetSelectedIndex(selected);
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    DefWindowProcW(window, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

int OnDemandListBox::GetSelectedIndex() {
    if (!created)
        return -1;
    return static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0));
}

void OnDemandListBox::SetSelectedIndex(int index) {
    if (created)
        SendMessageW(window, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::wstring OnDemandListBox::WideRowText(std::size_t row) const {
    return RowText != nullptr && row < m_rowCount ? ToWide(RowText(row)) : std::wstring();
}

// Drawn as a list of strings draws its rows: the system's colours for a selected row, a
// small margin, and the focus frame on the row that has it (or on the empty list).
void OnDemandListBox::DrawRow(const DRAWITEMSTRUCT& item) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0 && item.itemID != static_cast<UINT>(-1);
    if (item.itemAction != ODA_FOCUS && item.itemID != static_cast<UINT>(-1)) {
        const bool enabled = IsWindowEnabled(window) != FALSE;
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, GetSysColor(!enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT text = item.rcItem;
        text.left += 2;
        const std::wstring row = WideRowText(item.itemID);
        DrawTextW(item.hDC, row.c_str(), static_cast<int>(row.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if ((item.itemState & ODS_FOCUS) != 0 || item.itemAction == ODA_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

LRESULT OnDemandListBox::AnswerTextMessage(UINT message, WPARAM row, LPARAM buffer) {
    if (row >= m_rowCount)
        return LB_ERR;
    const std::wstring text = WideRowText(row);
    if (message == LB_GETTEXT && buffer != 0)
        std::memcpy(reinterpret_cast<wchar_t*>(buffer), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    return static_cast<LRESULT>(text.size());
}

} // namespace KelUtility
