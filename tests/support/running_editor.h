#pragma once

// The editor running in a process of its own, read from outside as another program sees it
// (its windows, their texts and lists) and closed as a user closes it. The process is ended
// by force if it still runs when the object goes.

#include <string>
#include <vector>
#include <windows.h>

namespace KelTest {

class RunningEditor {
public:
    // The program at `program` started with `path` (UTF-8) on its command line, when given.
    explicit RunningEditor(const std::wstring& program, const std::string& path = "");
    // The file opened by the shell, as a double click in Explorer opens it.
    static RunningEditor OpenedByShell(const std::string& file);
    ~RunningEditor();
    RunningEditor(RunningEditor&& other) noexcept;
    RunningEditor& operator=(RunningEditor&&) = delete;

    // A visible top-level window of the process with this title, once it shows; none after
    // twenty seconds.
    HWND WaitForWindow(const std::wstring& title) const;
    std::vector<HWND> Children() const;
    // The texts of the main window's edit boxes, in the order of the window tree.
    std::vector<std::wstring> BoxTexts() const;
    // The rows of the main window's first list, the vertices.
    int VertexRows() const;
    // Whether the width box shows the width, within the time the program takes to start.
    bool ShowsWidth(const std::wstring& width) const;
    // Exit, and Yes to "Vuoi realmente uscire?"; true once the process has ended.
    bool Exit() const;
    // Whether the process ends within the time the program takes to start.
    bool Ends() const;
    // What a failed wait saw: whether the process still runs, or how it ended, and the
    // titles of its top-level windows.
    std::string Situation() const;

    HWND main = nullptr;

private:
    RunningEditor() = default;
    void FindMainWindow();

    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
};

std::wstring ClassOf(HWND window);

} // namespace KelTest
