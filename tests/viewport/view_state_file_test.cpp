#include "viewport/view_state_file.h"

#include <gtest/gtest.h>
#include <random>

using namespace KelUtility;

namespace {

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

const char* const kObject = "MY_GAME_INFO Dati {\"D3DPanel\";\"Kel\";1;%s;}\n";

std::string Object(const std::string& floats) {
    std::string object = kObject;
    return object.replace(object.find("%s"), 2, floats);
}

} // namespace

TEST(ViewStateFile, WhatIsWrittenReadsBackToTheSameFloats) {
    const ViewState written{0.5759587f, -1.25f, 6.2831855f, 1e-7f, 3.0f, -123456.79f};
    const ViewStateReading reading = ReadViewState(Joined(ViewStateLines(written)));
    ASSERT_TRUE(reading.readable);
    ASSERT_TRUE(reading.state);
    EXPECT_EQ(reading.state->x, written.x);
    EXPECT_EQ(reading.state->y, written.y);
    EXPECT_EQ(reading.state->z, written.z);
    EXPECT_EQ(reading.state->px, written.px);
    EXPECT_EQ(reading.state->py, written.py);
    EXPECT_EQ(reading.state->pz, written.pz);
}

TEST(ViewStateFile, TheLastCompleteObjectWinsAndShortOnesArePassedOver) {
    const std::string header = "xof 0303txt 0032\n";
    const struct {
        std::string text;
        float pz; // NaN: no state
    } cases[] = {
        {header + Object("1;2;3;4;5;6") + Object("7;8;9;10;11;12"), 12},
        {header + Object("1;2;3;4;5;6") + Object("7;8;9;10;11"), 6},
        {header + "template MY_GAME_INFO { <AA1308FD-FF98-4f6e-9A55-CD083178672F> }\n" +
             "Frame Radice { Mesh { 1; } }\n# commento\n" + Object("1;2;3;4;5;-6.5"),
         -6.5f},
        {header + Object("1;2;3;4;5;6") + "MY_GAME_INFO {\"D3DPanel\";\"Kel\";1;7;8", 6},
        {header + "MY_GAME_INFO {1;2;3;4;5;6;7;8;9;}", NAN},
        {header + Object("1;2;3;4;5;abc"), NAN},
    };
    for (const auto& c : cases) {
        const ViewStateReading reading = ReadViewState(c.text);
        EXPECT_TRUE(reading.readable) << c.text;
        if (std::isnan(c.pz))
            EXPECT_FALSE(reading.state) << c.text;
        else
            EXPECT_EQ(reading.state ? reading.state->pz : NAN, c.pz) << c.text;
    }
    EXPECT_FALSE(ReadViewState("xof 0303bin 0032").readable);
    EXPECT_FALSE(ReadViewState("").readable);
}

TEST(ViewStateFile, ArbitraryBytesReadWithoutHarm) {
    std::mt19937 random(7);
    const std::string pieces[] = {"xof 0302txt 0032",
                                  "MY_GAME_INFO",
                                  "{",
                                  "}",
                                  ";",
                                  ",",
                                  "\"",
                                  "1.5",
                                  "-",
                                  "#",
                                  "//",
                                  "\n",
                                  "<",
                                  ">",
                                  "Dati",
                                  "template"};
    for (int round = 0; round < 2000; ++round) {
        std::string text = round % 2 == 0 ? "xof 0302txt 0032" : "";
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i)
            text += random() % 4 == 0 ? std::string(1, static_cast<char>(random()))
                                      : pieces[random() % std::size(pieces)];
        ReadViewState(text);
    }
}
