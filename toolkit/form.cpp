#include "toolkit/form.h"

#include "toolkit/element_registry.h"
#include "toolkit/window_procedure.h"

namespace KelUtility {
namespace {

constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
constexpr DWORD kCaptionedStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX;
constexpr DWORD kToolDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW;

} // namespace

Form::Form(HINSTANCE instance, Kind kind, Form* ownerForm) : GUIElement(instance), owner(ownerForm) {
    typeName = "form";
    toolDialog = kind == Kind::ToolDialog;
}

Form::~Form() {
    if (iconHandle != nullptr)
        DestroyIcon(iconHandle);
    if (accelerators != nullptr)
        DestroyAcceleratorTable(accelerators);
    if (created) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        created = false;
        DestroyWindow(window);
    }
    ForgetElement(this);
}

void Form::FormExtension() {}

HWND Form::OwnerWindow() const {
    return owner != nullptr && owner->created ? owner->window : nullptr;
}

DWORD Form::Style() const {
    DWORD style = captioned ? kCaptionedStyle : WS_POPUP;
    if (captioned && minimizeBox)
        style |= WS_MINIMIZEBOX;
    if (captioned && resizable)
        style |= WS_THICKFRAME;
    if (toolDialog)
        style = kCaptionedStyle | (modalFrame ? DS_MODALFRAME : 0);
    if (!resizable)
        style &= ~static_cast<DWORD>(WS_MAXIMIZEBOX);
    if (!minimizeBox)
        style &= ~static_cast<DWORD>(WS_MINIMIZEBOX);
    if (!enabled)
        style |= WS_DISABLED;
    return style;
}

DWORD Form::ExtendedStyle() const {
    if (!toolDialog)
        return 0;
    return kToolDialogExStyle | (topmost ? WS_EX_TOPMOST : 0);
}

void Form::Create() {
    if (created)
        return;
    HICON icon = iconId == 0 ? LoadIconW(nullptr, IDI_APPLICATION)
                             : LoadIconW(instance, MAKEINTRESOURCEW(iconId));
    RegisterOwnClass(L"Window", kClassStyle, instance, icon);
    {
        ElementRegistry::CreationScope creating(this);
        HWND made = CreateWindowExW(ExtendedStyle(), className.c_str(), text.c_str(), Style(), x,
                                    y, width, height, OwnerWindow(), nullptr, instance, nullptr);
        if (window == nullptr)
            window = made;
    }
    if (Dispatch().mainWindow == nullptr)
        Dispatch().mainWindow = window;
    Created(window);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    FinishCreate();
}

void Form::SetClientSize(int clientWidth, int clientHeight) {
    if (!created) {
        SetSize(clientWidth, clientHeight);
        return;
    }
    RECT bounds;
    RECT client;
    GetWindowRect(window, &bounds);
    GetClientRect(window, &client);
    int frameWidth = (bounds.right - bounds.left) - (client.right - client.left);
    const int frameHeight = (bounds.bottom - bounds.top) - (client.bottom - client.top);
    if (frameWidth < 0)
        frameWidth = 0;
    GetPosition();
    SetSize(clientWidth + frameWidth, clientHeight + (frameHeight > 0 ? frameHeight : 0));
}

void Form::CenterOnScreen() {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (created)
        GetSize();
    x = (screenWidth - width) / 2;
    y = (screenHeight - height) / 2;
    if (!created)
        return;
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOSIZE);
    Refresh();
}

void Form::SetIcon(int resourceId) {
    iconId = resourceId;
    if (!created)
        return;
    HICON previous = iconHandle;
    iconHandle = LoadIconW(instance, MAKEINTRESOURCEW(resourceId));
    if (iconHandle == nullptr)
        return;
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(iconHandle));
    if (previous != nullptr)
        DestroyIcon(previous);
}

void Form::AddHotKey(int modifiers, int key, HotKeyHandler handler) {
    hotKeys.push_back(HotKey{modifiers, key, handler});
}

void Form::RegisterHotKeys() {
    for (std::size_t i = 0; i < hotKeys.size(); ++i)
        RegisterHotKey(window, static_cast<int>(i + 1), static_cast<UINT>(hotKeys[i].modifiers),
                       static_cast<UINT>(hotKeys[i].key));
}

void Form::UnregisterHotKeys() {
    for (std::size_t i = 0; i < hotKeys.size(); ++i)
        UnregisterHotKey(window, static_cast<int>(i + 1));
}

void Form::SetCompanion(GUIElement* element) {
    companion = element;
    companionSerial = element != nullptr ? element->serial : 0;
}

} // namespace KelUtility
