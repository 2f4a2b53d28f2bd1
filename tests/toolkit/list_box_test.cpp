#include "toolkit/list_box.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>

using namespace KelUtility;

namespace {

int clicks = 0;
void CountClick(GUIElement*) { ++clicks; }

std::wstring RowOf(const ListBox& list, int index) {
    wchar_t row[64] = {};
    SendMessageW(list.window, LB_GETTEXT, index, reinterpret_cast<LPARAM>(row));
    return row;
}

int RowCount(const ListBox& list) {
    return static_cast<int>(SendMessageW(list.window, LB_GETCOUNT, 0, 0));
}

} // namespace

TEST(ListBox, RowsKeepTheirOrderBeforeAndAfterCreation) {
    auto form = KelTest::NewHostForm();
    ListBox list(form.get());
    EXPECT_FALSE(list.Clear());
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    list.AddItem("2: (0; 0; 1)", "2");
    list.AddItem("1: (1; 0; 0)", "1");
    list.Create();
    list.AddItem("0: (0; 2; 0,5)", "0");
    ASSERT_EQ(RowCount(list), 3);
    EXPECT_EQ(RowOf(list, 0), L"2: (0; 0; 1)");
    EXPECT_EQ(RowOf(list, 2), L"0: (0; 2; 0,5)");
    EXPECT_EQ(list.rowValues, (std::vector<std::wstring>{L"2", L"1", L"0"}));

    EXPECT_TRUE(list.Clear());
    EXPECT_EQ(RowCount(list), 0);
    EXPECT_TRUE(list.rowTexts.empty());
    EXPECT_TRUE(list.rowValues.empty());
    EXPECT_FALSE(list.Clear());
}

TEST(ListBox, OnlyTheUsersSelectionClicks) {
    auto form = KelTest::NewHostForm();
    ListBox list(form.get());
    list.SetPosition(0, 0);
    list.SetSize(150, 150);
    list.OnClick = &CountClick;
    for (const char* row : {"uno", "due", "tre"})
        list.AddItem(row, row);
    list.Create();
    clicks = 0;
    list.SetSelectedIndex(2);
    EXPECT_EQ(list.GetSelectedIndex(), 2);
    EXPECT_EQ(clicks, 0);

    const int rowHeight = static_cast<int>(SendMessageW(list.window, LB_GETITEMHEIGHT, 0, 0));
    const LPARAM first = MAKELPARAM(10, rowHeight / 2);
    SendMessageW(list.window, WM_LBUTTONDOWN, MK_LBUTTON, first);
    SendMessageW(list.window, WM_LBUTTONUP, 0, first);
    EXPECT_EQ(list.GetSelectedIndex(), 0);
    EXPECT_EQ(clicks, 1);
    SendMessageW(list.window, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(list.GetSelectedIndex(), 1);
    EXPECT_EQ(clicks, 2);
}
