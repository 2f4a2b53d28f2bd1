#include "toolkit/image_frame.h"

#include "toolkit/drawing.h"

namespace KelUtility {

void ImageFrame::Paint() {
    // The first paint comes from the creation itself, before the element is marked
    // created: a frame that waited for the flag would stay blank until covered and shown
    // again.
    if (window != nullptr && bitmap != nullptr) {
        Drawing drawing(this);
        RECT client;
        if (hasBackColor && GetClientRect(window, &client))
            drawing.FillRect(0, 0, client.right, client.bottom, backColor);
        const SIZE tile = GetSize();
        if (transparent)
            drawing.DrawBitmapTransparent(0, 0, tile.cx, tile.cy, bitmap, column * tile.cx,
                                          row * tile.cy);
        else
            drawing.DrawBitmap(0, 0, tile.cx, tile.cy, bitmap, column * tile.cx, row * tile.cy);
    }
    // The element's own paint would cover the tile with the background colour.
    const bool hadBackColor = hasBackColor;
    hasBackColor = false;
    PanelChildren::Paint();
    hasBackColor = hadBackColor;
}

} // namespace KelUtility
