#include "app/window_placement.h"

#include <algorithm>
#include <sstream>

namespace MyApp {
namespace {

// A title bar the user can take with the mouse: this high, and this wide on one monitor.
constexpr int kTitleHeight = 24;
constexpr int kGripWidth = 64;
// Larger than any desktop: a size beyond it is damage, not a window.
constexpr int kLargestSide = 32767;

// In 64 bits: a damaged line may hold any 32-bit numbers.
bool TitleOn(const ScreenRect& bounds, const ScreenRect& area) {
    const long long overlap = static_cast<long long>(std::min(bounds.right, area.right)) -
                              std::max(bounds.left, area.left);
    return overlap >= kGripWidth && bounds.top >= area.top &&
           static_cast<long long>(bounds.top) + kTitleHeight <= area.bottom;
}

ScreenRect Shifted(const ScreenRect& r, int x, int y) {
    return {r.left + x, r.top + y, r.right + x, r.bottom + y};
}

} // namespace

std::string PlacementText(const WindowPlacement& placement) {
    const ScreenRect& b = placement.bounds;
    return std::to_string(b.left) + " " + std::to_string(b.top) + " " + std::to_string(b.right) +
           " " + std::to_string(b.bottom) + " " + (placement.maximised ? "1" : "0");
}

std::optional<WindowPlacement> PlacementFromText(const std::string& text) {
    std::istringstream in(text);
    WindowPlacement placement;
    ScreenRect& b = placement.bounds;
    int maximised = -1;
    in >> b.left >> b.top >> b.right >> b.bottom >> maximised;
    if (in.fail() || (maximised != 0 && maximised != 1) || !(in >> std::ws).eof())
        return std::nullopt;
    placement.maximised = maximised == 1;
    return placement;
}

std::optional<WindowPlacement> PlacementToRestore(const std::optional<WindowPlacement>& kept,
                                                  const std::vector<ScreenRect>& workAreas,
                                                  int minimumWidth, int minimumHeight) {
    if (!kept)
        return std::nullopt;
    const ScreenRect& b = kept->bounds;
    const long long width = static_cast<long long>(b.right) - b.left;
    const long long height = static_cast<long long>(b.bottom) - b.top;
    if (width < minimumWidth || height < minimumHeight || width > kLargestSide ||
        height > kLargestSide)
        return std::nullopt;
    const bool shown = std::any_of(workAreas.begin(), workAreas.end(),
                                   [&](const ScreenRect& area) { return TitleOn(b, area); });
    return shown ? kept : std::nullopt;
}

// Only the corner counts: a window moved by hand, even a little, is in sight already.
ScreenRect CascadedBounds(const ScreenRect& bounds, const std::vector<ScreenRect>& others,
                          int step, const ScreenRect& workArea) {
    const auto taken = [&](const ScreenRect& r) {
        return std::any_of(others.begin(), others.end(), [&](const ScreenRect& other) {
            return other.left == r.left && other.top == r.top;
        });
    };
    ScreenRect placed = bounds;
    // Each other window takes one place at most, so this many steps find a free one.
    for (std::size_t tries = 0; tries <= others.size() && taken(placed); ++tries) {
        placed = Shifted(placed, step, step);
        if (placed.right > workArea.right || placed.bottom > workArea.bottom)
            placed = Shifted(placed, workArea.left - placed.left, workArea.top - placed.top);
    }
    return placed;
}

} // namespace MyApp
