#include "app/number_text.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

using namespace MyApp;

TEST(NumberText, FormatsRealsAsGeneralNotationWithSixDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},           {-0.4, "-0.4"},          {0.1 + 0.1 + 0.1, "0.3"},
        {3.0, "3"},           {123456.0, "123456"},    {1234567.0, "1.23457e+06"},
        {0.0001, "0.0001"},   {0.00001, "1e-05"},      {1e20, "1e+20"},
        {-2.5e-10, "-2.5e-10"}, {1.23456789, "1.23457"}, {DBL_MAX, "1.79769e+308"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatReal(c.value), c.text) << c.text;
}

#ifndef _WIN32
// The writer must agree with "%g" of the C library for every finite double; glibc's is
// the reference (some Windows runtimes print three exponent digits).
TEST(NumberText, FormatRealAgreesWithPrintfOnRandomDoubles) {
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 200000; ++i) {
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            continue;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%g", value);
        ASSERT_EQ(FormatReal(value), expected);
    }
}
#endif

TEST(NumberText, ParsesTheLeadingRealAndIgnoresTheRest) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"3.5", 3.5},        {"  3.5xyz", 3.5},   {"\t7", 7},          {"-.5", -0.5},
        {"+2", 2},           {"5.", 5},           {"1e3", 1000},       {"1E+3", 1000},
        {"2.5e-3", 0.0025},  {"1e", 1},           {"1e+", 1},          {"1e+020", 1e20},
        {"1.5.5", 1.5},      {"1,5", 1},          {"", 0},             {"abc", 0},
        {".", 0},            {"-", 0},            {"e5", 0},           {"1e-999", 0},
        {"0e99999", 0},      {"0.000000000000000000000000001e330", 1e303},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ParseReal(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberText, RealsBeyondTheDoubleRangeReadAsTheLargestFiniteValue) {
    EXPECT_EQ(ParseReal("1e999"), DBL_MAX);
    EXPECT_EQ(ParseReal("-1e999"), -DBL_MAX);
    EXPECT_EQ(ParseReal("100000000e302"), DBL_MAX);
    EXPECT_EQ(ParseReal("1e99999999999999999999"), DBL_MAX);
    EXPECT_EQ(ParseReal(std::string(400, '9')), DBL_MAX);
    EXPECT_EQ(ParseReal("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(ParseReal(FormatReal(DBL_MAX)), 1.79769e308);

    EXPECT_EQ(ParseRealAsFloat("1e39"), FLT_MAX);
    EXPECT_EQ(ParseRealAsFloat("-1e300"), -FLT_MAX);
    EXPECT_EQ(ParseRealAsFloat("3.40283e+38"), FLT_MAX);
    EXPECT_EQ(ParseRealAsFloat("0.5"), 0.5f);
    EXPECT_EQ(NarrowToFloat(HUGE_VAL), FLT_MAX);
    EXPECT_EQ(NarrowToFloat(-HUGE_VAL), -FLT_MAX);
    EXPECT_EQ(NarrowToFloat(std::nan("")), 0.0f);
}

TEST(NumberText, ParsesTheLeadingIntegerAndSaturatesAt32Bits) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"42", 42},
        {"  -7", -7},
        {"+8", 8},
        {"12abc", 12},
        {"1.9", 1},
        {"abc", 0},
        {"-", 0},
        {"", 0},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"4294967295", INT32_MAX},
        {"99999999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInteger(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(FormatInteger(-25536), "-25536");
    EXPECT_EQ(FormatInteger(4294967295LL), "4294967295");
}
