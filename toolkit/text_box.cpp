#include "toolkit/text_box.h"

#include "toolkit/text_conversion.h"

namespace KelUtility {
namespace {

constexpr DWORD kMultilineStyle = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
constexpr wchar_t kPasswordCharacter = L'*';

} // namespace

TextBox::TextBox(GUIElement* owner, const std::string& content) : Child(owner) {
    typeName = "textbox";
    text = ToWide(content);
    width = 80;
    height = 30;
}

DWORD TextBox::Style() const {
    DWORD style = BaseStyle() | WS_TABSTOP;
    if (horizontalScroll)
        style |= WS_HSCROLL;
    if (verticalScroll)
        style |= WS_VSCROLL;
    if (numbersOnly)
        style |= ES_NUMBER;
    if (border)
        style |= WS_BORDER;
    if (multiline)
        style |= kMultilineStyle | (wordWrap ? 0 : ES_AUTOHSCROLL);
    else
        style |= ES_AUTOHSCROLL;
    if (readOnly)
        style |= ES_READONLY;
    if (upperCase)
        style |= ES_UPPERCASE;
    else if (lowerCase)
        style |= ES_LOWERCASE;
    if (alignRight)
        style |= ES_RIGHT;
    else if (alignCenter)
        style |= ES_CENTER;
    return style;
}

void TextBox::Create() {
    if (created)
        return;
    CreateControlWindow(L"edit", Style(), border ? WS_EX_CLIENTEDGE : 0);
    created = true;
    if (maxLength != -1)
        SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
    FinishCreate();
}

void TextBox::ApplyStyle() {
    if (!created)
        return;
    if (SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(Style())) == 0)
        return;
    SendMessageW(window, EM_SETREADONLY, readOnly, 0);
    SendMessageW(window, EM_SETPASSWORDCHAR, password ? kPasswordCharacter : 0, 0);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void TextBox::SetMaxLength(int length) {
    maxLength = length;
    if (created)
        SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
}

// The margins an edit control keeps depend on its font and the platform (half a character
// on each side for a TrueType face under Wine), so the room is read from the control itself.
int TextBox::WidenFor(const wchar_t* text) {
    if (!created)
        return 0;
    HDC dc = GetDC(window);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &extent);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    RECT outer = {};
    RECT shown = {};
    GetWindowRect(window, &outer);
    SendMessageW(window, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&shown));
    constexpr int kCaret = 2;
    const int missing = extent.cx + kCaret - (shown.right - shown.left);
    if (missing <= 0)
        return 0;
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + missing,
                 outer.bottom - outer.top, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    width = outer.right - outer.left + missing;
    return missing;
}

} // namespace KelUtility
