#pragma once

// When the editor writes its recovery copy: within a minute of the first change the last
// copy does not hold, and never while nothing changed since that copy. A burst of changes
// makes one copy; a change made while a copy is due joins it.

#include <chrono>
#include <optional>

namespace MyApp {

class RecoverySchedule {
public:
    using Clock = std::chrono::steady_clock;
    // Under the minute the user is promised, so that the timer's tick never takes it past.
    static constexpr Clock::duration kDelay = std::chrono::seconds(55);

    // The document changed and is not the one in its file.
    void NoteChange(Clock::time_point now);
    // Whether a copy should be written now.
    bool Due(Clock::time_point now) const;
    // A copy of the document as it is was written.
    void NoteWritten();
    // The document is the one in its file, or the user gave up its changes: no copy is due.
    void Clear();

private:
    std::optional<Clock::time_point> m_firstUnwritten;
};

} // namespace MyApp
