#include "document/safe_save.h"

#include "document/file_replace.h"

#include <atomic>

namespace MyApp {
namespace {

// Past this many names taken by others the folder is not one to write in.
constexpr int kNameTries = 100;

const char* const kReadOnly = "Il file \xC3\xA8 di sola lettura.";

bool Failed(std::string* reason) {
    if (reason != nullptr)
        *reason = FailureReason();
    return false;
}

bool Exists(const std::string& path) {
    std::FILE* file = OpenPath(path, "rb");
    if (file != nullptr)
        std::fclose(file);
    return file != nullptr;
}

// The temporary file sits beside the target so that replacing the target is a rename
// within one folder, which the system does in one step. Its name is this process's own
// and counts up, so that two writers of one file, in one editor or in two, never share
// a temporary file.
std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned> count{0};
    return path + ".~" + std::to_string(ProcessNumber()) + "-" + std::to_string(++count) + ".tmp";
}

// Where the old file stays while its new one takes the place: a name made from the
// temporary file's, which no other writer holds while that file is ours.
std::string KeptName(const std::string& temporary) {
    return temporary.substr(0, temporary.size() - 4) + ".old";
}

// A read-only file is one the user keeps from changes: it is not written over.
bool RefuseReadOnly(const std::string& path, std::string* reason) {
    if (!IsReadOnlyFile(path))
        return false;
    if (reason != nullptr)
        *reason = kReadOnly;
    return true;
}

// The content in a flushed temporary file beside path, whose name goes to `temporary`;
// nothing is left on a failure.
bool WriteTemporary(const std::string& path, const std::function<bool(std::FILE*)>& write,
                    std::string& temporary, std::string* reason) {
    std::FILE* file = nullptr;
    for (int tries = 0; file == nullptr && tries < kNameTries; ++tries) {
        temporary = TemporaryName(path);
        ClearFailure();
        file = CreateNewFile(temporary);
        if (file == nullptr && !Exists(temporary))
            return Failed(reason);
    }
    if (file == nullptr)
        return Failed(reason);
    ClearFailure();
    bool written = write(file) && FlushToDevice(file);
    if (!written && reason != nullptr)
        *reason = WriteFailureReason(file);
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

} // namespace

bool SafeSave(const std::string& path, const std::function<bool(std::FILE*)>& write,
              std::string* reason) {
    std::string temporary;
    if (RefuseReadOnly(path, reason) || !WriteTemporary(path, write, temporary, reason))
        return false;
    const std::string kept = KeptName(temporary);
    ClearFailure();
    if (ReplaceKeeping(temporary, path, kept)) {
        RemoveFile(kept);
        return true;
    }
    Failed(reason);
    RemoveFile(temporary);
    return false;
}

bool SafeSaveBytes(const std::string& path, const void* bytes, std::size_t size,
                   std::string* reason) {
    return SafeSave(
        path, [&](std::FILE* file) { return WriteBytes(file, bytes, size); }, reason);
}

// Every file is written beside its target before any target changes; then each new file
// takes its place in one step, the old one kept under a name of its own, so that a later
// failure can put the old ones back the same way.
bool SafeSaveFiles(const std::vector<FileContent>& files, std::string& failedPath,
                   std::string& reason) {
    for (const FileContent& file : files)
        if (RefuseReadOnly(file.path, &reason)) {
            failedPath = file.path;
            return false;
        }
    std::vector<std::string> temporaries(files.size());
    std::size_t written = 0;
    for (; written < files.size(); ++written) {
        const FileContent& file = files[written];
        const auto write = [&](std::FILE* out) {
            return WriteBytes(out, file.bytes.data(), file.bytes.size());
        };
        if (!WriteTemporary(file.path, write, temporaries[written], &reason))
            break;
    }
    std::vector<bool> hadOld(files.size(), false);
    std::size_t placed = 0;
    if (written < files.size()) {
        failedPath = files[written].path;
    } else {
        for (; placed < files.size(); ++placed) {
            const std::string& path = files[placed].path;
            hadOld[placed] = Exists(path);
            ClearFailure();
            if (!ReplaceKeeping(temporaries[placed], path, KeptName(temporaries[placed]))) {
                reason = FailureReason();
                failedPath = path;
                break;
            }
        }
    }
    const bool done = placed == files.size();
    for (std::size_t i = 0; i < written; ++i) {
        const std::string& path = files[i].path;
        const std::string kept = KeptName(temporaries[i]);
        if (!done && i < placed) {
            if (hadOld[i])
                ReplaceKeeping(kept, path, "");
            else
                RemoveFile(path);
        }
        RemoveFile(kept);
        RemoveFile(temporaries[i]);
    }
    return done;
}

} // namespace MyApp
