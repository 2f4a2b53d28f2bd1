#pragma once

// A platform font described by plain fields and created on first use. Elements and
// drawings share it by pointer; whoever created the Font owns it.

#include <string>
#include <windows.h>

namespace KelUtility {

class Font {
public:
    Font() = default;
    Font(const std::string& face, int cellHeight);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The platform font, created from the fields on the first call and reused after;
    // fields changed later do not change it. Null while creation fails.
    HFONT Handle();
    // How wide the text is written in this font on the screen, in pixels.
    int TextWidth(const wchar_t* text);

    HFONT handle = nullptr;
    std::wstring faceName = L"System";
    int height = 0; // > 0 cell height, < 0 character height, 0 the platform default
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool fixedPitch = false;
};

} // namespace KelUtility
