#include "toolkit/dpi.h"

#include <gtest/gtest.h>

using namespace KelUtility;

// A layout keeps its monitor's scale where the monitor is wide enough, and otherwise grows
// only as far as it still fits, never below 100 %.
TEST(Dpi, ALayoutScalesAsFarAsItsMonitorHoldsIt) {
    const struct {
        int dpi, room, designed, expected;
    } cases[] = {
        {144, 1920, 1066, 144}, // 150 % on a screen wide enough
        {144, 1280, 1066, 115}, // the same on a narrow one: as large as fits
        {120, 900, 1066, 96},   // narrower than the layout at 100 %: 100 %, which scrolls
        {96, 800, 1066, 96},
        {192, 3840, 1066, 192},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FittingDpi(c.dpi, c.room, c.designed), c.expected) << c.dpi << " " << c.room;
}
