#include "toolkit/gui_element.h"

#include "toolkit/element_registry.h"
#include "toolkit/font.h"
#include "toolkit/text_conversion.h"
#include "toolkit/window_procedure.h"

#include <commctrl.h>
#include <map>
#include <shellapi.h>
#include <tuple>

namespace KelUtility {
namespace {

const wchar_t* const kTooltipClass = L"tooltips_class32";
constexpr std::size_t kTooltipLimit = 2024;
constexpr DWORD kTooltipStyle = WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP;

// One tool covering the owner's whole client area. The first version of the record is
// enough for a subclassing tool and is understood by every version of the control.
TTTOOLINFOW ToolDescription(HWND owner, std::wstring& tipText) {
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(owner);
    GetClientRect(owner, &tool.rect);
    tool.lpszText = &tipText[0];
    return tool;
}

} // namespace

GUIElement::GUIElement(HINSTANCE moduleInstance)
    : serial(ElementRegistry::NextSerial()), instance(moduleInstance) {
    ElementRegistry::Add(this);
}

GUIElement::~GUIElement() {
    // A platform control outliving its element goes back to its own procedure, so it never
    // reaches the toolkit's procedure without an element behind it.
    if (previousWindowProcedure != nullptr && IsWindow(window))
        SetWindowLongPtrW(window, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(previousWindowProcedure));
    ElementRegistry::Remove(this);
}

void GUIElement::SetSize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    if (!created)
        return;
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOMOVE);
    UpdateToolTip();
    Refresh();
}

void GUIElement::SetBackColor(COLORREF color) {
    backColor = color;
    if (!created)
        return;
    // An opaque empty text is what fills the client rectangle with the colour.
    InvalidateRect(window, nullptr, FALSE);
    RECT client;
    GetClientRect(window, &client);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    SetBkColor(dc, backColor);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, L"", 0, nullptr);
    EndPaint(window, &paint);
    hasBackColor = true;
}

void GUIElement::SetEnabled(bool value) {
    enabled = value;
    if (created)
        EnableWindow(window, value);
}

void GUIElement::SetText(const std::wstring& value) {
    text = value;
    if (created)
        SetWindowTextW(window, text.c_str());
}

void GUIElement::SetText(const std::string& value) { SetText(ToWide(value)); }

void GUIElement::MouseUp(int mouseX, int mouseY) {
    if (OnMouseUp != nullptr)
        OnMouseUp(this, window, mouseX, mouseY);
}

void GUIElement::MouseDown(int mouseX, int mouseY) {
    if (OnMouseDown != nullptr)
        OnMouseDown(this, window, mouseX, mouseY);
}

void GUIElement::DoubleClick(int mouseX, int mouseY) {
    if (OnDoubleClick != nullptr)
        OnDoubleClick(this, window, mouseX, mouseY);
}

void GUIElement::RightMouseUp(int mouseX, int mouseY) {
    if (OnRightMouseUp != nullptr)
        OnRightMouseUp(this, window, mouseX, mouseY);
}

void GUIElement::RightMouseDown(int mouseX, int mouseY) {
    if (OnRightMouseDown != nullptr)
        OnRightMouseDown(this, window, mouseX, mouseY);
}

void GUIElement::RightDoubleClick(int mouseX, int mouseY) {
    if (OnRightDoubleClick != nullptr)
        OnRightDoubleClick(this, window, mouseX, mouseY);
}

void GUIElement::KeyUp(int key) {
    if (OnKeyUp != nullptr)
        OnKeyUp(this, key);
}

void GUIElement::KeyDown(int key) {
    if (OnKeyDown != nullptr)
        OnKeyDown(this, key);
}

bool GUIElement::KeyPress(int character) {
    return OnKeyPress == nullptr || OnKeyPress(this, character);
}

void GUIElement::MouseMove(int mouseX, int mouseY) {
    if (OnMouseMove != nullptr)
        OnMouseMove(this, mouseX, mouseY);
}

void GUIElement::MouseHover() {
    if (OnMouseHover != nullptr)
        OnMouseHover(this);
}

void GUIElement::MouseLeave() {
    if (OnMouseLeave != nullptr)
        OnMouseLeave(this);
}

void GUIElement::Focus() {
    if (created)
        SetFocus(window);
}

void GUIElement::Moved() {
    GetPosition();
    if (OnMove != nullptr)
        OnMove(this);
}

void GUIElement::Resized() {
    if (OnResize != nullptr)
        OnResize(this);
}

void GUIElement::Paint() {
    if (hasBackColor)
        SetBackColor(backColor);
    if (OnPaint != nullptr)
        OnPaint(this);
}

HBRUSH GUIElement::ControlColor(HDC) { return nullptr; }

bool GUIElement::Closing() { return OnClosing == nullptr || OnClosing(this); }

void GUIElement::Destroyed() {
    if (OnDestroyed != nullptr) {
        const std::uint64_t self = serial;
        OnDestroyed(this);
        if (!ElementRegistry::IsAlive(this, self))
            return;
    }
    destroyed = true;
}

