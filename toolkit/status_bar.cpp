#include "toolkit/status_bar.h"

#include "toolkit/text_conversion.h"

#include <algorithm>
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
    ApplyParts();
}

void StatusBar::Resized() {
    Child::Resized();
    ApplyParts();
}

void StatusBar::SetRightPart(int partWidth) {
    m_rightWidth = partWidth;
    ApplyParts();
}

// The bar paints a new text at once, so a text it already shows is not set again.
void StatusBar::SetPartText(int part, const std::string& content) {
    if (part == 0) {
        SetText(content);
        return;
    }
    if (!created)
        return;
    const std::wstring wide = ToWide(content);
    const auto shownLength = LOWORD(SendMessageW(window, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0));
    if (shownLength == wide.size()) {
        std::wstring shown(shownLength + 1, L'\0');
        SendMessageW(window, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(shown.data()));
        if (shown.compare(0, shownLength, wide) == 0)
            return;
    }
    SendMessageW(window, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(wide.c_str()));
}

// The parts follow the bar's width; the first keeps its text.
void StatusBar::ApplyParts() {
    if (!created || m_rightWidth <= 0)
        return;
    RECT client = {};
    GetClientRect(window, &client);
    const int edges[] = {std::max<int>(client.right - m_rightWidth, 0), -1};
    SendMessageW(window, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

} // namespace KelUtility
