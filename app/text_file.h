#pragma once

// Moves the lines of a project file to and from disk. Lines end in CR LF on disk; a
// reader also takes LF alone. Saving never harms the file it replaces: the lines go to a
// temporary file beside it, which takes the old file's place only once every byte of it
// is written and flushed.

#include <string>
#include <vector>

namespace MyApp {

class TextFile {
public:
    explicit TextFile(std::string path) : m_path(std::move(path)) {}

    // Set by ReadLines and WriteLines when they went wrong.
    bool Failed = false;

    // Every line that ends in a line break. A last line without one is dropped and sets
    // Failed, and so does a file that cannot be opened or read.
    std::vector<std::string> ReadLines();

    // Writes each line followed by CR LF in place of the file. On any failure the old
    // file is left as it was, no temporary file remains, and Failed is set.
    void WriteLines(const std::vector<std::string>& lines);

private:
    std::string m_path;
};

} // namespace MyApp