void GUIElement::GotFocus() {
    textAtFocus = GetText();
    if (OnGotFocus != nullptr)
        OnGotFocus(this);
}

void GUIElement::LostFocus() {
    if (OnLostFocus != nullptr) {
        const std::uint64_t self = serial;
        OnLostFocus(this);
        if (!ElementRegistry::IsAlive(this, self))
            return;
    }
    if (GetText() != textAtFocus && OnChange != nullptr)
        OnChange(this);
}

void GUIElement::Activated() {
    if (OnActivate != nullptr)
        OnActivate(this);
}

void GUIElement::Deactivated() {
    if (OnDeactivate != nullptr)
        OnDeactivate(this);
}

void GUIElement::Created(HWND createdWindow) {
    if (window == nullptr)
        window = createdWindow;
    if (createdNotified)
        return;
    createdNotified = true;
    if (OnCreated != nullptr)
        OnCreated(this, window);
}

void GUIElement::Refresh() {
    if (created)
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

bool GUIElement::IsWaitCursor() { return waitCursor; }

bool GUIElement::IsHandCursor() { return handCursor; }

void GUIElement::SetWaitCursor(bool value) { waitCursor = value; }

void GUIElement::SetHandCursor(bool value) { handCursor = value; }

void GUIElement::Shown() {}

void GUIElement::Notify(int, std::vector<int>, std::vector<std::string>) {}

void GUIElement::Show() {
    if (!created)
        Create();
    ShowWindow(window, SW_SHOWNA);
    visible = true;
}

std::wstring GUIElement::GetText() {
    if (!created)
        return text;
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        text.clear();
        return text;
    }
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, &buffer[0], length + 1);
    if (copied != 0)
        text.assign(buffer.c_str(), static_cast<std::size_t>(copied));
    return text;
}

std::string GUIElement::GetNarrowText() { return ToNarrow(GetText()); }

POINT GUIElement::GetPosition() {
    if (created) {
        RECT bounds;
        GetWindowRect(window, &bounds);
        POINT corner = {bounds.left, bounds.top};
        if (parent != nullptr)
            ScreenToClient(parent->window, &corner);
        x = corner.x;
        y = corner.y;
    }
    return POINT{x, y};
}

SIZE GUIElement::GetSize() {
    if (created) {
        RECT bounds;
        GetWindowRect(window, &bounds);
        width = bounds.right - bounds.left;
        height = bounds.bottom - bounds.top;
    }
    return SIZE{width, height};
}

void GUIElement::SetPosition(int left, int top) {
    x = left;
    y = top;
}

void GUIElement::SetToolTip(const std::string& value) {
    tooltip = value;
    if (created)
        UpdateToolTip();
}

void GUIElement::AttachToolTip(HWND owner) {
    if (tooltip.empty() || owner == nullptr)
        return;
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    tooltipWindow = CreateWindowExW(WS_EX_TOPMOST, kTooltipClass, nullptr, kTooltipStyle, 0, 0,
                                    0, 0, owner, nullptr, nullptr, nullptr);
    SetWindowPos(tooltipWindow, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    std::wstring tipText = ToWide(tooltip.substr(0, kTooltipLimit));
    TTTOOLINFOW tool = ToolDescription(owner, tipText);
    SendMessageW(tooltipWindow, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void GUIElement::UpdateToolTip() {
    if (tooltipWindow == nullptr) {
        AttachToolTip(window);
        return;
    }
    std::wstring tipText = ToWide(tooltip.substr(0, kTooltipLimit));
    TTTOOLINFOW tool = ToolDescription(window, tipText);
    SendMessageW(tooltipWindow, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltipWindow, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void GUIElement::FinishCreate() {
    created = true;
    AttachToolTip(window);
    if (OnDropFiles != nullptr)
        DragAcceptFiles(window, TRUE);
    if (font != nullptr)
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font->Handle()), TRUE);
}

void GUIElement::Subclass() {
    previousWindowProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcedure)));
}

// Windows of the same kind share one class, registered the first time it is needed and
// kept for the life of the process: a class per window would grow the class table with
// every dialog opened. The class paints the button face; an element's own background
// colour is painted by the window procedure, so the class holds no brush of ours.
void GUIElement::RegisterOwnClass(const wchar_t* prefix, UINT style, HINSTANCE classInstance,
                                  HICON icon) {
    using Kind = std::tuple<std::wstring, UINT, HINSTANCE, HICON>;
    static std::map<Kind, std::wstring> registered;
    id = ElementRegistry::NextId();
    windowClass = {};
    windowClass.style = style;
    windowClass.lpfnWndProc = &WindowProcedure;
    windowClass.hInstance = classInstance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    const Kind kind{prefix, style, classInstance, icon};
    const auto known = registered.find(kind);
    if (known != registered.end()) {
        className = known->second;
    } else {
        // Named in the order of registration: Window0, PanelChildren1, ...
        className = prefix + std::to_wstring(registered.size());
        windowClass.lpszClassName = className.c_str();
        if (RegisterClassW(&windowClass) != 0)
            registered.emplace(kind, className);
    }
    windowClass.lpszClassName = className.c_str();
}

} // namespace KelUtility
