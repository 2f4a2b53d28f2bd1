#pragma once

// A strip of image buttons. The buttons are the tool bar's items; it rebuilds them from
// the items when it is created and at each RefreshButtons. The platform's standard small
// images come first, then the strips the items bring.

#include "toolkit/child.h"

#include <commctrl.h>
#include <map>
#include <vector>

namespace KelUtility {

class ToolBarItem;

class ToolBar : public Child {
public:
    static constexpr std::size_t kMaximumButtons = 100;

    explicit ToolBar(GUIElement* owner);
    ~ToolBar() override;

    void Create() override;
    // Items are not owned; buttons appear at Create or the next RefreshButtons.
    void AddItem(ToolBarItem* item);
    // Adds a bitmap resource with one colour shown as the button face; the index of its
    // first image, -1 when the tool bar has no window yet.
    int AddBitmap(int resourceId, COLORREF maskColour);
    void RefreshButtons();
    DWORD Style() const;

    TBADDBITMAP standardImages = {HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
    std::vector<ToolBarItem*> items;
    std::vector<HBITMAP> bitmaps; // owned
    std::map<int, int> largeStrips; // resource id to its first image
    bool flat = false;
    bool autoResize = true;
    bool alignTop = true;
    bool alignBottom = false;
    bool alignLeft = false;
    bool alignRight = false;
    bool border = false;
    bool showText = false;
    // 24-pixel images, for 144 DPI and above: the platform's large standard images, and the
    // items' strips, drawn at 16 pixels, stretched to match. Set before Create.
    bool largeImages = false;

private:
    int ResolveImage(ToolBarItem& item, int& lastStrip);
    // The first index of a strip of 16-pixel images, added stretched once.
    int AddLargeStrip(int resourceId, int count);
    void RemoveButtons();
};

} // namespace KelUtility
