#include "document/number_text.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace MyApp;

TEST(NumberText, FormatsRealsInGeneralNotationWithTheDigitsAFloatNeeds) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},           {-0.4, "-0.4"},          {0.1 + 0.1 + 0.1, "0.3"},
        {3.0, "3"},           {123456.0, "123456"},    {1234567.0, "1234567"},
        {0.0001, "0.0001"},   {0.00001, "1e-05"},      {1e20, "1e+20"},
        {-2.5e-10, "-2.5e-10"}, {1.23456789, "1.2345679"}, {DBL_MAX, "1.7976931348623157e+308"},
        {1234.5678, "1234.5677"}, {16777217.0, "16777216"}, {0.1f, "0.1"},
        // The digits of the float the double narrows to: those of the double itself
        // ("1.61117858") read back as the next float up.
        {1.6111785750608076, "1.6111785"}, {HUGE_VAL, "3.4028235e+38"}, {std::nan(""), "0"},
        // Below a power of two the floats lie closer: the shortest decimal that reads back
        // is above the nearest of its length.
        {0x1p-96, "1.2621775e-29"}, {0x1p87, "1.5474251e+26"},
        // Past the float range a double keeps its own digits.
        {1e39, "1e+39"}, {-1e300, "-1e+300"}, {3.5e38, "3.5e+38"}, {-DBL_MAX, "-1.7976931348623157e+308"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatReal(c.value), c.text) << c.text;
}

#ifndef _WIN32
namespace {

// The project file's reals are "%.6g" of the float the value narrows to, or with the
// fewest of seven to nine digits (of one to nine for a subnormal) that glibc reads back
// as that float; glibc's printf is
// the reference (some Windows runtimes print three exponent digits). The writer may leave
// scratch past the end it returns, but never beyond its room.
void ExpectPrintfText(double value) {
    const float kept = NarrowToFloat(value);
    char expected[64];
    if (std::isfinite(value) && std::fabs(value) > FLT_MAX) {
        // Past the float range, the fewest digits that read back as the double.
        for (int digits = 1; digits <= 17; ++digits) {
            std::snprintf(expected, sizeof expected, "%.*g", digits, value);
            if (std::strtod(expected, nullptr) == value)
                break;
        }
    } else {
        // A subnormal float has fewer digits of its own, and may need fewer than six.
        for (int digits = std::fpclassify(kept) == FP_SUBNORMAL ? 1 : 6; digits <= 9; ++digits) {
            std::snprintf(expected, sizeof expected, "%.*g", digits, static_cast<double>(kept));
            if (std::strtof(expected, nullptr) == kept)
                break;
        }
    }
    char room[kMaxRealText + 8];
    std::memset(room, '#', sizeof room);
    const std::string written(room, static_cast<std::size_t>(FormatRealTo(room, value) - room));
    ASSERT_EQ(written, expected) << "bits of the value: " << std::hexfloat << value;
    ASSERT_LE(std::strlen(expected), kMaxRealText);
    ASSERT_EQ(std::string(room + kMaxRealText, room + sizeof room), std::string(8, '#'));
    ASSERT_EQ(FormatReal(value), expected);
}

} // namespace

TEST(NumberText, FormatRealAgreesWithPrintfOnEdgeCases) {
    const double cases[] = {
        0.0,        -0.0,        1.0,          -1.0,      0.5,          1e-5,         1e-4,
        9.99999e-5, 9.999995e-5, 0.0001,       100000.0,  999999.0,     999999.4,     999999.5,
        999999.6,   1000000.0,   123456.5,     123457.5,  1234565.0,    0.1234565,    9.5,
        99999.95,   999999.5e10, 1e22,         1e23,      1e27,         1e28,         1e-17,
        1e-18,      DBL_MIN,     DBL_TRUE_MIN, DBL_MAX,   -DBL_MAX,     FLT_MAX,      FLT_MIN,
        0.3,        2.5e-10,     HUGE_VAL,     -HUGE_VAL, std::nan(""), -std::nan(""),
        3.4028236e38, -1e39,     1e300,        0x1.fffffep127 * 2};
    for (double value : cases)
        ExpectPrintfText(value);
}

