#include "tests/support/dialog_answerer.h"

#include <chrono>
#include <cwchar>

namespace KelTest {
namespace {

BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (wcscmp(className, L"#32770") == 0) {
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(window, WM_COMMAND, IDNO, 0);
    }
    return TRUE;
}

} // namespace

DialogAnswerer::DialogAnswerer(const wchar_t* title, std::function<void(HWND)> answer)
    : m_owner(GetCurrentThreadId()), m_helper([this, title, answer] { Run(title, answer); }) {}

DialogAnswerer::~DialogAnswerer() {
    Found();
}

bool DialogAnswerer::Found() {
    if (m_helper.joinable())
        m_helper.join();
    return m_found;
}

void DialogAnswerer::Run(const wchar_t* title, const std::function<void(HWND)>& answer) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        HWND dialog = FindWindowW(L"#32770", title);
        if (dialog != nullptr && GetWindowThreadProcessId(dialog, nullptr) == m_owner) {
            m_found = true;
            answer(dialog);
            return;
        }
        Sleep(20);
    }
    EnumThreadWindows(m_owner, CloseDialog, 0);
}

std::function<void(HWND)> Press(int button) {
    return [button](HWND dialog) { PostMessageW(dialog, WM_COMMAND, button, 0); };
}

} // namespace KelTest
