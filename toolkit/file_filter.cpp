#include "toolkit/file_filter.h"

#include "toolkit/text_conversion.h"

namespace KelUtility {

std::wstring FileFilterText(const std::vector<std::string>& entries) {
    std::wstring text;
    for (const std::string& entry : entries) {
        text += ToWide(entry);
        text += L'\0';
    }
    text += L'\0';
    return text;
}

} // namespace KelUtility
