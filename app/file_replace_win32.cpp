#include "app/file_replace.h"

#include <io.h>
#include <windows.h>

namespace MyApp {

bool FlushToDevice(std::FILE* file) {
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

// The paths are narrow, as the C runtime that opened the files took them, so the narrow
// form of the call reads them in the same code page.
bool ReplaceFileWith(const std::string& source, const std::string& target) {
    return MoveFileExA(source.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

} // namespace MyApp
