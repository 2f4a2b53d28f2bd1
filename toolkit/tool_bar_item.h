#pragma once

// One button of a tool bar. It has no window: it holds the button's image, style, tooltip
// and click handler, and takes its command id the first time its tool bar builds it.

#include "toolkit/child.h"
#include "toolkit/command_element.h"

namespace KelUtility {

class ToolBar;

class ToolBarItem : public Child, public CommandElement {
public:
    static constexpr std::size_t kLabelSize = 2024;

    explicit ToolBarItem(ToolBar* toolBar);

    void Create() override;

    int imageIndex = 0;     // 0: resolved by the tool bar's next refresh
    int bitmapResource = 0; // resource id of a strip of images; 0 for none
    int imageCount = 0;     // images in that strip; 0: mapped by AddBitmap; below 0: none
    int imageOffset = 0;    // the item's image inside the strip, or the last strip added
    COLORREF maskColour = 0;
    BYTE buttonStyle = 0;   // TBSTYLE_SEP makes a separator
    bool checked = false;   // the state of a BTNS_CHECK button, kept when the bar is refreshed
    wchar_t label[kLabelSize] = {};
};

} // namespace KelUtility
