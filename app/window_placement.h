#pragma once

// Where the main window was, kept between runs as one line of text, and whether it may
// come back there: a window that would open off every monitor, or too small to use, is
// given the program's own placement instead.

#include <optional>
#include <string>
#include <vector>

namespace MyApp {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct WindowPlacement {
    ScreenRect bounds; // the restored window's outer rectangle, even when maximised
    bool maximised = false;
};

// "left top right bottom maximised", maximised as 1 or 0.
std::string PlacementText(const WindowPlacement& placement);
// None for text that is not such a line.
std::optional<WindowPlacement> PlacementFromText(const std::string& text);

// The kept placement when the window would come back usable: at least the minimum size,
// and a grip of its title bar on one of the monitors' work areas.
std::optional<WindowPlacement> PlacementToRestore(const std::optional<WindowPlacement>& kept,
                                                  const std::vector<ScreenRect>& workAreas,
                                                  int minimumWidth, int minimumHeight);

// Where a window opening at `bounds` goes when other windows of the program stand at that
// place: one step down and to the right for each, as Windows cascades windows, and back to
// the work area's top left corner when a step would take it past the work area. Its size
// stays; a place no other window has is kept as it is.
ScreenRect CascadedBounds(const ScreenRect& bounds, const std::vector<ScreenRect>& others,
                          int step, const ScreenRect& workArea);

} // namespace MyApp
