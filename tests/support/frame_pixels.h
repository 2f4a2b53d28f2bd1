#pragma once

// The pixels of one frame a 3D panel draws, read from its back buffer before the frame is
// presented, or of a window's client area as the screen shows it.

#include "viewport/d3d_panel.h"

#include <cstdint>
#include <vector>

namespace KelTest {

struct FramePixels {
    bool drawn = false;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB

    std::uint32_t At(int x, int y) const { return pixels[y * width + x]; }
    // How many pixels of the frame differ from the colour.
    int CountOtherThan(std::uint32_t color) const;
    int CountOtherThanIn(std::uint32_t color, int left, int top, int right, int bottom) const;
};

FramePixels DrawFrame(KelUtility::D3DPanel& panel);
// The client area of a window, read from the screen: what a user sees, other windows on top
// included.
FramePixels ScreenPixels(HWND window);
// How many pixels of the window's client area on screen differ from the frame, once the
// screen has caught up (the platform may show a window's drawing a little later); -1 when
// the sizes differ.
int ScreenDifference(const FramePixels& frame, HWND window);

} // namespace KelTest