TEST(NumberText, FormatRealAgreesWithPrintfOnRandomValues) {
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<int> decade(-30, 30);
    for (int i = 0; i < 300000; ++i) {
        // Any bit pattern: every exponent, the non-finite values and the subnormals.
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        ExpectPrintfText(value);
        // Values a mesh holds: all magnitudes near the six-digit range.
        const double mantissa = static_cast<double>(random() >> 11) / (1ull << 53);
        value = (mantissa + 0.1) * std::pow(10.0, decade(random));
        ExpectPrintfText(value);
        ExpectPrintfText(static_cast<float>(-value));
        // Decimals of six and seven digits, many exactly halfway at the seventh.
        const double decimal = static_cast<double>(random() % 10000000);
        ExpectPrintfText(decimal * std::pow(10.0, decade(random) / 3));
        ExpectPrintfText((decimal + 0.5) / 1024);
    }
}
#endif

TEST(NumberText, EveryFiniteFloatReadsBackAsItself) {
    std::mt19937 random(20261208);
    char text[kMaxRealText];
    for (int i = 0; i < 4000000; ++i) {
        const std::uint32_t bits = random();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            continue;
        const float read = ParseRealAsFloat({text, std::size_t(FormatRealTo(text, value) - text)});
        std::uint32_t readBits;
        std::memcpy(&readBits, &read, sizeof read);
        ASSERT_EQ(readBits, bits) << std::string(text, FormatRealTo(text, value));
    }
}

TEST(NumberText, NumberLinesAreTheNumbersTextsEachWithALineBreak) {
    std::mt19937_64 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::vector<NumberLine> lines(random() % 30);
        std::string expected;
        for (NumberLine& line : lines) {
            if (random() % 3 == 0) {
                line = NumberLine::OfInteger(static_cast<std::int64_t>(random()));
                expected += FormatInteger(line.Integer);
            } else {
                const std::uint64_t bits = random() % 4 == 0 ? random() : random() >> 2;
                double value;
                std::memcpy(&value, &bits, sizeof value);
                line = NumberLine::OfReal(value);
                expected += FormatReal(value);
            }
            expected += "\r\n";
        }
        std::string room(lines.size() * kMaxNumberLine + kMaxRealText, '\0');
        const char* end = FormatNumberLinesTo(&room[0], lines.data(), lines.size());
        ASSERT_EQ(room.substr(0, static_cast<std::size_t>(end - room.data())), expected);
    }
}

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
    EXPECT_EQ(ParseReal(FormatReal(DBL_MAX)), DBL_MAX) << "written as the double it is";

    EXPECT_EQ(ParseRealAsFloat("1e39"), FLT_MAX);
    EXPECT_EQ(ParseRealAsFloat("-1e300"), -FLT_MAX);
    EXPECT_EQ(ParseRealAsFloat("3.40283e+38"), FLT_MAX);
    EXPECT_EQ(ParseRealAsFloat("0.5"), 0.5f);
    EXPECT_EQ(NarrowToFloat(HUGE_VAL), FLT_MAX);
    EXPECT_EQ(NarrowToFloat(-HUGE_VAL), -FLT_MAX);
    EXPECT_EQ(NarrowToFloat(std::nan("")), 0.0f);
}

// Random texts in the reader's grammar, with blanks before and junk after, read exactly
// as the C library reads them: short numbers take a quicker path than long ones, and both
// must round correctly.
TEST(NumberText, ParseRealAgreesWithStrtodOnRandomTexts) {
    std::mt19937 random(1207);
    const auto digits = [&](int most) {
        std::string text(random() % (most + 1), '0');
        for (char& c : text)
            c = static_cast<char>('0' + random() % 10);
        return text;
    };
    const char* const signs[] = {"", "-", "+"};
    const char* const tails[] = {"", "x", " 5", "e", "e+", ".5", ",1"};
    for (int i = 0; i < 300000; ++i) {
        std::string number = signs[random() % 3] + digits(random() % 3 == 0 ? 25 : 9);
        if (random() % 2 != 0)
            number += "." + digits(random() % 3 == 0 ? 25 : 9);
        if (random() % 3 == 0) {
            number += random() % 2 != 0 ? "e" : "E";
            number += signs[random() % 3] + digits(2);
        }
        const std::string text = std::string(random() % 3, ' ') + number + tails[random() % 7];
        // Text without a number reads as 0; some C libraries give it the sign they saw.
        char* end = nullptr;
        const double read = std::strtod(text.c_str(), &end);
        const double expected = end == text.c_str() ? 0.0 : read;
        ASSERT_EQ(ParseReal(text), expected) << '"' << text << '"';
        ASSERT_EQ(std::signbit(ParseReal(text)), std::signbit(expected)) << '"' << text << '"';
    }
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
