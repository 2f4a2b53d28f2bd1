// The user's number format as Windows reports it. Under Wine the user's locale follows
// LC_ALL, which a process cannot change for itself: the test registration sets it and names
// the locale it expects in KEL_EXPECT_LOCALE ("it" or "en").

#include "toolkit/user_number_format.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

using namespace KelUtility;

namespace {

std::wstring ExpectedLocale() {
    constexpr DWORD kCapacity = 16;
    wchar_t value[kCapacity] = {};
    const DWORD length = GetEnvironmentVariableW(L"KEL_EXPECT_LOCALE", value, kCapacity);
    return length > 0 && length < kCapacity ? std::wstring(value, length) : std::wstring();
}

struct LocaleNumbers {
    const wchar_t* name;
    char decimal;
    char group;
    const char* realText;  // 1234.5
    const char* tenthText; // 0.1
    const char* typedText; // 1234.5 as typed, without groups
    const char* wholeText; // 1300
};

const LocaleNumbers kLocales[] = {
    {L"it", ',', '.', "1.234,5", "0,1", "1234,5", "1.300"},
    {L"en", '.', ',', "1,234.5", "0.1", "1234.5", "1,300"},
};

} // namespace

TEST(UserNumberFormat, FollowsTheUserLocale) {
    const NumberFormat format = UserNumberFormat();
    EXPECT_NE(format.DecimalSeparator(), format.GroupSeparator());
    EXPECT_EQ(format.Parse(format.FormatDouble(-1234.5)), -1234.5);

    const std::wstring expected = ExpectedLocale();
    if (expected.empty())
        return;
    for (const LocaleNumbers& locale : kLocales) {
        if (expected != locale.name)
            continue;
        EXPECT_EQ(format.DecimalSeparator(), locale.decimal);
        EXPECT_EQ(format.GroupSeparator(), locale.group);
        EXPECT_EQ(format.FormatDouble(1234.5), locale.realText);
        EXPECT_EQ(format.FormatDouble(0.1), locale.tenthText);
        EXPECT_EQ(format.Parse(locale.typedText), 1234.5);
        EXPECT_EQ(format.FormatInteger(1300), locale.wholeText);
        return;
    }
    ADD_FAILURE() << "no expectations for KEL_EXPECT_LOCALE=" << expected;
}
