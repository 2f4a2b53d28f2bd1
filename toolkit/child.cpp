#include "toolkit/child.h"

#include "toolkit/element_registry.h"

namespace KelUtility {

DWORD Child::BaseStyle() const {
    return WS_CHILD | WS_VISIBLE | (enabled ? 0 : WS_DISABLED);
}

bool Child::CreateControlWindow(const wchar_t* platformClass, DWORD style, DWORD extendedStyle) {
    id = ElementRegistry::NextId();
    HWND owner = parent != nullptr ? parent->window : nullptr;
    window = CreateWindowExW(extendedStyle, platformClass, text.c_str(), style, x, y, width,
                             height, owner, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             nullptr, nullptr);
    if (window == nullptr) {
        GetLastError();
        return false;
    }
    Subclass();
    return true;
}

} // namespace KelUtility
