#include "toolkit/font.h"

#include <cstring>
#include <gtest/gtest.h>

using KelUtility::Font;

namespace {

struct FaceCheck {
    std::wstring face;
    int narrow; // advance of 'i'
    int wide;   // advance of 'W'
};

FaceCheck Measure(const std::string& face) {
    Font font(face, 16);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font.Handle());
    FaceCheck check;
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, name);
    check.face = name;
    GetCharWidth32W(dc, L'i', L'i', &check.narrow);
    GetCharWidth32W(dc, L'W', L'W', &check.wide);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return check;
}

} // namespace

// The faces the program's windows name must be there, or the platform quietly draws
// another face in their place.
TEST(Font, TheFacesTheProgramNamesAreInstalled) {
    for (const char* face : {"Tahoma", "Arial"}) {
        const FaceCheck check = Measure(face);
        EXPECT_EQ(check.face, std::wstring(face, face + std::strlen(face)));
        EXPECT_LT(check.narrow, check.wide) << face << " is proportional";
    }
    const FaceCheck mono = Measure("Lucida Console");
    EXPECT_EQ(mono.face, L"Lucida Console");
    EXPECT_EQ(mono.narrow, mono.wide) << "every character as wide as the others";
}
