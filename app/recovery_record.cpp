#include "app/recovery_record.h"

#include <algorithm>
#include <cctype>

namespace MyApp {
namespace {

constexpr std::string_view kHeader = "KEL MORVANE RIPRISTINO 1";
// "YYYY-MM-DD HH:MM:SS": digits everywhere but these places.
constexpr std::string_view kTimeShape = "0000-00-00 00:00:00";

bool HasTimeShape(std::string_view text) {
    if (text.size() != kTimeShape.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (kTimeShape[i] == '0' ? !digit : text[i] != kTimeShape[i])
            return false;
    }
    return true;
}

// The lines of the text, each without its CR LF; the last line ends with its break.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return {}; // an unfinished last line: the record was cut short
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(end + 1);
    }
    return lines;
}

} // namespace

std::string RecordText(const RecoveryRecord& record) {
    return std::string(kHeader) + "\r\n" + record.projectPath + "\r\n" + record.writtenAt + "\r\n";
}

bool ReadRecord(std::string_view text, RecoveryRecord& record) {
    const std::vector<std::string_view> lines = Lines(text);
    if (lines.size() != 3 || lines[0] != kHeader || !HasTimeShape(lines[2]))
        return false;
    record.projectPath = std::string(lines[1]);
    record.writtenAt = std::string(lines[2]);
    return true;
}

std::string ShownTime(const std::string& writtenAt) {
    if (!HasTimeShape(writtenAt))
        return writtenAt;
    return writtenAt.substr(8, 2) + "/" + writtenAt.substr(5, 2) + "/" + writtenAt.substr(0, 4) +
           " alle " + writtenAt.substr(11, 5);
}

std::vector<FoundCopy> CopiesToOffer(std::vector<FoundCopy> found) {
    found.erase(std::remove_if(found.begin(), found.end(),
                               [](const FoundCopy& copy) { return copy.ownerRunning; }),
                found.end());
    // The times sort as their text does.
    std::stable_sort(found.begin(), found.end(), [](const FoundCopy& a, const FoundCopy& b) {
        return a.record.writtenAt > b.record.writtenAt;
    });
    return found;
}

} // namespace MyApp
