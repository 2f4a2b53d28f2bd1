#include "document/file_replace.h"

#include "document/file_failure.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
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

std::FILE* CreateNewFile(const std::string& path) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = fdopen(descriptor, "wb");
    if (file == nullptr)
        close(descriptor);
    return file;
}

// The old file takes its second name first, as a second link to the same bytes, so that
// the rename that follows is the only step that changes what target names.
bool ReplaceKeeping(const std::string& replacement, const std::string& target,
                    const std::string& kept) {
    bool linked = false;
    if (!kept.empty()) {
        linked = link(target.c_str(), kept.c_str()) == 0;
        if (!linked && errno != ENOENT)
            return false;
    }
    if (std::rename(replacement.c_str(), target.c_str()) == 0)
        return true;
    const int error = errno;
    if (linked)
        unlink(kept.c_str());
    errno = error;
    return false;
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

unsigned long ProcessNumber() { return static_cast<unsigned long>(getpid()); }

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    FileStamp stamp;
    stamp.size = static_cast<std::uint64_t>(status.st_size);
    stamp.written = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 +
                    status.st_mtim.tv_nsec;
    return stamp;
}

void ClearFailure() { errno = 0; }

std::string FailureReason() { return ErrnoReason(errno); }

// The C library goes on writing after a short write until the system refuses, so the
// reason is always the system's own.
std::string WriteFailureReason(std::FILE*) { return FailureReason(); }

} // namespace MyApp
