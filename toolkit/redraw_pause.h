#pragma once

// Stops a window and its children from painting while it lives, and has them painted once,
// whole, when it goes: many changes then cost one paint instead of one each. Under Wine a
// paint made at once (a list's scroll bar after each row) costs milliseconds.

#include <windows.h>

namespace KelUtility {

class RedrawPause {
public:
    explicit RedrawPause(HWND window) : m_window(window) {
        if (m_window != nullptr)
            SendMessageW(m_window, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawPause() {
        if (m_window == nullptr)
            return;
        SendMessageW(m_window, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(m_window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND m_window;
};

} // namespace KelUtility
