#pragma once

// The toolkit's narrow and wide text. Narrow text is taken byte by byte: each byte
// widens to the 16-bit unit of the same value, and each 16-bit unit narrows to its low
// byte, so narrow text survives a round trip unchanged.

#include <string>

namespace KelUtility {

std::wstring ToWide(const std::string& text);
std::string ToNarrow(const std::wstring& text);

} // namespace KelUtility
