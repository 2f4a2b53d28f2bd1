#include "toolkit/currency_box.h"
#include "toolkit/user_number_format.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <string>

using namespace KelUtility;

namespace {

void Type(const GUIElement& element, const std::string& characters) {
    for (char c : characters)
        SendMessageW(element.window, WM_CHAR, static_cast<unsigned char>(c), 0);
}

std::pair<DWORD, DWORD> Selection(const GUIElement& element) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(element.window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

// The locale the test run was started under, when it says so.
std::string ExpectedLocale() {
    wchar_t name[8] = {};
    GetEnvironmentVariableW(L"KEL_EXPECT_LOCALE", name, 8);
    return std::string(name, name + wcslen(name));
}

class CurrencyBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        box.allowNegative = true;
        box.Create();
        box.SetText(std::string());
    }

    std::unique_ptr<Form> form = KelTest::NewHostForm();
    CurrencyBox box{form.get(), 0.0};
};

} // namespace

TEST_F(CurrencyBoxTest, TheFilterLetThroughANumberOnly) {
    const std::string decimal(1, box.decimalSeparator);
    const std::string group(1, box.groupSeparator);
    Type(box, "1a" + group + "2 " + group + "3x" + decimal + "4" + decimal + "\t\x03" + "5");
    EXPECT_EQ(box.GetNarrowText(), "1" + group + "23" + decimal + "45");
    Type(box, "\b\b");
    EXPECT_EQ(box.GetNarrowText(), "1" + group + "23" + decimal);
    Type(box, "67890123");
    EXPECT_EQ(box.GetNarrowText().size(), 9u);
}

TEST_F(CurrencyBoxTest, AMinusGoesInFrontOnce) {
    Type(box, "-");
    EXPECT_EQ(box.GetNarrowText(), "-");
    box.SetText(std::string("12"));
    Type(box, "-");
    EXPECT_EQ(box.GetNarrowText(), "-12");
    EXPECT_EQ(Selection(box), (std::pair<DWORD, DWORD>{1, 3}));
    Type(box, "-");
    EXPECT_EQ(box.GetNarrowText(), "-12");

    box.allowNegative = false;
    box.SetText(std::string("5"));
    Type(box, "-");
    EXPECT_EQ(box.GetNarrowText(), "5");
}

TEST_F(CurrencyBoxTest, LeavingTheBoxWritesTheNumberInTheUsersFormat) {
    const NumberFormat format = UserNumberFormat();
    SetForegroundWindow(form->window);
    box.Focus();
    Type(box, std::string("1234") + box.decimalSeparator + "5");
    EXPECT_DOUBLE_EQ(box.GetValue(), 1234.5);
    SetFocus(form->window);
    EXPECT_EQ(box.GetNarrowText(), format.FormatDouble(1234.5));
    EXPECT_DOUBLE_EQ(box.GetValue(), 1234.5);
    if (ExpectedLocale() == "it") {
        EXPECT_EQ(box.GetNarrowText(), "1.234,5");
    } else if (ExpectedLocale() == "en") {
        EXPECT_EQ(box.GetNarrowText(), "1,234.5");
    }

    // The whole text is selected when the box gets the focus again, and an empty box or
    // a lone minus reads as 0.
    box.Focus();
    EXPECT_EQ(Selection(box).first, 0u);
    EXPECT_EQ(Selection(box).second, static_cast<DWORD>(box.GetNarrowText().size()));
    box.SetText(std::string("-"));
    EXPECT_EQ(box.GetValue(), 0.0);
    box.SetText(std::string());
    SetFocus(form->window);
    EXPECT_EQ(box.GetNarrowText(), "0");
}
