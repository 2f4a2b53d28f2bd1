#include "document/file_replace.h"

#include <io.h>
#include <windows.h>

namespace MyApp {
namespace {

// The document library does not reach the toolkit, so it converts its paths itself; a
// path that is not UTF-8 converts with the system's replacement for the bad bytes and
// names no file the user has.
std::wstring WidePath(const std::string& path) {
    const int size = static_cast<int>(path.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, path.data(), size, &wide[0], length);
    return wide;
}

} // namespace

std::FILE* OpenPath(const std::string& path, const char* mode) {
    const std::string narrowMode(mode);
    const std::wstring wideMode(narrowMode.begin(), narrowMode.end());
    return _wfopen(WidePath(path).c_str(), wideMode.c_str());
}

bool RemoveFile(const std::string& path) { return DeleteFileW(WidePath(path).c_str()) != 0; }

bool FlushToDevice(std::FILE* file) {
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
    return MoveFileExW(WidePath(source).c_str(), WidePath(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

} // namespace MyApp
