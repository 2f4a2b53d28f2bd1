#include "app/file_replace.h"

#include <cstdio>
#include <unistd.h>

namespace MyApp {

bool FlushToDevice(std::FILE* file) {
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
    return std::rename(source.c_str(), target.c_str()) == 0;
}

} // namespace MyApp
