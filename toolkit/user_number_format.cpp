#include "toolkit/user_number_format.h"

#include <windows.h>

namespace KelUtility {
namespace {

bool ReadUserLocaleInfo(LCTYPE type, std::wstring& text) {
    const int size = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, nullptr, 0);
    if (size <= 0)
        return false;
    std::wstring buffer(static_cast<std::size_t>(size), L'\0');
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, &buffer[0], size);
    if (length <= 0)
        return false;
    text.assign(buffer.c_str(), static_cast<std::size_t>(length - 1));
    return true;
}

} // namespace

// std::locale("") would give the same through the streams, but MinGW's libstdc++ knows
// only the classic locale and throws for any other name.
NumberFormat UserNumberFormat() {
    std::wstring decimal, group, grouping;
    if (!ReadUserLocaleInfo(LOCALE_SDECIMAL, decimal) ||
        !ReadUserLocaleInfo(LOCALE_STHOUSAND, group) ||
        !ReadUserLocaleInfo(LOCALE_SGROUPING, grouping))
        return NumberFormat::Classic();
    return NumberFormat::FromWindows(decimal, group, grouping);
}

} // namespace KelUtility
