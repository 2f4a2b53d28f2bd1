// Feeds arbitrary bytes, cut into lines, to the project reader, and checks that what the
// writer then makes reads back to itself after one normalising round.

#include "app/mesh_document.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using MyApp::MeshDocument;

namespace {

std::vector<std::string> SplitAtLineFeeds(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back().push_back(static_cast<char>(data[i]));
    }
    return lines;
}

std::vector<std::string> Normalised(const std::vector<std::string>& lines) {
    MeshDocument document;
    if (!document.FromLines(lines))
        std::abort();
    return document.ToLines();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines = SplitAtLineFeeds(data, size);
    MeshDocument document;
    const bool isProject = lines[0] == MeshDocument::kHeader;
    if (document.FromLines(lines) != isProject)
        std::abort();
    if (!isProject)
        return 0;
    const std::vector<std::string> twice = Normalised(document.ToLines());
    if (Normalised(twice) != twice)
        std::abort();
    return 0;
}
