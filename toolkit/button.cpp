#include "toolkit/button.h"

#include "toolkit/drawing.h"
#include "toolkit/text_conversion.h"

namespace KelUtility {
namespace {

constexpr int kPictureMargin = 5;
constexpr int kCaptionGap = 3;
constexpr int kIconSize = 32;

} // namespace

Button::Button(GUIElement* owner, const std::string& caption) : Child(owner) {
    typeName = "button";
    text = ToWide(caption);
    width = 80;
    height = 30;
}

void Button::Create() {
    if (created)
        return;
    const DWORD style = BaseStyle() | WS_TABSTOP | (ownerDraw ? BS_OWNERDRAW : 0);
    CreateControlWindow(L"Button", style, 0);
    FinishCreate();
}

int Button::DrawPicture(Drawing& drawing, const RECT& item, bool) {
    const int itemHeight = item.bottom - item.top;
    HBITMAP bitmap = enabled ? enabledBitmap : disabledBitmap;
    if (bitmap != nullptr) {
        BITMAP size = {};
        GetObjectW(bitmap, sizeof size, &size);
        drawing.DrawBitmap(item.left + kPictureMargin, (itemHeight - size.bmHeight) / 2,
                           size.bmWidth, size.bmHeight, bitmap, 0, 0);
        return item.left + kPictureMargin + size.bmWidth + kCaptionGap;
    }
    HICON icon = enabled ? enabledIcon : disabledIcon;
    if (icon == nullptr)
        return 0;
    if (drawing.Context() != nullptr)
        DrawIconEx(drawing.Context(), item.left + kPictureMargin, (itemHeight - kIconSize) / 2,
                   icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL | DI_COMPAT);
    return item.left + kPictureMargin + kIconSize + kCaptionGap;
}

} // namespace KelUtility
