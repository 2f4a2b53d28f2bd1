#include "app/recent_projects.h"
#include "app/window_placement.h"

#include <gtest/gtest.h>

using namespace MyApp;

TEST(RecentProjects, KeepsFourNewestFirstAndNamesEachFileOnce) {
    RecentProjects recent(
        {"C:\\a.kv3", "", "c:/A.KV3", "C:\\b.kv3", "C:\\c.kv3", "C:\\d.kv3", "C:\\e.kv3"});
    EXPECT_EQ(recent.Paths(),
              (std::vector<std::string>{"C:\\a.kv3", "C:\\b.kv3", "C:\\c.kv3", "C:\\d.kv3"}))
        << "blanks and repeats of a damaged list are left out";
    recent.Add("C:\\C.KV3");
    recent.Add("C:\\nuovo.kv3");
    EXPECT_EQ(recent.Paths(),
              (std::vector<std::string>{"C:\\nuovo.kv3", "C:\\C.KV3", "C:\\a.kv3", "C:\\b.kv3"}));
    recent.Remove("c:\\NUOVO.kv3");
    EXPECT_EQ(recent.Paths().front(), "C:\\C.KV3");

    const struct {
        const char* first;
        const char* second;
        bool same;
    } pairs[] = {
        {"C:\\Città\\Ä.kv3", "c:\\CITTÀ\\ä.KV3", true},
        {"C:\\Проект.kv3", "c:\\пРОЕКТ.kv3", true},
        {"C:\\Ünïcödé\\Łódź.kv3", "C:\\üNÏCÖDÉ\\łÓDŹ.kv3", true},
        {"C:\\a.kv3", "C:\\b.kv3", false},
        {"C:\\città.kv3", "C:\\citta.kv3", false},
    };
    for (const auto& pair : pairs)
        EXPECT_EQ(SamePath(pair.first, pair.second), pair.same) << pair.first << " " << pair.second;
}

TEST(RecentProjects, MenuTextsNumberShortenAndKeepAmpersands) {
    const struct {
        std::size_t position;
        const char* path;
        const char* text;
    } cases[] = {
        {1, "C:\\progetti\\tri.kv3", "&1 C:\\progetti\\tri.kv3"},
        {2, "C:\\R&D\\a.kv3", "&2 C:\\R&&D\\a.kv3"},
        {3, "C:\\Documents and Settings\\utente\\Documenti\\modelli\\lavoro\\progetto.kv3",
         "&3 C:\\...\\Documenti\\modelli\\lavoro\\progetto.kv3"},
        {4, "C:\\cartella\\un nome di progetto molto piu lungo del menu.kv3",
         "&4 C:\\...\\un nome di progetto molto piu lungo del menu.kv3"},
        {1, "\\\\server\\condivisa\\una cartella lunga\\un'altra ancora\\città.kv3",
         "&1 \\\\server\\condivisa\\...\\un'altra ancora\\città.kv3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecentMenuText(c.position, c.path), c.text) << c.path;
}

// A second editor opens one step down and right of the first, as Windows cascades windows.
TEST(WindowPlacement, AnotherEditorAtThePlaceSendsTheWindowOneStepOn) {
    const ScreenRect area{0, 0, 1280, 1024};
    const ScreenRect window{0, 0, 800, 600};
    const struct {
        const char* name;
        std::vector<ScreenRect> others;
        ScreenRect expected;
    } cases[] = {
        {"alone", {}, window},
        {"another elsewhere", {{5, 0, 805, 600}}, window},
        {"another at the place", {{0, 0, 900, 700}}, {30, 30, 830, 630}},
        {"two cascaded already", {{30, 30, 830, 630}, {0, 0, 800, 600}}, {60, 60, 860, 660}},
    };
    for (const auto& c : cases) {
        const ScreenRect placed = CascadedBounds(window, c.others, 30, area);
        EXPECT_EQ(PlacementText({placed, false}), PlacementText({c.expected, false})) << c.name;
    }
    // At the bottom right the next step starts again from the work area's corner.
    const ScreenRect low{480, 400, 1280, 1000};
    const ScreenRect placed = CascadedBounds(low, {low, {0, 24, 800, 624}}, 30, {0, 24, 1280, 1024});
    EXPECT_EQ(PlacementText({placed, false}), "30 54 830 654 0");
}

TEST(WindowPlacement, KeptPlacementsComeBackOnlyUsableAndOnAMonitor) {
    const WindowPlacement placement{{100, 50, 900, 650}, true};
    EXPECT_EQ(PlacementText(placement), "100 50 900 650 1");
    const std::optional<WindowPlacement> read = PlacementFromText("100 50 900 650 1");
    ASSERT_TRUE(read);
    EXPECT_EQ(PlacementText(*read), "100 50 900 650 1");
    for (const char* damaged : {"", "100 50 900", "100 50 900 650 2", "a b c d 0",
                                "100 50 900 650 0 7", "99999999999 0 10 10 0"})
        EXPECT_FALSE(PlacementFromText(damaged)) << damaged;

    const std::vector<ScreenRect> monitors = {{0, 0, 1280, 984}, {1280, -200, 3200, 880}};
    const struct {
        ScreenRect bounds;
        bool kept;
    } cases[] = {
        {{100, 50, 900, 650}, true},
        {{2000, -150, 3000, 600}, true}, // on the second monitor, above the first
        {{-700, 100, 100, 700}, true},   // partly off the left edge, title in reach
        {{-760, 100, 40, 700}, false},   // too little of the title left to take
        {{100, 970, 900, 1600}, false},  // title below the work area
        {{100, -10, 900, 600}, false},   // title above it
        {{5000, 100, 5800, 700}, false}, // a monitor no longer there
        {{100, 50, 300, 150}, false},    // smaller than the window can be
        {{-2147483647, 0, -2147450000, 700}, false},
    };
    for (const auto& c : cases) {
        const auto restored =
            PlacementToRestore(WindowPlacement{c.bounds, false}, monitors, 480, 420);
        EXPECT_EQ(restored.has_value(), c.kept) << c.bounds.left << " " << c.bounds.top;
    }
    EXPECT_FALSE(PlacementToRestore(std::nullopt, monitors, 480, 420));
}
