#include "toolkit/text_conversion.h"

#include <gtest/gtest.h>

using namespace KelUtility;

TEST(TextConversion, WidensEachByteToTheUnitOfTheSameValue) {
    EXPECT_EQ(ToWide(""), L"");
    EXPECT_EQ(ToWide("Kel"), L"Kel");
    EXPECT_EQ(ToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
    EXPECT_EQ(ToWide("\xE8\xFF\x80"), (std::wstring{0xE8, 0xFF, 0x80}));
}

TEST(TextConversion, NarrowingKeepsTheLowByteSoNarrowTextRoundTrips) {
    EXPECT_EQ(ToNarrow(L"Salva"), "Salva");
    EXPECT_EQ(ToNarrow(std::wstring{0x20AC, 0x00E8, 0x0141}), "\xAC\xE8\x41");
    std::string every(256, '\0');
    for (int i = 0; i < 256; ++i)
        every[i] = static_cast<char>(i);
    EXPECT_EQ(ToNarrow(ToWide(every)), every);
}
