#pragma once

// The platform's steps with files, for paths in UTF-8: opening a file, removing one,
// pushing a written file to the device, and putting it in place of another in one step.
// Windows takes such paths only through its wide-character calls.

#include <cstdio>
#include <string>

namespace MyApp {

// std::fopen for a UTF-8 path; null when the file cannot be opened.
std::FILE* OpenPath(const std::string& path, const char* mode);

// std::remove for a UTF-8 path; true when the file is gone.
bool RemoveFile(const std::string& path);

// Flushes the stream and asks the system to write the file's data to the device.
bool FlushToDevice(std::FILE* file);

// Renames source over target, replacing target if it exists. Both name files in one
// folder.
bool ReplaceFileWith(const std::string& source, const std::string& target);

// Forgets what earlier steps left in the system's error state, so that the reason of the
// next failure is its own: a call that succeeds may leave an error code behind.
void ClearFailure();

// Why the step just taken failed, in Italian where the reason is a common one, otherwise
// in the system's own words: called right after a function above, or a read, write, flush
// or close of a file OpenPath opened, failed, and after ClearFailure before that step.
std::string FailureReason();

} // namespace MyApp
