#pragma once

// Moves the lines of a project file to and from disk. Lines end in CR LF on disk; a
// reader also takes LF alone. Saving never harms the file it replaces: the lines go to a
// temporary file beside it, which takes the old file's place only once every byte of it
// is written and flushed.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace MyApp {

// Takes the next piece of a text being written; false stops the writing.
using TextSink = std::function<bool(std::string_view piece)>;

class TextFile {
public:
    explicit TextFile(std::string path) : m_path(std::move(path)) {}

    // Set by the readers and writers when they went wrong, and why, in Italian.
    bool Failed = false;
    std::string Reason;

    // Every line that ends in a line break. A last line without one is dropped and sets
    // Failed, and so does a file that cannot be opened or read.
    std::vector<std::string> ReadLines();

    // The same lines as the file's bytes, up to and including the last line break, for a
    // reader that takes the lines straight from the text.
    std::string ReadText();

    // Every byte of the file, a last line without its line break too, for a reader that
    // judges such a line itself; Failed only when the file cannot be opened or read.
    std::string ReadWhole();

    // Writes each line followed by CR LF in place of the file. On any failure the old
    // file is left as it was, no temporary file remains, and Failed is set.
    void WriteLines(const std::vector<std::string>& lines);

    // The same for lines already laid out as text, each followed by its line break.
    void WriteText(std::string_view text);
    // The same for a text that `write` gives piece by piece to the sink it is handed, so
    // that the whole text is never held; false from `write` fails the writing.
    void WriteText(const std::function<bool(const TextSink&)>& write);

private:
    std::string m_path;
};

} // namespace MyApp
