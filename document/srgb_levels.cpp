#include "document/srgb_levels.h"

#include <cmath>

namespace MyApp {

double LinearOfLevel(std::uint8_t level) {
    const double encoded = level / 255.0;
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

std::uint16_t LinearShortOfLevel(std::uint8_t level) {
    return static_cast<std::uint16_t>(std::lround(LinearOfLevel(level) * 65535));
}

std::uint8_t LevelOfLinear(double linear) {
    if (!(linear > 0))
        return 0;
    if (linear >= 1)
        return 255;
    const double encoded =
        linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<std::uint8_t>(std::lround(encoded * 255));
}

std::uint32_t ColorOfLinear(double red, double green, double blue) {
    return std::uint32_t{LevelOfLinear(red)} | std::uint32_t{LevelOfLinear(green)} << 8 |
           std::uint32_t{LevelOfLinear(blue)} << 16;
}

} // namespace MyApp
