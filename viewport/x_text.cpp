#include "viewport/x_text.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace KelUtility {

void AppendXFloat(std::string& out, float value) {
    if (std::isnan(value))
        value = 0.0f;
    else if (std::isinf(value))
        value = value > 0 ? FLT_MAX : -FLT_MAX;
    char digits[64];
    const std::to_chars_result written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    out.append(digits, written.ptr);
    // A number without a point reads as an integer to some readers, which then refuse it
    // where a float belongs.
    if (std::find(digits, written.ptr, '.') == written.ptr)
        out += ".0";
}

// A quarter of a step above the channel: a reader that multiplies by 255 and truncates
// lands in the channel, and one that rounds lands in it too. Full intensity stays 1.
void AppendXChannel(std::string& out, std::uint32_t channel) {
    AppendXFloat(out, std::min((static_cast<float>(channel & 0xFF) + 0.25f) / 255.0f, 1.0f));
}

} // namespace KelUtility
