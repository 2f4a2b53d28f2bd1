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

} // namespace MyApp
