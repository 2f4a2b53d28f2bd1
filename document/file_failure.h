#pragma once

// Why a step with a file failed, in words for the user: the C library's error numbers as
// Italian sentences. The platform's own codes are told by the file steps' seam
// (file_replace.h), which falls back on these.

#include <string>

namespace MyApp {

// An Italian sentence for an errno value, ending with a full stop; one naming the number
// for a value without a sentence of its own.
std::string ErrnoReason(int error);

// "path: reason", the second line of a message about a file that failed.
std::string FileAndReason(const std::string& path, const std::string& reason);

} // namespace MyApp
