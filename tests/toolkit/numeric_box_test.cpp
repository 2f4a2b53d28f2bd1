#include "toolkit/numeric_box.h"
#include "toolkit/text_box.h"

#include "tests/support/win32_test_elements.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <vector>

using namespace KelUtility;

namespace {

std::vector<int> reported;
int changes = 0;

void RecordValue(GUIElement*, int value) { reported.push_back(value); }
void CountChange(GUIElement*) { ++changes; }

// A real click on the upper or lower arrow of the control.
void ClickArrow(const NumericBox& box, bool up) {
    RECT client;
    GetClientRect(box.window, &client);
    const LPARAM where = MAKELPARAM(client.right / 2, up ? 2 : client.bottom - 3);
    SendMessageW(box.window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageW(box.window, WM_LBUTTONUP, 0, where);
}

class NumericBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        buddy.numbersOnly = true;
        buddy.SetPosition(10, 10);
        box.OnValueChanged = &RecordValue;
        box.OnChange = &CountChange;
        reported.clear();
        changes = 0;
    }

    std::unique_ptr<Form> form = KelTest::NewHostForm();
    TextBox buddy{form.get(), ""};
    NumericBox box{form.get(), &buddy, 0, 10};
};

} // namespace

TEST_F(NumericBoxTest, ValuesSetBeforeCreationReachTheControlSilently) {
    box.SetValue(7);
    EXPECT_TRUE(reported.empty());
    box.Create();
    EXPECT_TRUE(buddy.created);
    EXPECT_EQ(buddy.GetNarrowText(), "7");
    EXPECT_EQ(box.GetValue(), 7);
}

TEST_F(NumericBoxTest, OutOfRangeValuesAreStoredAndReportedClamped) {
    box.Create();
    box.SetValue(15);
    EXPECT_EQ(box.value, 15);
    EXPECT_EQ(reported, std::vector<int>{10});
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.GetValue(), 10);
    box.SetValue(-4);
    EXPECT_EQ(reported, (std::vector<int>{10, 0}));
}

TEST_F(NumericBoxTest, ArrowsStepByOneAndStopAtTheEnds) {
    box.Create();
    box.SetValue(9);
    reported.clear();
    ClickArrow(box, true);
    EXPECT_EQ(box.GetValue(), 10);
    ClickArrow(box, true);
    EXPECT_EQ(box.GetValue(), 10);
    EXPECT_EQ(reported, (std::vector<int>{10, 10}));
    ClickArrow(box, false);
    EXPECT_EQ(box.GetValue(), 9);
    EXPECT_EQ(buddy.GetNarrowText(), "9");
}

TEST_F(NumericBoxTest, AnUnreadableBuddyReadsAsTheMinimum) {
    NumericBox shifted(form.get(), &buddy, 3, 10);
    shifted.Create();
    shifted.SetValue(6);
    SetWindowTextW(buddy.window, L"");
    EXPECT_EQ(shifted.GetValue(), 3);
    EXPECT_EQ(shifted.value, 3);
}
