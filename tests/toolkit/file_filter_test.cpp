#include "toolkit/file_filter.h"

#include <gtest/gtest.h>

using namespace KelUtility;

TEST(FileFilter, EndsEveryEntryWithANulAndTheTextWithOneMore) {
    EXPECT_EQ(FileFilterText({}), std::wstring(1, L'\0'));
    EXPECT_EQ(FileFilterText({"A", "*.a", "B", "*.b"}), std::wstring(L"A\0*.a\0B\0*.b\0\0", 13));
    EXPECT_EQ(FileFilterText({"Tipo \xE8\xFF", "*.e"}),
              std::wstring(L"Tipo \x00E8\x00FF\0*.e\0\0", 13));
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
