#pragma once

// Writes a file in place of another without ever harming it: the content goes to a
// temporary file beside the target, which is flushed to the device and only then put in
// the target's place in one step. On any failure the target is as it was and no temporary
// file remains.

#include <cstdio>
#include <functional>
#include <string>

namespace MyApp {

// `write` puts the content into the open temporary file and says whether it all went.
bool SafeSave(const std::string& path, const std::function<bool(std::FILE*)>& write);

// The same for content already in memory.
bool SafeSaveBytes(const std::string& path, const void* bytes, std::size_t size);

} // namespace MyApp
