#pragma once

// The toolkit's narrow and wide text. Narrow text is UTF-8 and wide text is the platform's
// (UTF-16 on Windows), so any file name or caption survives a round trip. A byte that does
// not belong to a UTF-8 sequence widens to the unit of the same value, as an older 8-bit
// text would read in Latin-1, so such text still names what it named.

#include <string>

namespace KelUtility {

std::wstring ToWide(const std::string& text);
// A lone surrogate, which no character can be, narrows to U+FFFD.
std::string ToNarrow(const std::wstring& text);

} // namespace KelUtility
