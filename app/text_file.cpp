#include "app/text_file.h"

#include "app/safe_save.h"

#include <algorithm>
#include <cstdio>

namespace MyApp {
namespace {

const char* const kLineBreak = "\r\n";
constexpr std::size_t kBlockSize = 256 * 1024;

bool ReadAll(std::FILE* file, std::string& content) {
    for (;;) {
        const std::size_t used = content.size();
        content.resize(used + kBlockSize);
        const std::size_t got = std::fread(&content[used], 1, kBlockSize, file);
        content.resize(used + got);
        if (got < kBlockSize)
            return std::ferror(file) == 0;
    }
}

// Splits at each LF; a CR just before the LF belongs to the line break. Returns false when
// text is left after the last LF: a line whose line break is missing.
bool SplitLines(const std::string& content, std::vector<std::string>& lines) {
    lines.reserve(static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')));
    std::size_t start = 0;
    for (std::size_t end; (end = content.find('\n', start)) != std::string::npos;
         start = end + 1) {
        std::size_t length = end - start;
        if (length > 0 && content[end - 1] == '\r')
            --length;
        lines.emplace_back(content, start, length);
    }
    return start == content.size();
}

bool WriteBlock(std::FILE* file, const std::string& block) {
    return std::fwrite(block.data(), 1, block.size(), file) == block.size();
}

bool WriteAll(std::FILE* file, const std::vector<std::string>& lines) {
    std::setvbuf(file, nullptr, _IONBF, 0);
    std::string block;
    block.reserve(kBlockSize * 2);
    for (const std::string& line : lines) {
        block.append(line).append(kLineBreak);
        if (block.size() >= kBlockSize) {
            if (!WriteBlock(file, block))
                return false;
            block.clear();
        }
    }
    return WriteBlock(file, block);
}

} // namespace

std::vector<std::string> TextFile::ReadLines() {
    Failed = false;
    std::vector<std::string> lines;
    std::FILE* file = std::fopen(m_path.c_str(), "rb");
    if (file == nullptr) {
        Failed = true;
        return lines;
    }
    std::string content;
    const bool readAll = ReadAll(file, content);
    std::fclose(file);
    const bool complete = SplitLines(content, lines);
    Failed = !readAll || !complete;
    return lines;
}

void TextFile::WriteLines(const std::vector<std::string>& lines) {
    Failed = !SafeSave(m_path, [&](std::FILE* file) { return WriteAll(file, lines); });
}

} // namespace MyApp
