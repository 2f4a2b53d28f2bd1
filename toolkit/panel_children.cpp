#include "toolkit/panel_children.h"

#include "toolkit/element_registry.h"
#include "toolkit/font.h"
#include "toolkit/window_procedure.h"

namespace KelUtility {
namespace {

constexpr COLORREF kNoColor = static_cast<COLORREF>(-1);
constexpr DWORD kFloatingStyle = 0x80;
constexpr DWORD kFloatingExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW;

void SetRange(HWND window, int bar, int minimum, int maximum, int page) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = minimum;
    info.nMax = maximum;
    info.nPage = static_cast<UINT>(page);
    SetScrollInfo(window, bar, &info, TRUE);
}

} // namespace

PanelChildren::PanelChildren(GUIElement* owner) : Child(owner) { typeName = "panel"; }

PanelChildren::~PanelChildren() {
    ReleaseControlBrush();
    ForgetElement(this);
}

DWORD PanelChildren::Style() const {
    DWORD style = floating ? kFloatingStyle : WS_CHILD | WS_VISIBLE;
    if (tabStop && !controlParent)
        style |= WS_TABSTOP;
    if (!enabled)
        style |= WS_DISABLED;
    if (border)
        style |= WS_BORDER;
    if (hScroll)
        style |= WS_HSCROLL;
    if (vScroll)
        style |= WS_VSCROLL;
    return style;
}

void PanelChildren::Create() {
    if (created)
        return;
    // A parent that is itself a child has no instance of its own: the class then gets none.
    HINSTANCE classInstance = parent != nullptr ? parent->instance : nullptr;
    RegisterOwnClass(L"PanelChildren", CS_DBLCLKS, classInstance, nullptr);
    DWORD extendedStyle = floating ? kFloatingExStyle : 0;
    if (border && !flatBorder)
        extendedStyle |= WS_EX_CLIENTEDGE;
    if (controlParent)
        extendedStyle |= WS_EX_CONTROLPARENT;
    HWND owner = floating || parent == nullptr ? nullptr : parent->window;
    HMENU controlId = floating ? nullptr : reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    {
        ElementRegistry::CreationScope creating(this);
        window = CreateWindowExW(extendedStyle, className.c_str(), text.c_str(), Style(), x, y,
                                 width, height, owner, controlId, classInstance, nullptr);
    }
    if (window == nullptr)
        GetLastError();
    if (!floating) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    created = true;
    if (OnCreated != nullptr)
        OnCreated(this, window);
    SetScrollRange(scrollMin, scrollMax);
    FinishCreate();
}

void PanelChildren::ReleaseControlBrush() {
    // The button-face brush belongs to the system; only a brush made here is deleted.
    if (controlBrush != nullptr && controlBrush != GetSysColorBrush(COLOR_BTNFACE))
        DeleteObject(controlBrush);
    controlBrush = nullptr;
}

HBRUSH PanelChildren::ControlColor(HDC deviceContext) {
    if (!colorChildren)
        return nullptr;
    ReleaseControlBrush();
    if (font != nullptr)
        SelectObject(deviceContext, font->Handle());
    const COLORREF background = childBackColor != kNoColor ? childBackColor : backColor;
    if (background != kNoColor) {
        SetBkColor(deviceContext, background);
        controlBrush = CreateSolidBrush(background);
    } else {
        controlBrush = GetSysColorBrush(COLOR_BTNFACE);
    }
    if (childTextColor != kNoColor)
        SetTextColor(deviceContext, childTextColor);
    return controlBrush;
}

void PanelChildren::SetScrollRange(int minimum, int maximum) {
    scrollMin = minimum;
    scrollMax = maximum;
    if (!created)
        return;
    const int page = (maximum - minimum) / 10;
    if (vScroll)
        SetRange(window, SB_VERT, minimum, maximum, page);
    if (hScroll)
        SetRange(window, SB_HORZ, minimum, maximum, page);
}

void PanelChildren::ApplyScrollMax(int bar, int maximum) {
    scrollMin = 0;
    scrollMax = maximum;
    if (created)
        SetRange(window, bar, 0, maximum + maximum / 10, maximum / 10);
}

void PanelChildren::SetVScrollMax(int maximum) { ApplyScrollMax(SB_VERT, maximum); }

void PanelChildren::SetHScrollMax(int maximum) { ApplyScrollMax(SB_HORZ, maximum); }

void PanelChildren::ApplyStyle() {
    if (!created)
        return;
    if (SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(Style())) == 0) {
        GetLastError();
        return;
    }
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void PanelChildren::SetVScroll(bool value) {
    vScroll = value;
    ApplyStyle();
}

void PanelChildren::SetHScroll(bool value) {
    hScroll = value;
    ApplyStyle();
}

void PanelChildren::ScrollHome(int bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(window, bar, &info) || info.nPos <= 0)
        return;
    SetScrollPos(window, bar, 0, TRUE);
    if (bar == SB_HORZ)
        ScrollWindow(window, info.nPos, 0, nullptr, nullptr);
    else
        ScrollWindow(window, 0, info.nPos, nullptr, nullptr);
    UpdateWindow(window);
}

void PanelChildren::ScrollHomeH() { ScrollHome(SB_HORZ); }

void PanelChildren::ScrollHomeV() { ScrollHome(SB_VERT); }

} // namespace KelUtility
