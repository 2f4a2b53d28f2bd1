#pragma once

// The two platform steps of a safe save: pushing a written file to the device, and
// putting it in place of another file in one step.

#include <cstdio>
#include <string>

namespace MyApp {

// Flushes the stream and asks the system to write the file's data to the device.
bool FlushToDevice(std::FILE* file);

// Renames source over target, replacing target if it exists. Both name files in one
// folder, given by their narrow paths.
bool ReplaceFileWith(const std::string& source, const std::string& target);

} // namespace MyApp
