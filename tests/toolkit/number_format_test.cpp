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
    EXPECT_EQ(NumberFormat::Classic().Parse("1,234.5"), 1.0);
    for (const char* text : {"", " ", "-", ",", ".", "abc", "--1", "e5", ",e5"})
        EXPECT_EQ(kItalian.Parse(text), 0.0) << '"' << text << '"';
}

// Whatever a box shows must read back as the number it shows: every text the format
// writes, exponents included, and groups only where the grouping puts them. A misplaced
// separator ends the number instead of being skipped, so "1,5" is never read as 15.
TEST(NumberFormat, WrittenTextReadsBackAndMisplacedGroupsEndTheNumber) {
    for (double value : {0.0, 1234.5, -1234.5, 140100000.0, -1.401e-8, 1e20, 123456.0,
                         DBL_MAX, -DBL_MAX, 1e-300}) {
        const double shown = std::stod(NumberFormat::Classic().FormatDouble(value));
        for (const NumberFormat* format : {&kItalian, &kEnglish})
            EXPECT_EQ(format->Parse(format->FormatDouble(value)), shown) << value;
    }
    const struct {
        NumberFormat format;
        const char* text;
        double value;
    } table[] = {
        {kItalian, "1.234.567,8", 1234567.8}, {kItalian, "12.34,5", 12.0},
        {kItalian, "1.2345", 1.0},            {kItalian, "1234.567", 1234.0},
        {kEnglish, "1,5", 1.0},               {kEnglish, "1234,5", 1234.0},
        {kEnglish, "1,234,567.5", 1234567.5}, {kItalian, "1..2", 1.0},
        {kItalian, "1,5e+08", 1.5e8},         {kEnglish, "-2.5E-3", -2.5e-3},
        {kEnglish, "1.5e", 1.5},              {kEnglish, "1.5e+", 1.5},
        {NumberFormat('.', ',', "\3\2"), "12,34,56,789", 123456789.0},
        {NumberFormat('.', ',', "\3\2"), "1,234,567", 1.0},
        {NumberFormat(',', '.', "\3\x7f"), "123456.789,5", 123456789.5},
        {NumberFormat(',', '.', ""), "1.300", 1.0},
    };
    for (const auto& row : table)
        EXPECT_EQ(row.format.Parse(row.text), row.value) << row.text;
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

TEST(NumberFormat, SeparatorsAreDistinctApartFromTheDigitsAndWrittenAsUtf8) {
    const NumberFormat same(',', ',', "\3");
    EXPECT_EQ(same.GroupSeparator(), U'.');
    EXPECT_EQ(same.FormatDouble(1234.5), "1234,5");
    EXPECT_EQ(NumberFormat('5', '-', "\3").FormatDouble(-1234.5), "-1 234.5");
    EXPECT_EQ(NumberFormat::FromWindows(L",", L"", L"3;0").FormatInteger(1300), "1300");

    // The no-break spaces of French and other locales, and the Arabic decimal separator,
    // are characters of their own in UTF-8 text, and read back.
    const struct {
        const wchar_t* decimal;
        const wchar_t* group;
        const char* written; // -1234.5
    } table[] = {
        {L",", L"\u00A0", "-1\xC2\xA0" "234,5"},
        {L",", L"\u202F", "-1\xE2\x80\xAF" "234,5"},
        {L"\u066B", L".", "-1.234\xD9\xAB" "5"},
    };
    for (const auto& row : table) {
        const NumberFormat format = NumberFormat::FromWindows(row.decimal, row.group, L"3;0");
        EXPECT_EQ(format.FormatDouble(-1234.5), row.written);
        EXPECT_EQ(format.Parse(row.written), -1234.5);
    }
    // An 8-bit text from before the switch to UTF-8 still reads.
    EXPECT_EQ(NumberFormat::FromWindows(L",", L"\u00A0", L"3;0").Parse("1\xA0" "234"), 1234.0);
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
