#pragma once

// The filter text of the open and save file dialogs: (description, pattern) pairs, each
// entry followed by a NUL and the whole text by one more NUL.

#include <string>
#include <vector>

namespace KelUtility {

// Widens each entry byte by byte. The result holds the embedded NULs, so pass its data()
// or c_str() to the dialog, never a copy made through a C string.
std::wstring FileFilterText(const std::vector<std::string>& entries);

} // namespace KelUtility
