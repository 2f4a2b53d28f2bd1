#include "toolkit/file_filter.h"

#include <gtest/gtest.h>

using namespace KelUtility;

TEST(FileFilter, EndsEveryEntryWithANulAndTheTextWithOneMore) {
    EXPECT_EQ(FileFilterText({}), std::wstring(1, L'\0'));
    EXPECT_EQ(FileFilterText({"A", "*.a", "B", "*.b"}), std::wstring(L"A\0*.a\0B\0*.b\0\0", 13));
    EXPECT_EQ(FileFilterText({"Immagine \xE8", "*.png;*.bmp"}),
              (std::wstring{L'I', L'm', L'm', L'a', L'g', L'i', L'n', L'e', L' ', 0xE8, 0,
                            L'*', L'.', L'p', L'n', L'g', L';', L'*', L'.', L'b', L'm', L'p', 0,
                            0}));
}

TEST(FileFilter, TextLongerThanTheDialogBufferKeepsEveryEntry) {
    std::vector<std::string> entries;
    std::wstring expected;
    for (int i = 0; i < 200; ++i) {
        std::string description = "Tipo numero " + std::to_string(i);
        std::string pattern = "*.t" + std::to_string(i);
        entries.push_back(description);
        entries.push_back(pattern);
        expected += std::wstring(description.begin(), description.end()) + L'\0';
        expected += std::wstring(pattern.begin(), pattern.end()) + L'\0';
    }
    expected += L'\0';

    std::wstring text = FileFilterText(entries);
    ASSERT_GT(text.size(), 4000u);
    EXPECT_EQ(text, expected);
}
