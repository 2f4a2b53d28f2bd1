#include "document/safe_save.h"

#include "document/file_replace.h"

namespace MyApp {
namespace {

// The temporary file sits beside the target so that replacing the target is a rename
// within one folder, which the system does in one step.
const char* const kTemporarySuffix = ".~tmp";
// Where a set of files keeps an old file while the others take their places.
const char* const kKeptSuffix = ".~old";

bool Failed(std::string* reason) {
    if (reason != nullptr)
        *reason = FailureReason();
    return false;
}

// The content in a flushed temporary file beside path; nothing is left on a failure.
bool WriteTemporary(const std::string& temporary, const std::function<bool(std::FILE*)>& write,
                    std::string* reason) {
    ClearFailure();
    std::FILE* file = OpenPath(temporary, "wb");
    if (file == nullptr)
        return Failed(reason);
    ClearFailure();
    bool written = write(file) && FlushToDevice(file);
    if (!written)
        Failed(reason);
    ClearFailure();
    if (std::fclose(file) != 0 && written)
        written = Failed(reason);
    if (!written)
        RemoveFile(temporary);
    return written;
}

bool WriteBytes(std::FILE* file, const void* bytes, std::size_t size) {
    return std::fwrite(bytes, 1, size, file) == size;
}

bool Exists(const std::string& path) {
    std::FILE* file = OpenPath(path, "rb");
    if (file != nullptr)
        std::fclose(file);
    return file != nullptr;
}

// The temporary file beside path takes its place, the old file going aside first; `aside`
// tells whether it went. On a failure the system's reason is still to be read.
bool PutInPlace(const std::string& path, bool& aside) {
    aside = false;
    if (Exists(path)) {
        ClearFailure();
        if (!ReplaceFileWith(path, path + kKeptSuffix))
            return false;
        aside = true;
    }
    ClearFailure();
    return ReplaceFileWith(path + kTemporarySuffix, path);
}

} // namespace

bool SafeSave(const std::string& path, const std::function<bool(std::FILE*)>& write,
              std::string* reason) {
    const std::string temporary = path + kTemporarySuffix;
    if (!WriteTemporary(temporary, write, reason))
        return false;
    ClearFailure();
    if (ReplaceFileWith(temporary, path))
        return true;
    Failed(reason);
    RemoveFile(temporary);
    return false;
}

bool SafeSaveBytes(const std::string& path, const void* bytes, std::size_t size,
                   std::string* reason) {
    return SafeSave(
        path, [&](std::FILE* file) { return WriteBytes(file, bytes, size); }, reason);
}

bool SafeSaveFiles(const std::vector<FileContent>& files, std::string& failedPath,
                   std::string& reason) {
    std::size_t written = 0;
    for (; written < files.size(); ++written) {
        const FileContent& file = files[written];
        const auto write = [&](std::FILE* out) {
            return WriteBytes(out, file.bytes.data(), file.bytes.size());
        };
        if (!WriteTemporary(file.path + kTemporarySuffix, write, &reason))
            break;
    }
    // Each old file steps aside before its new one takes the place, so that a later
    // failure can put it back.
    std::vector<bool> kept(files.size(), false);
    std::size_t placed = 0;
    if (written < files.size()) {
        failedPath = files[written].path;
    } else {
        for (; placed < files.size(); ++placed) {
            bool aside = false;
            if (!PutInPlace(files[placed].path, aside)) {
                reason = FailureReason();
                failedPath = files[placed].path;
                kept[placed] = aside;
                break;
            }
            kept[placed] = aside;
        }
    }
    const bool done = placed == files.size();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i].path;
        if (!done && i < placed)
            RemoveFile(path);
        if (kept[i] && !done)
            ReplaceFileWith(path + kKeptSuffix, path);
        else if (kept[i])
            RemoveFile(path + kKeptSuffix);
        RemoveFile(path + kTemporarySuffix);
    }
    return done;
}

} // namespace MyApp
