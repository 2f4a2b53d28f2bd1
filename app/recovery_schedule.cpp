#include "app/recovery_schedule.h"

namespace MyApp {

void RecoverySchedule::NoteChange(Clock::time_point now) {
    if (!m_firstUnwritten)
        m_firstUnwritten = now;
}

bool RecoverySchedule::Due(Clock::time_point now) const {
    return m_firstUnwritten && now - *m_firstUnwritten >= kDelay;
}

void RecoverySchedule::NoteWritten() {
    m_firstUnwritten.reset();
}

void RecoverySchedule::Clear() {
    m_firstUnwritten.reset();
}

} // namespace MyApp
