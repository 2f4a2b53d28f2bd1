#pragma once

// Dots per inch of the screen and of a window, for a program that scales itself to each
// monitor. Lengths are designed at 96 DPI, the platform's 100 %, and scaled from there.

#include <windows.h>

namespace KelUtility {

constexpr int kDesignDpi = 96;

// The window's DPI where the system knows one per window (Windows 10 and later), else the
// screen's.
int WindowDpi(HWND window);
// The primary screen's DPI, for what is sized before its window exists.
int ScreenDpi();
// A length designed at 96 DPI, at `dpi`, rounded to the nearest pixel.
int Scaled(int length, int dpi);
// The DPI at which a layout designed `designedWidth` pixels wide at 96 DPI fits in `room`
// pixels: `dpi` itself where the layout fits, less where it would not, never below 96. A
// screen too narrow for its own scale then shows the layout as large as it can, whole.
int FittingDpi(int dpi, int room, int designedWidth);
// The width of the work area of the monitor that holds most of `area`.
int WorkAreaWidth(const RECT& area);
// A system measure (SM_CXVSCROLL and the like) at `dpi`, where the system gives one per
// DPI (Windows 10 and later); else the measure of the screen.
int SystemMetric(int index, int dpi);

} // namespace KelUtility
