#include "toolkit/currency_box.h"
#include "toolkit/numeric_box.h"
#include "toolkit/text_conversion.h"
#include "toolkit/user_number_format.h"

#include "tests/support/win32_test_elements.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

using namespace KelUtility;

namespace {

void Type(const GUIElement& element, const std::wstring& characters) {
    for (wchar_t c : characters)
        SendMessageW(element.window, WM_CHAR, c, 0);
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

// Typing takes a number or refuses the key: the group separator (the box writes groups
// itself), a minus where negatives are not allowed, a second mark, letters, blanks and
// control characters. An exponent may be typed as the box writes one.
TEST_F(CurrencyBoxTest, TypingTakesTheNumberOrRefusesTheKey) {
    const std::wstring d(1, box.decimalSeparator);
    const std::wstring g(1, box.groupSeparator);
    const struct {
        bool negatives;
        std::wstring typed;
        std::wstring shown;
    } table[] = {
        {true, L"1a" + g + L"2 3x" + d + L"4" + d + L"\t\x03" + L"5", L"123" + d + L"45"},
        {false, L"-0" + d + L"5", L"0" + d + L"5"},
        {false, L"1" + g + L"5", L"15"},
        {true, L"1" + d + L"5e-3", L"1" + d + L"5e-3"},
        {false, L"2E+12e" + d + L"-", L"2E+12"},
        {false, L"e+5", L"5"},
        {false, L"1e--5", L"1e-5"},
        {false, L"e5" + d + L"3e", L"5" + d + L"3e"},
        {true, L"5e" + d + L"-3", L"5e-3"},
        {true, L"67890123456", L"678901234"},
    };
    for (const auto& row : table) {
        box.allowNegative = row.negatives;
        box.SetText(std::wstring());
        Type(box, row.typed);
        EXPECT_EQ(box.GetText(), row.shown) << ToNarrow(row.typed);
    }
    Type(box, L"\b\b");
    EXPECT_EQ(box.GetNarrowText(), "6789012");
}

TEST_F(CurrencyBoxTest, AMinusGoesInFrontOnce) {
    Type(box, L"-");
    EXPECT_EQ(box.GetNarrowText(), "-");
    box.SetText(std::string("12"));
    Type(box, L"-");
    EXPECT_EQ(box.GetNarrowText(), "-12");
    EXPECT_EQ(Selection(box), (std::pair<DWORD, DWORD>{1, 3}));
    Type(box, L"-");
    EXPECT_EQ(box.GetNarrowText(), "-12");

    // Typing over a selected number types a new one, its minus and separator included.
    const std::wstring d(1, box.decimalSeparator);
    box.SetText(L"-1" + d + L"5");
    SendMessageW(box.window, EM_SETSEL, 0, -1);
    Type(box, L"-4" + d + L"57");
    EXPECT_EQ(box.GetText(), L"-4" + d + L"57");

    // Without negatives a minus cannot be typed, but one the program shows is kept.
    box.allowNegative = false;
    box.SetText(std::string("5"));
    Type(box, L"-");
    EXPECT_EQ(box.GetNarrowText(), "5");
    box.SetValue(-0.5);
    SetForegroundWindow(form->window);
    box.Focus();
    SetFocus(form->window);
    EXPECT_EQ(box.GetValue(), -0.5);
}

TEST_F(CurrencyBoxTest, LeavingTheBoxWritesTheNumberInTheUsersFormat) {
    const NumberFormat format = UserNumberFormat();
    SetForegroundWindow(form->window);
    box.Focus();
    Type(box, L"1234" + std::wstring(1, box.decimalSeparator) + L"5");
    EXPECT_DOUBLE_EQ(box.GetValue(), 1234.5);
    SetFocus(form->window);
    EXPECT_EQ(box.GetNarrowText(), format.FormatDouble(1234.5));
    EXPECT_DOUBLE_EQ(box.GetValue(), 1234.5);
    if (ExpectedLocale() == "it") {
        EXPECT_EQ(box.GetNarrowText(), "1.234,5");
    } else if (ExpectedLocale() == "en") {
        EXPECT_EQ(box.GetNarrowText(), "1,234.5");
    }

    // The whole text, without its groups, is selected when the box gets the focus again,
    // and an empty box or a lone minus reads as 0.
    box.Focus();
    EXPECT_EQ(box.GetText(), L"1234" + std::wstring(1, box.decimalSeparator) + L"5");
    EXPECT_EQ(Selection(box).first, 0u);
    EXPECT_EQ(Selection(box).second, static_cast<DWORD>(box.GetNarrowText().size()));
    box.SetText(std::string("-"));
    EXPECT_EQ(box.GetValue(), 0.0);
    box.SetText(std::string());
    SetFocus(form->window);
    EXPECT_EQ(box.GetNarrowText(), "0");
}

// The text is always the whole formatted value and reads back as that value: large and
// exponent values, values beyond the range, and whole numbers in a box whose typing is
// limited to fewer characters than the grouped text has.
TEST_F(CurrencyBoxTest, WhatTheBoxShowsIsTheNumberItHolds) {
    const NumberFormat format = UserNumberFormat();
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        double held;
    } table[] = {
        {140100000.0, 140100000.0}, {-1.401e-8, -1.401e-8},     {1234.5, 1234.5},
        {DBL_MAX, 1.79769e308},     {infinity, 1.79769e308},    {-infinity, -1.79769e308},
        {std::nan(""), 0.0},        {-123456789.0, -1.23457e8},
    };
    for (const auto& row : table) {
        box.SetValue(row.value);
        EXPECT_EQ(box.GetNarrowText(), format.FormatDouble(row.held)) << row.value;
        EXPECT_EQ(box.GetValue(), row.held) << box.GetNarrowText();
    }

    // Nine typed digits become an exponent form that reads back whole.
    SetForegroundWindow(form->window);
    box.Focus();
    Type(box, L"140100000");
    SetFocus(form->window);
    EXPECT_EQ(box.GetNarrowText(), format.FormatDouble(1.401e8));
    EXPECT_EQ(box.GetValue(), 1.401e8);

    // A box that takes four typed digits shows the grouped 1,300 whole, whether the
    // program sets it or the arrows do, and the arrows read the user's grouping back.
    // (Wine's arrows group with a comma whatever the locale.)
    TextBox whole(form.get(), "");
    whole.SetMaxLength(4);
    whole.SetSize(80, 22);
    whole.Create();
    NumericBox arrows(form.get(), &whole, 50, 1300);
    arrows.value = 1300;
    arrows.Create();
    EXPECT_EQ(whole.GetNarrowText().size(), 5u);
    EXPECT_EQ(arrows.GetValue(), 1300);
    whole.SetText(format.FormatInteger(1250));
    EXPECT_EQ(whole.GetNarrowText(), format.FormatInteger(1250));
    EXPECT_EQ(arrows.GetValue(), 1250);
    SendMessageW(whole.window, EM_SETSEL, 0, -1);
    Type(whole, L"12345");
    EXPECT_EQ(whole.GetNarrowText(), "1234");
}
