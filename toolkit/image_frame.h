#pragma once

// A panel that paints one tile of a larger bitmap: the tile at (column, row), counted in
// tiles of the frame's own size. With transparent set, black pixels of the tile leave the
// background visible.

#include "toolkit/panel_children.h"

namespace KelUtility {

class ImageFrame : public PanelChildren {
public:
    explicit ImageFrame(GUIElement* owner) : PanelChildren(owner) {}

    void Paint() override;

    HBITMAP bitmap = nullptr; // the whole sheet; not owned
    int column = 0;
    int row = 0;
    bool transparent = false;
};

} // namespace KelUtility
