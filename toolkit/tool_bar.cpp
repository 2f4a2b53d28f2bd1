#include "toolkit/tool_bar.h"

#include "toolkit/tool_bar_item.h"

#include <algorithm>

namespace KelUtility {
namespace {

constexpr DWORD kBaseStyle = WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_NODIVIDER;
constexpr int kSmallImage = 16;
constexpr int kLargeImage = 24;
constexpr COLORREF kStripFace = RGB(192, 192, 192);

// A strip's bitmap with its grey shown as the button face, stretched from 16 to 24 pixels
// with the platform's smoothing.
HBITMAP StretchedStrip(int resourceId) {
    COLORMAP faceForMask = {kStripFace, GetSysColor(COLOR_BTNFACE)};
    HBITMAP source = CreateMappedBitmap(GetModuleHandleW(nullptr), resourceId, 0, &faceForMask, 1);
    BITMAP size = {};
    if (source == nullptr || GetObjectW(source, sizeof size, &size) == 0)
        return source;
    const int stretchedWidth = size.bmWidth * kLargeImage / kSmallImage;
    const int stretchedHeight = size.bmHeight * kLargeImage / kSmallImage;
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP stretched = CreateCompatibleBitmap(screen, stretchedWidth, stretchedHeight);
    HGDIOBJ oldFrom = SelectObject(from, source);
    HGDIOBJ oldTo = SelectObject(to, stretched);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, stretchedWidth, stretchedHeight, from, 0, 0, size.bmWidth, size.bmHeight,
               SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    DeleteObject(source);
    return stretched;
}

} // namespace

ToolBar::ToolBar(GUIElement* owner) : Child(owner) {
    typeName = "toolbar";
    width = 190;
    height = 25;
}

ToolBar::~ToolBar() {
    for (HBITMAP bitmap : bitmaps)
        DeleteObject(bitmap);
}

DWORD ToolBar::Style() const {
    DWORD style = kBaseStyle;
    if (!autoResize)
        style |= CCS_NORESIZE;
    if (border)
        style |= WS_BORDER;
    if (flat)
        style |= TBSTYLE_FLAT;
    const DWORD alignment = (alignBottom ? CCS_BOTTOM : 0) | (alignTop ? CCS_TOP : 0) |
                            (alignLeft ? CCS_LEFT : 0) | (alignRight ? CCS_RIGHT : 0);
    style |= alignment != 0 ? alignment : CCS_NOPARENTALIGN;
    if (!enabled)
        style |= WS_DISABLED;
    return style;
}

void ToolBar::Create() {
    if (created)
        return;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CreateControlWindow(TOOLBARCLASSNAMEW, Style(), 0);
    FinishCreate();
    SendMessageW(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBADDBITMAP standard = standardImages;
    if (largeImages) {
        SendMessageW(window, TB_SETBITMAPSIZE, 0, MAKELPARAM(kLargeImage, kLargeImage));
        if (standard.hInst == HINST_COMMCTRL && standard.nID == IDB_STD_SMALL_COLOR)
            standard.nID = IDB_STD_LARGE_COLOR;
    }
    SendMessageW(window, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard));
    RefreshButtons();
}

void ToolBar::AddItem(ToolBarItem* item) {
    items.push_back(item);
}

int ToolBar::AddBitmap(int resourceId, COLORREF maskColour) {
    if (!created)
        return -1;
    COLORMAP faceForMask = {maskColour, GetSysColor(COLOR_BTNFACE)};
    HBITMAP bitmap = CreateMappedBitmap(GetModuleHandleW(nullptr), resourceId, 0, &faceForMask, 1);
    if (bitmap != nullptr)
        bitmaps.push_back(bitmap);
    TBADDBITMAP added = {nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
    return static_cast<int>(
        SendMessageW(window, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&added)));
}

// An item's image is resolved once and kept. The platform answers the same first index
// when one strip is added again, so every item of a strip ends at its own offset. A negative
// count names no images, so nothing is added and the item keeps image 0; the control would
// read the count as unsigned and take the whole strip.
int ToolBar::ResolveImage(ToolBarItem& item, int& lastStrip) {
    if (item.imageIndex != 0)
        return item.imageIndex;
    if (item.bitmapResource != 0 && item.imageCount == 0) {
        item.imageIndex = AddBitmap(item.bitmapResource, item.maskColour);
    } else if (item.bitmapResource != 0 && item.imageCount > 0 && largeImages) {
        lastStrip = created ? AddLargeStrip(item.bitmapResource, item.imageCount) : -1;
        item.imageIndex = lastStrip + item.imageOffset;
    } else if (item.bitmapResource != 0 && item.imageCount > 0) {
        TBADDBITMAP strip = {GetModuleHandleW(nullptr), static_cast<UINT_PTR>(item.bitmapResource)};
        lastStrip = created ? static_cast<int>(SendMessageW(window, TB_ADDBITMAP, item.imageCount,
                                                            reinterpret_cast<LPARAM>(&strip)))
                            : -1;
        item.imageIndex = lastStrip + item.imageOffset;
    } else if (item.bitmapResource == 0 && item.imageOffset > 0) {
        item.imageIndex = lastStrip + item.imageOffset;
    }
    return item.imageIndex;
}

int ToolBar::AddLargeStrip(int resourceId, int count) {
    const auto known = largeStrips.find(resourceId);
    if (known != largeStrips.end())
        return known->second;
    HBITMAP bitmap = StretchedStrip(resourceId);
    if (bitmap == nullptr)
        return -1;
    bitmaps.push_back(bitmap);
    TBADDBITMAP added = {nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
    const int first = static_cast<int>(
        SendMessageW(window, TB_ADDBITMAP, count, reinterpret_cast<LPARAM>(&added)));
    largeStrips[resourceId] = first;
    return first;
}

void ToolBar::RemoveButtons() {
    while (SendMessageW(window, TB_DELETEBUTTON, 0, 0) != 0) {
    }
}

void ToolBar::RefreshButtons() {
    if (items.empty())
        return;
    TBBUTTON buttons[kMaximumButtons] = {};
    const std::size_t count = std::min(items.size(), kMaximumButtons);
    int lastStrip = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ToolBarItem& item = *items[i];
        item.Create();
        buttons[i].idCommand = item.id;
        buttons[i].fsState = static_cast<BYTE>((item.enabled ? TBSTATE_ENABLED : 0) |
                                               (item.checked ? TBSTATE_CHECKED : 0));
        buttons[i].fsStyle = item.buttonStyle;
        buttons[i].iBitmap = ResolveImage(item, lastStrip);
        if (showText)
            buttons[i].iString = reinterpret_cast<INT_PTR>(item.label);
    }
    RemoveButtons();
    SendMessageW(window, TB_ADDBUTTONSW, count, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(window, TB_AUTOSIZE, 0, 0);
}

} // namespace KelUtility
