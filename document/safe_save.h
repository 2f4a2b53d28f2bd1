#pragma once

// Writes a file in place of another without ever harming it: the content goes to a
// temporary file of the writer's own beside the target, which is flushed to the device and
// only then put in the target's place in one step. On any failure the target is as it was
// and no temporary file remains. A read-only target is not written over.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace MyApp {

// `write` puts the content into the open temporary file and says whether it all went. On a
// failure `reason`, when given, says why, in Italian (file_replace.h: FailureReason).
bool SafeSave(const std::string& path, const std::function<bool(std::FILE*)>& write,
              std::string* reason = nullptr);

// The same for content already in memory.
bool SafeSaveBytes(const std::string& path, const void* bytes, std::size_t size,
                   std::string* reason = nullptr);

// One file of a set that belongs together.
struct FileContent {
    std::string path;
    std::string bytes;
};

// Writes the files as one: each is written and flushed beside its target first, and only
// when every one is complete do they take their targets' places, each in one step, the old
// files kept under other names until the last is in place. On a failure every target is as it was, nothing of ours is
// left beside them, and `failedPath` and `reason` name the file and why.
bool SafeSaveFiles(const std::vector<FileContent>& files, std::string& failedPath,
                   std::string& reason);

} // namespace MyApp
