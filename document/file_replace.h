#pragma once

// The platform's steps with files, for paths in UTF-8: opening a file, removing one,
// pushing a written file to the device, and putting it in place of another in one step.
// Windows takes such paths only through its wide-character calls.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace MyApp {

// std::fopen for a UTF-8 path; null when the file cannot be opened.
std::FILE* OpenPath(const std::string& path, const char* mode);

// std::remove for a UTF-8 path; true when the file is gone.
bool RemoveFile(const std::string& path);

// Flushes the stream and asks the system to write the file's data to the device.
bool FlushToDevice(std::FILE* file);

// Makes a file that is not there yet and opens it for writing; null when the name is
// taken, so that two writers never share a file.
std::FILE* CreateNewFile(const std::string& path);

// Renames source over target, replacing target if it exists. Both name files in one
// folder.
bool ReplaceFileWith(const std::string& source, const std::string& target);

// Puts `replacement` in the place of `target` in one step: whatever happens, target names
// either its old file or the new one. When `kept` is not empty the old file stays under
// that name, which must be free. Where target exists Windows does it with ReplaceFileW,
// which also keeps the old file's attributes and permissions. All three are in one folder.
bool ReplaceKeeping(const std::string& replacement, const std::string& target,
                    const std::string& kept);

// Whether the file is there and marked read-only.
bool IsReadOnlyFile(const std::string& path);

// The number of this process, which no other running process shares.
unsigned long ProcessNumber();

// What tells one version of a file from the next: its size and the time of its last write.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t written = 0;
    bool operator==(const FileStamp& other) const {
        return size == other.size && written == other.written;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The file's stamp; none when there is no such file or it cannot be looked at.
std::optional<FileStamp> StampOf(const std::string& path);

// Why writing to `file`, open for writing, failed: the system's reason where it gave one.
// A device that takes fewer bytes than it is given may give none (Wine's, when a disk
// fills part way through a write); one more byte written at the file's end then asks the
// system why, so the file must be one that is being given up.
std::string WriteFailureReason(std::FILE* file);

// Forgets what earlier steps left in the system's error state, so that the reason of the
// next failure is its own: a call that succeeds may leave an error code behind.
void ClearFailure();

// Why the step just taken failed, in Italian where the reason is a common one, otherwise
// in the system's own words: called right after a function above, or a read, write, flush
// or close of a file OpenPath opened, failed, and after ClearFailure before that step.
std::string FailureReason();

} // namespace MyApp
