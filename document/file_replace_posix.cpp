#include "document/file_replace.h"

#include "document/file_failure.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace MyApp {

std::FILE* OpenPath(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool FlushToDevice(std::FILE* file) {
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
    return std::rename(source.c_str(), target.c_str()) == 0;
}

void ClearFailure() { errno = 0; }

std::string FailureReason() { return ErrnoReason(errno); }

} // namespace MyApp
