#include "document/text_file.h"

#include "document/file_replace.h"
#include "document/safe_save.h"

#include <algorithm>
#include <cstdio>

namespace MyApp {
namespace {

const char* const kLineBreak = "\r\n";
constexpr std::size_t kBlockSize = 256 * 1024;

// What is left of a file from where it is being read, plus one byte so that the read
// that takes it all also meets the end; a block when the size cannot be told.
std::size_t RestOfFile(std::FILE* file) {
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0)
        return kBlockSize;
    const long end = std::ftell(file);
    if (std::fseek(file, here, SEEK_SET) != 0)
        return 0;
    return end > here ? static_cast<std::size_t>(end - here) + 1 : kBlockSize;
}

// A first block, then, for a file larger than that, the rest in one read. The size is
// only asked for once a read has worked, so nothing that cannot be read as a file is
// ever sized.
bool ReadAll(std::FILE* file, std::string& content) {
    for (std::size_t block = kBlockSize;;) {
        const std::size_t used = content.size();
        content.resize(used + block);
        const std::size_t got = std::fread(&content[used], 1, block, file);
        content.resize(used + got);
        if (got < block)
            return std::ferror(file) == 0;
        block = used == 0 ? RestOfFile(file) : kBlockSize;
        if (block == 0)
            return false;
    }
}

// Splits at each LF; a CR just before the LF belongs to the line break.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos;
         start = end + 1) {
        std::size_t length = end - start;
        if (length > 0 && text[end - 1] == '\r')
            --length;
        lines.emplace_back(text.substr(start, length));
    }
    return lines;
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
    return SplitLines(ReadText());
}

std::string TextFile::ReadText() {
    std::string content = ReadWhole();
    // Text after the last LF is a line whose line break is missing.
    const std::size_t complete = content.rfind('\n') + 1;
    if (!Failed && complete != content.size()) {
        Failed = true;
        Reason = "Il file termina a met\xC3\xA0 di una riga: potrebbe essere incompleto.";
    }
    content.resize(complete);
    return content;
}

std::string TextFile::ReadWhole() {
    Failed = false;
    Reason.clear();
    std::string content;
    ClearFailure();
    std::FILE* file = OpenPath(m_path, "rb");
    if (file == nullptr) {
        Failed = true;
        Reason = FailureReason();
        return content;
    }
    ClearFailure();
    if (!ReadAll(file, content)) {
        Failed = true;
        Reason = FailureReason();
    }
    std::fclose(file);
    return content;
}

void TextFile::WriteLines(const std::vector<std::string>& lines) {
    Reason.clear();
    Failed = !SafeSave(m_path, [&](std::FILE* file) { return WriteAll(file, lines); }, &Reason);
}

void TextFile::WriteText(std::string_view text) {
    Reason.clear();
    Failed = !SafeSaveBytes(m_path, text.data(), text.size(), &Reason);
}

void TextFile::WriteText(const std::function<bool(const TextSink&)>& write) {
    Reason.clear();
    const auto writePieces = [&](std::FILE* file) {
        std::setvbuf(file, nullptr, _IONBF, 0);
        return write([file](std::string_view piece) {
            return std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
        });
    };
    Failed = !SafeSave(m_path, writePieces, &Reason);
}

} // namespace MyApp
