#pragma once

// The platform's real dialogs and boxes, answered from a helper thread as a person would
// press their buttons. If the dialog does not show up in time, the helper closes whatever
// dialog the test's thread has, so a failure never leaves the test waiting.

#include <atomic>
#include <functional>
#include <thread>
#include <windows.h>

namespace KelTest {

class DialogAnswerer {
public:
    // Waits, beside the calling thread, for a dialog of that title on it and answers it.
    DialogAnswerer(const wchar_t* title, std::function<void(HWND)> answer);
    ~DialogAnswerer();

    // Whether the dialog showed up; waits for the helper to finish.
    bool Found();

private:
    void Run(const wchar_t* title, const std::function<void(HWND)>& answer);

    DWORD m_owner;
    std::atomic<bool> m_found{false};
    std::thread m_helper;
};

// Presses one of a dialog's buttons.
std::function<void(HWND)> Press(int button);

} // namespace KelTest
