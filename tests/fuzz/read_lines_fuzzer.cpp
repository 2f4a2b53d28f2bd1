// Writes arbitrary bytes to a file and reads them back as project lines, and as text:
// both reads agree on failure and give the same document.

#include "document/mesh_document.h"
#include "document/text_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string ScratchPath() {
    return "/tmp/kel-read-lines-fuzz-" + std::to_string(getpid()) + ".kv3";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    MyApp::TextFile file(path);
    const std::vector<std::string> lines = file.ReadLines();
    const bool lastLineBroken = size > 0 && data[size - 1] != '\n';
    if (file.Failed != lastLineBroken)
        std::abort();
    for (const std::string& line : lines) {
        if (line.find('\n') != std::string::npos)
            std::abort();
    }
    MyApp::MeshDocument document;
    document.FromLines(lines);

    MyApp::TextFile textFile(path);
    const std::string text = textFile.ReadText();
    if (textFile.Failed != file.Failed || text.empty() != lines.empty())
        std::abort();
    MyApp::MeshDocument fromText;
    fromText.FromText(text);
    if (fromText.ToLines() != document.ToLines() || fromText.Vertices != document.Vertices ||
        fromText.Indices != document.Indices)
        std::abort();
    return 0;
}
