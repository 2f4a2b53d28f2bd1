#include "tests/support/running_editor.h"

#include "app/program_title.h"
#include "toolkit/text_conversion.h"

#include <shellapi.h>

using KelUtility::ToWide;

namespace KelTest {
namespace {

constexpr DWORD kPatience = 20000; // milliseconds
constexpr DWORD kPoll = 50;

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

} // namespace

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

RunningEditor::RunningEditor(const std::wstring& program, const std::string& path) {
    std::wstring line = L"\"" + program + L"\"";
    if (!path.empty())
        line += L" \"" + ToWide(path) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return;
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    m_processId = process.dwProcessId;
    FindMainWindow();
}

RunningEditor RunningEditor::OpenedByShell(const std::string& file) {
    RunningEditor editor;
    const std::wstring wideFile = ToWide(file);
    SHELLEXECUTEINFOW open = {};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOCLOSEPROCESS;
    open.lpVerb = L"open";
    open.lpFile = wideFile.c_str();
    open.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&open) && open.hProcess != nullptr) {
        editor.m_process = open.hProcess;
        editor.m_processId = GetProcessId(open.hProcess);
        editor.FindMainWindow();
    }
    return editor;
}

RunningEditor::RunningEditor(RunningEditor&& other) noexcept
    : main(other.main), m_process(other.m_process), m_processId(other.m_processId) {
    other.m_process = nullptr;
}

RunningEditor::~RunningEditor() {
    if (m_process == nullptr)
        return;
    if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
        TerminateProcess(m_process, 1);
    CloseHandle(m_process);
}

void RunningEditor::FindMainWindow() {
    main = WaitForWindow(ToWide(MyApp::ProgramTitle()));
}

HWND RunningEditor::WaitForWindow(const std::wstring& title) const {
    for (DWORD waited = 0; waited < kPatience; waited += kPoll) {
        for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, title.c_str());
             window != nullptr; window = FindWindowExW(nullptr, window, nullptr, title.c_str())) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == m_processId && IsWindowVisible(window))
                return window;
        }
        Sleep(kPoll);
    }
    return nullptr;
}

std::vector<HWND> RunningEditor::Children() const {
    std::vector<HWND> children;
    EnumChildWindows(main, CollectWindow, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::vector<std::wstring> RunningEditor::BoxTexts() const {
    std::vector<std::wstring> texts;
    for (HWND child : Children()) {
        if (ClassOf(child) != L"Edit")
            continue;
        wchar_t text[100] = {};
        SendMessageW(child, WM_GETTEXT, 100, reinterpret_cast<LPARAM>(text));
        texts.emplace_back(text);
    }
    return texts;
}

int RunningEditor::VertexRows() const {
    for (HWND child : Children()) {
        if (ClassOf(child) == L"ListBox")
            return static_cast<int>(SendMessageW(child, LB_GETCOUNT, 0, 0));
    }
    return -1;
}

bool RunningEditor::ShowsWidth(const std::wstring& width) const {
    for (DWORD waited = 0; waited < kPatience; waited += kPoll) {
        const std::vector<std::wstring> texts = BoxTexts();
        if (texts.size() > 1 && texts[0] == width)
            return true;
        Sleep(kPoll);
    }
    return false;
}

bool RunningEditor::Exit() const {
    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND question = WaitForWindow(L"Uscita");
    if (question == nullptr)
        return false;
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    return Ends();
}

bool RunningEditor::Ends() const {
    return WaitForSingleObject(m_process, kPatience) == WAIT_OBJECT_0;
}

std::string RunningEditor::Situation() const {
    DWORD code = 0;
    if (m_process == nullptr || !GetExitCodeProcess(m_process, &code))
        return "no process";
    std::string situation = code == STILL_ACTIVE ? "running" : "ended with " + std::to_string(code);
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t title[200] = {};
        if (process == m_processId && GetWindowTextW(window, title, 200) > 0)
            situation += "; window \"" + KelUtility::ToNarrow(title) +
                         (IsWindowVisible(window) ? "\"" : "\" (hidden)");
    }
    return situation;
}

} // namespace KelTest
