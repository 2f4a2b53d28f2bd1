#pragma once

// glTF keeps colours linear, while the document, the preview and every other format keep
// 8-bit sRGB levels, as a picture does: the two meet through the sRGB curve. A level taken
// to linear and back, through a 16-bit normalised value as well, is the same level.

#include <cstdint>

namespace MyApp {

// The linear intensity, from 0 to 1, of an 8-bit sRGB level.
double LinearOfLevel(std::uint8_t level);

// The same as a normalised 16-bit value, as a glTF file stores it (65,535 is 1).
std::uint16_t LinearShortOfLevel(std::uint8_t level);

// The nearest 8-bit sRGB level of a linear intensity; below 0 (and NaN) is 0, past 1 is 255.
std::uint8_t LevelOfLinear(double linear);

// The colour word (0x00BBGGRR) of three linear channels.
std::uint32_t ColorOfLinear(double red, double green, double blue);

} // namespace MyApp
