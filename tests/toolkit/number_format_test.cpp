#include "toolkit/number_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <string>

using namespace KelUtility;

namespace {

const NumberFormat kItalian(',', '.', "\3");
const NumberFormat kEnglish('.', ',', "\3");

struct Written {
    double value;
    const char* italian;
    const char* english;
};

} // namespace

TEST(NumberFormat, WritesRealsInGeneralNotationWithTheLocaleSeparators) {
    const Written table[] = {
        {0.0, "0", "0"},
        {0.1, "0,1", "0.1"},
        {1234.5, "1.234,5", "1,234.5"},
        {-1234.5, "-1.234,5", "-1,234.5"},
        {123456.0, "123.456", "123,456"},
        {-0.25, "-0,25", "-0.25"},
        {999999.5, "1e+06", "1e+06"},
        {1234567.0, "1,23457e+06", "1.23457e+06"},
        {1e20, "1e+20", "1e+20"},
        {1e-5, "1e-05", "1e-05"},
        {-1e-5, "-1e-05", "-1e-05"},
    };
    for (const Written& row : table) {
        EXPECT_EQ(kItalian.FormatDouble(row.value), row.italian) << row.value;
        EXPECT_EQ(kEnglish.FormatDouble(row.value), row.english) << row.value;
    }
}

TEST(NumberFormat, WritesWholeNumbersGroupedAsTheGroupingSays) {
    EXPECT_EQ(kItalian.FormatInteger(999), "999");
    EXPECT_EQ(kItalian.FormatInteger(1300), "1.300");
    EXPECT_EQ(kEnglish.FormatInteger(1300), "1,300");
    EXPECT_EQ(kItalian.FormatInteger(-1234567), "-1.234.567");
    EXPECT_EQ(kEnglish.FormatInteger(-9223372036854775807LL - 1), "-9,223,372,036,854,775,808");
    EXPECT_EQ(NumberFormat::Classic().FormatInteger(1234567), "1234567");
    EXPECT_EQ(NumberFormat(',', '.', "\3\x7f").FormatInteger(123456789), "123456.789");
    EXPECT_EQ(NumberFormat('.', ',', "\3\2").FormatInteger(123456789), "12,34,56,789");
}

TEST(NumberFormat, ReadsTheLeadingNumberAndGivesZeroForTextWithoutOne) {
    EXPECT_EQ(kItalian.Parse("1234,5"), 1234.5);
    EXPECT_EQ(kItalian.Parse("-0,25"), -0.25);
    EXPECT_EQ(kItalian.Parse("  7,5 metri"), 7.5);
    EXPECT_EQ(kEnglish.Parse("1234.5"), 1234.5);
    // Group separators left in the text are the stream's to judge, even when misplaced.
    EXPECT_EQ(kItalian.Parse("1.234.567,8"), 1234567.8);
    EXPECT_EQ(kItalian.Parse("12.34,5"), 1234.5);
    EXPECT_EQ(kEnglish.Parse("1234,5"), 12345.0);
    EXPECT_EQ(NumberFormat::Classic().Parse("1,234.5"), 1.0);
    for (const char* text : {"", " ", "-", ",", ".", "abc", "--1", "1..2"})
        EXPECT_EQ(kItalian.Parse(text), 0.0) << '"' << text << '"';
}

TEST(NumberFormat, LongAndOutOfRangeTextsReadSafely) {
    EXPECT_EQ(kItalian.Parse(std::string(100000, '9')), DBL_MAX);
    EXPECT_NEAR(kItalian.Parse("0," + std::string(100000, '3')), 1.0 / 3.0, 1e-15);
    EXPECT_EQ(kItalian.Parse(std::string(5000, '-')), 0.0);
    EXPECT_EQ(kItalian.Parse(std::string(100000, '.')), 0.0);
    // Beyond the range of a double the stream gives the largest finite one, with its sign.
    EXPECT_EQ(kItalian.Parse("-1e400"), -DBL_MAX);
    EXPECT_EQ(kItalian.Parse("1e-400"), 0.0);
}

TEST(NumberFormat, SeparatorsAreOneByteDistinctAndApartFromTheDigits) {
    const NumberFormat same(',', ',', "\3");
    EXPECT_EQ(same.GroupSeparator(), '.');
    EXPECT_EQ(same.FormatDouble(1234.5), "1234,5");
    EXPECT_EQ(NumberFormat('5', '-', "\3").FormatDouble(-1234.5), "-1 234.5");

    const NumberFormat noBreak = NumberFormat::FromWindows(L",", L"\u00A0", L"3;0");
    EXPECT_EQ(noBreak.FormatDouble(-1234.5), std::string("-1\xA0") + "234,5");
    // U+066B and U+202F cannot be one byte: '.' and a plain space stand in for them.
    EXPECT_EQ(NumberFormat::FromWindows(L"\u066B", L"\u202F", L"3;0").FormatDouble(1234.5),
              "1 234.5");
    const NumberFormat wideDecimal = NumberFormat::FromWindows(L"\u066B", L".", L"3;0");
    EXPECT_EQ(wideDecimal.FormatDouble(1234.5), "1234.5");
    EXPECT_NE(wideDecimal.GroupSeparator(), '.');
    EXPECT_EQ(NumberFormat::FromWindows(L",", L"", L"3;0").FormatInteger(1300), "1300");
}

TEST(NumberFormat, TypedSeparatorsNeverCoincide) {
    const TypedSeparators italian = TypedSeparatorsOf(kItalian);
    EXPECT_EQ(italian.decimal, ',');
    EXPECT_EQ(italian.group, '.');
    const TypedSeparators english = TypedSeparatorsOf(kEnglish);
    EXPECT_EQ(english.decimal, '.');
    EXPECT_EQ(english.group, ',');
    // Without grouping 1000 shows no separator; a comma would then be taken for both.
    const TypedSeparators ungrouped = TypedSeparatorsOf(NumberFormat(',', '.', ""));
    EXPECT_EQ(ungrouped.decimal, ',');
    EXPECT_NE(ungrouped.group, ',');
}

TEST(NumberFormat, WindowsGroupingBecomesNumpunctGrouping) {
    const struct {
        const wchar_t* windows;
        std::string numpunct;
    } table[] = {
        {L"3;0", "\3"},     {L"3", std::string("\3") + char(CHAR_MAX)},
        {L"3;2;0", "\3\2"}, {L"3;2", std::string("\3\2") + char(CHAR_MAX)},
        {L"0", ""},         {L"", ""},
        {L"12;0", ""},      {L"3;x", std::string("\3") + char(CHAR_MAX)},
    };
    for (const auto& row : table)
        EXPECT_EQ(GroupingFromWindows(row.windows), row.numpunct) << '"' << row.windows << '"';
}
