#include "toolkit/text_conversion.h"

#include <gtest/gtest.h>

using namespace KelUtility;

TEST(TextConversion, Utf8RoundTripsEveryNameAndOldLatin1BytesStillWiden) {
    const std::wstring euro = {0x20AC};
    const std::wstring cyrillic = {0x041C, 0x0438, 0x0440};
    std::wstring clef = L"a";
    clef += sizeof(wchar_t) == 2 ? std::wstring{0xD834, 0xDD1E}
                                 : std::wstring(1, static_cast<wchar_t>(0x1D11E));
    const struct {
        std::string narrow;
        std::wstring wide;
    } cases[] = {
        {"", L""},
        {"Kel", L"Kel"},
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
        {"prezzo\xE2\x82\xAC_citt\xC3\xA0.kv3", L"prezzo" + euro + L"_citt\u00E0.kv3"},
        {"\xD0\x9C\xD0\xB8\xD1\x80", cyrillic},
        {"a\xF0\x9D\x84\x9E", clef},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToWide(c.narrow), c.wide) << c.narrow;
        EXPECT_EQ(ToNarrow(c.wide), c.narrow) << c.narrow;
    }
    // Bytes that form no UTF-8 sequence (a Latin-1 path of an older project, an overlong
    // form, a cut sequence) widen one by one.
    EXPECT_EQ(ToWide("citt\xE0"), L"citt\u00E0");
    EXPECT_EQ(ToWide("\xC0\xAF"), (std::wstring{0xC0, 0xAF}));
    EXPECT_EQ(ToWide("\xE2\x82"), (std::wstring{0xE2, 0x82}));
    EXPECT_EQ(ToNarrow(std::wstring{0xDC00}), "\xEF\xBF\xBD");
}
