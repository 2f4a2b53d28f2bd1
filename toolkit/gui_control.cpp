#include "toolkit/gui_control.h"

#include "toolkit/dpi.h"
#include "toolkit/element_registry.h"
#include "toolkit/image_frame.h"

namespace KelUtility {
namespace {

constexpr int kArrowsBitmap = 1007;
constexpr int kCell = 32;
constexpr int kPadSize = 105;
// Cells 0 to 3 of the sheet are the arrows; the same arrows pressed follow them.
constexpr int kPressedOffset = 4;
constexpr int kSheetCells = 8;
const POINT kArrowPlaces[4] = {{0, 34}, {67, 34}, {34, 0}, {34, 67}};

void RepaintArrow(ImageFrame& arrow) {
    if (arrow.created)
        InvalidateRect(arrow.window, nullptr, TRUE);
}

} // namespace

GUIControl::GUIControl(GUIElement* owner) : PanelChildren(owner) {
    width = kPadSize;
    height = kPadSize;
}

GUIControl::~GUIControl() {
    for (ImageFrame* arrow : arrows)
        delete arrow;
    if (arrowsBitmap != nullptr)
        DeleteObject(arrowsBitmap);
}

// The sheet is loaded at the size of the pad's cells, stretched by the platform when the
// DPI asks for larger ones.
void GUIControl::Create() {
    if (!created && dpi != kDesignDpi)
        width = height = Scaled(kPadSize, dpi);
    PanelChildren::Create();
    if (arrows[0] != nullptr)
        return;
    const int cell = Scaled(kCell, dpi);
    arrowsBitmap = static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kArrowsBitmap), IMAGE_BITMAP,
        cell == kCell ? 0 : cell * kSheetCells, cell == kCell ? 0 : cell, LR_CREATEDIBSECTION));
    for (int k = 0; k < 4; ++k) {
        ImageFrame* arrow = new ImageFrame(this);
        arrow->bitmap = arrowsBitmap;
        arrow->column = k;
        arrow->transparent = true;
        arrow->tabStop = false;
        arrow->SetPosition(Scaled(kArrowPlaces[k].x, dpi), Scaled(kArrowPlaces[k].y, dpi));
        arrow->SetSize(cell, cell);
        arrow->SetHandCursor(true);
        arrow->OnMouseDown = &GUIControl::Press;
        arrow->OnMouseUp = &GUIControl::Release;
        arrows[k] = arrow;
        arrow->Create();
    }
}

int GUIControl::DirectionOf(const GUIElement* arrow) const {
    for (int k = 0; k < 4; ++k) {
        if (arrows[k] != nullptr && arrows[k]->id == arrow->id)
            return k + 1;
    }
    return 0;
}

void GUIControl::Press(GUIElement* element, HWND, int, int) {
    GUIControl* pad = static_cast<GUIControl*>(element->parent);
    ImageFrame* arrow = static_cast<ImageFrame*>(element);
    pad->pressedDirection = pad->DirectionOf(arrow);
    arrow->column += kPressedOffset;
    RepaintArrow(*arrow);
    SetCapture(arrow->window);
}

void GUIControl::CaptureLost(GUIElement* element) {
    const int direction = DirectionOf(element);
    if (direction == 0 || pressedDirection != direction)
        return;
    pressedDirection = 0;
    ImageFrame* arrow = arrows[direction - 1];
    if (arrow->column - kPressedOffset >= 0) {
        arrow->column -= kPressedOffset;
        RepaintArrow(*arrow);
    }
}

void GUIControl::Release(GUIElement* element, HWND, int, int) {
    GUIControl* pad = static_cast<GUIControl*>(element->parent);
    ImageFrame* arrow = static_cast<ImageFrame*>(element);
    const int direction = pad->pressedDirection;
    pad->pressedDirection = 0;
    ReleaseCapture();
    // A release that no press on the pad began (the button went down elsewhere) is no
    // direction. The handler may delete the pad and its arrows.
    if (direction != 0 && pad->OnDirection != nullptr) {
        const std::uint64_t arrowSerial = arrow->serial;
        pad->OnDirection(pad, direction);
        if (!ElementRegistry::IsAlive(arrow, arrowSerial))
            return;
    }
    if (arrow->column - kPressedOffset >= 0) {
        arrow->column -= kPressedOffset;
        RepaintArrow(*arrow);
    }
}

} // namespace KelUtility
