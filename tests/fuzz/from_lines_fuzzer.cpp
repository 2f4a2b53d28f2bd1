// Feeds arbitrary bytes, cut into lines, to the project reader, and checks that what the
// writer then makes reads back to itself after one normalising round, and without a
// problem when its indices reach its vertices. The same bytes read as text must give the
// document their whole lines give, and the text writer the bytes of the line writer.

#include "document/mesh_document.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
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

// The lines the text reader sees: a CR just before a LF belongs to the line break.
std::vector<std::string> WithoutCarriageReturns(std::vector<std::string> lines) {
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (!lines[i].empty() && lines[i].back() == '\r')
            lines[i].pop_back();
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    return text;
}

// A project's first line: the header, after the byte-order mark some editors write.
bool IsHeader(std::string_view line) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        line.remove_prefix(kByteOrderMark.size());
    return line == MeshDocument::kHeader;
}

std::vector<std::string> Normalised(const std::vector<std::string>& lines) {
    MeshDocument document;
    if (!document.FromLines(lines))
        std::abort();
    return document.ToLines();
}

// A document whose every index names one of its vertices is sound as the writer writes it.
void ExpectSoundWhenWritten(const MeshDocument& document) {
    const std::size_t count = document.Vertices.size();
    if (std::any_of(document.Indices.begin(), document.Indices.end(),
                    [&](std::uint16_t index) { return index >= count; }))
        return;
    MeshDocument again;
    MyApp::ProjectProblem problem;
    if (!again.FromText(document.ToText(), &problem) || problem)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines = SplitAtLineFeeds(data, size);
    MeshDocument document;
    const bool isProject = IsHeader(lines[0]);
    MyApp::ProjectProblem problem;
    if (document.FromLines(lines, &problem) != isProject)
        std::abort();
    if (!isProject)
        return 0;
    MeshDocument fromText;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // What follows the last LF is no line of the text: nothing, or a line the end cut short.
    std::vector<std::string> textLines = WithoutCarriageReturns(lines);
    textLines.pop_back();
    const bool textIsProject = !textLines.empty() && IsHeader(textLines[0]);
    if (fromText.FromText(text) != textIsProject)
        std::abort();
    if (textIsProject) {
        MeshDocument fromLines;
        fromLines.FromLines(textLines);
        if (fromText.ToLines() != fromLines.ToLines() || fromText.Vertices != fromLines.Vertices ||
            fromText.Indices != fromLines.Indices)
            std::abort();
    }
    if (document.ToText() != Joined(document.ToLines()))
        std::abort();
    const std::vector<std::string> twice = Normalised(document.ToLines());
    if (Normalised(twice) != twice)
        std::abort();
    ExpectSoundWhenWritten(document);
    return 0;
}
