#include "toolkit/font.h"

#include "toolkit/text_conversion.h"

namespace KelUtility {

Font::Font(const std::string& face, int cellHeight) : faceName(ToWide(face)), height(cellHeight) {}

Font::~Font() {
    if (handle != nullptr)
        DeleteObject(handle);
}

HFONT Font::Handle() {
    if (handle == nullptr) {
        handle = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline,
                             FALSE, DEFAULT_CHARSET, OUT_OUTLINE_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, fixedPitch ? FIXED_PITCH : DEFAULT_PITCH,
                             faceName.c_str());
    }
    return handle;
}

int Font::TextWidth(const wchar_t* text) {
    HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, Handle());
    SIZE size = {};
    GetTextExtentPoint32W(screen, text, static_cast<int>(wcslen(text)), &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return size.cx;
}

} // namespace KelUtility
