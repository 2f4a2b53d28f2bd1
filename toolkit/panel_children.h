#pragma once

// A child window that hosts other elements, colours them and can scroll. Panels share
// window classes whose procedure is the toolkit's. With floating set
// it is a separate tool window instead.

#include "toolkit/child.h"

namespace KelUtility {

class PanelChildren : public Child {
public:
    using ScrollHandler = void (*)(GUIElement* element, int delta);

    explicit PanelChildren(GUIElement* owner);
    ~PanelChildren() override;

    void Create() override;
    HBRUSH ControlColor(HDC deviceContext) override;

    // Range and a page of a tenth of it, on each enabled bar.
    void SetScrollRange(int minimum, int maximum);
    // Range 0 to max plus a tenth, page a tenth of max, whether the bar is enabled or not.
    void SetVScrollMax(int maximum);
    void SetHScrollMax(int maximum);
    void SetVScroll(bool value);
    void SetHScroll(bool value);
    void ScrollHomeH();
    void ScrollHomeV();

    DWORD Style() const;

    bool colorChildren = true;
    ScrollHandler OnVScroll = nullptr;
    ScrollHandler OnHScroll = nullptr;
    bool border = false;
    bool flatBorder = false;
    bool vScroll = false;
    bool hScroll = false;
    int scrollMin = 0;
    int scrollMax = 100;
    bool tabStop = true;
    // A panel that only groups controls: Tab walks into its controls in the order they
    // were made, as into a dialog's, instead of stopping at the panel.
    bool controlParent = false;
    HBRUSH controlBrush = nullptr; // owned
    COLORREF childTextColor = static_cast<COLORREF>(-1);
    COLORREF childBackColor = static_cast<COLORREF>(-1);
    bool floating = false;

private:
    void ApplyStyle();
    void ApplyScrollMax(int bar, int maximum);
    void ScrollHome(int bar);
    void ReleaseControlBrush();
};

} // namespace KelUtility
