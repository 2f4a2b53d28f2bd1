#include "toolkit/child.h"

#include "toolkit/element_registry.h"

namespace KelUtility {

DWORD Child::BaseStyle() const {
    return WS_CHILD | WS_VISIBLE | (enabled ? 0 : WS_DISABLED);
}

bool Child::CreateControlWindow(const wchar_t* platformClass, DWORD style, DWORD extendedStyle) {
    const RECT bounds = {x, y, x + width, y + height};
    return CreateControlWindow(platformClass, style, extendedStyle, bounds, nullptr);
}

bool Child::CreateControlWindow(const wchar_t* platformClass, DWORD style, DWORD extendedStyle,
                                const RECT& bounds, HINSTANCE module) {
    id = ElementRegistry::NextId();
    HWND owner = parent != nullptr ? parent->window : nullptr;
    window =
        CreateWindowExW(extendedStyle, platformClass, text.c_str(), style, bounds.left, bounds.top,
                        bounds.right - bounds.left, bounds.bottom - bounds.top, owner,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
    if (window == nullptr) {
        GetLastError();
        return false;
    }
    Subclass();
    return true;
}

} // namespace KelUtility
