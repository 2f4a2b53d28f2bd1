#include "toolkit/dpi.h"

namespace KelUtility {

// Looked up, not linked: Windows 7 and 8 have no such function, and the program must start
// there all the same.
int WindowDpi(HWND window) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT dpi = dpiForWindow != nullptr && window != nullptr ? dpiForWindow(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : ScreenDpi();
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

int SystemMetric(int index, int dpi) {
    using MetricForDpi = int(WINAPI*)(int, UINT);
    static const auto metricForDpi = reinterpret_cast<MetricForDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    return metricForDpi != nullptr ? metricForDpi(index, static_cast<UINT>(dpi))
                                   : GetSystemMetrics(index);
}

int FittingDpi(int dpi, int room, int designedWidth) {
    if (dpi <= kDesignDpi || designedWidth <= 0)
        return dpi;
    const int fitting = room * kDesignDpi / designedWidth;
    return fitting >= dpi ? dpi : (fitting > kDesignDpi ? fitting : kDesignDpi);
}

int WorkAreaWidth(const RECT& area) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor))
        return GetSystemMetrics(SM_CXSCREEN);
    return monitor.rcWork.right - monitor.rcWork.left;
}

int Scaled(int length, int dpi) {
    return MulDiv(length, dpi, kDesignDpi);
}

} // namespace KelUtility
