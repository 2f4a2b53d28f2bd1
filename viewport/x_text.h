#pragma once

// Numbers and strings as the DirectX .x text format takes them. Readers of the format
// differ: some take no exponent, so reals are written in plain decimal notation, with the
// fewest digits that read back as the same 32-bit float.

#include <cstdint>
#include <string>

namespace KelUtility {

// Appends the value in plain decimal notation, always with a point ("-0.25", "12.0",
// "0.0000001"); an infinity
// or a NaN is written as the largest finite float of its sign, or 0.
void AppendXFloat(std::string& out, float value);
// A colour channel 0 to 255 as a real from 0 to 1, placed inside the channel's interval so
// that readers that truncate and readers that round both get the same channel back.
void AppendXChannel(std::string& out, std::uint32_t channel);

} // namespace KelUtility
