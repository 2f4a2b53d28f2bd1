#pragma once

// The small record beside a recovery copy: which project the copy belongs to and when it
// was written. It is a text file of three lines: a header, the project's path (empty for a
// document without a name) and the local time, "2026-12-08 09:15:30".

#include <string>
#include <string_view>
#include <vector>

namespace MyApp {

struct RecoveryRecord {
    std::string projectPath;
    std::string writtenAt;
};

std::string RecordText(const RecoveryRecord& record);

// False for a record that is not one as RecordText writes it: another header, a missing
// line, a time of another shape, more lines.
bool ReadRecord(std::string_view text, RecoveryRecord& record);

// A local time as the question shows it: "08/12/2026 alle 09:15".
std::string ShownTime(const std::string& writtenAt);

// A copy found in the folder, and whether the editor that wrote it still runs.
struct FoundCopy {
    std::string name; // the copy's file name without its extension: the writer's own
    RecoveryRecord record;
    bool ownerRunning = false;
};

// The copies to offer at start, newest first: those of editors that no longer run. A
// running editor's copy is its own to keep and to delete.
std::vector<FoundCopy> CopiesToOffer(std::vector<FoundCopy> found);

} // namespace MyApp
