#include "document/safe_save.h"

#include "document/file_replace.h"

namespace MyApp {
namespace {

// The temporary file sits beside the target so that replacing the target is a rename
// within one folder, which the system does in one step.
const char* const kTemporarySuffix = ".~tmp";

} // namespace

bool SafeSave(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    const std::string temporary = path + kTemporarySuffix;
    std::FILE* file = OpenPath(temporary, "wb");
    if (file == nullptr)
        return false;
    const bool written = write(file) && FlushToDevice(file);
    const bool closed = std::fclose(file) == 0;
    if (written && closed && ReplaceFileWith(temporary, path))
        return true;
    RemoveFile(temporary);
    return false;
}

bool SafeSaveBytes(const std::string& path, const void* bytes, std::size_t size) {
    return SafeSave(path,
                    [&](std::FILE* file) { return std::fwrite(bytes, 1, size, file) == size; });
}

} // namespace MyApp
