// The editor program itself, started as the shell starts it: with a path on its command
// line, and again without one, against the settings it kept in the prefix's registry. It is
// read from outside, as another program sees it: its windows, their texts and lists.

#include "app/program_title.h"
#include "app/settings_store.h"
#include "document/mesh_document.h"
#include "document/text_file.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_conversion.h"

#include "tests/support/temporary_folder.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace MyApp;
using KelUtility::ToNarrow;
using KelUtility::ToWide;

namespace {

constexpr DWORD kPatience = 20000; // milliseconds

struct Found {
    DWORD process;
    std::wstring title;
    HWND window;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM state) {
    auto* found = reinterpret_cast<Found*>(state);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t title[200] = {};
    GetWindowTextW(window, title, 200);
    if (process != found->process || !IsWindowVisible(window) || found->title != title)
        return TRUE;
    found->window = window;
    return FALSE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring EditorPath() {
    return ToWide(KelUtility::ProgramFolder()) + L"\\..\\app\\KelMorvane.exe";
}

// The editor running in a process of its own, closed as a user closes it.
class RunningEditor {
public:
    explicit RunningEditor(const std::string& path = "") {
        const std::wstring program = EditorPath();
        std::wstring line = L"\"" + program + L"\"";
        if (!path.empty())
            line += L" \"" + ToWide(path) + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        started = CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &m_process) != 0;
        if (started)
            main = WaitForWindow(ToWide(ProgramTitle()));
    }

    ~RunningEditor() {
        if (!started)
            return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_process.hProcess, 1);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }

    // A visible top-level window of the program with this title, once it shows.
    HWND WaitForWindow(const std::wstring& title) const {
        for (DWORD waited = 0; waited < kPatience; waited += 50) {
            Found found = {m_process.dwProcessId, title, nullptr};
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&found));
            if (found.window != nullptr)
                return found.window;
            Sleep(50);
        }
        return nullptr;
    }

    // The texts of the main window's edit boxes, in the order of the window tree.
    std::vector<std::wstring> BoxTexts() const {
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

    // The rows of the main window's first list, the vertices.
    int VertexRows() const {
        for (HWND child : Children()) {
            if (ClassOf(child) == L"ListBox")
                return static_cast<int>(SendMessageW(child, LB_GETCOUNT, 0, 0));
        }
        return -1;
    }

    // Whether the width box shows the width, within the time the program takes to start.
    bool ShowsWidth(const std::wstring& width) const {
        for (DWORD waited = 0; waited < kPatience; waited += 50) {
            const std::vector<std::wstring> texts = BoxTexts();
            if (texts.size() > 1 && texts[0] == width)
                return true;
            Sleep(50);
        }
        return false;
    }

    // Exit, and Yes to "Vuoi realmente uscire?"; true once the process has ended.
    bool Exit() const {
        PostMessageW(main, WM_CLOSE, 0, 0);
        HWND question = WaitForWindow(L"Uscita");
        if (question == nullptr)
            return false;
        PostMessageW(question, WM_COMMAND, IDYES, 0);
        return WaitForSingleObject(m_process.hProcess, kPatience) == WAIT_OBJECT_0;
    }

    std::vector<HWND> Children() const {
        std::vector<HWND> children;
        EnumChildWindows(main, CollectChild, reinterpret_cast<LPARAM>(&children));
        return children;
    }

    bool started = false;
    HWND main = nullptr;

private:
    PROCESS_INFORMATION m_process = {};
};

// Wine takes the screen's DPI from the user's settings as each program starts.
class ScreenDpiSetting {
public:
    explicit ScreenDpiSetting(DWORD dpi) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
    ~ScreenDpiSetting() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels"); }

private:
    static constexpr const wchar_t* kKey = L"Control Panel\\Desktop";
};

RECT RectOf(HWND window) {
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    return bounds;
}

// Alt+F, then the key of the first recent project, as the keyboard sends them.
void ChooseFirstRecentProject(HWND window) {
    SetForegroundWindow(window);
    Sleep(300);
    const WORD keys[] = {VK_MENU, 'F', 'F', VK_MENU, '1', '1'};
    const bool up[] = {false, false, true, true, false, true};
    for (int i = 0; i < 6; ++i) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = keys[i];
        input.ki.dwFlags = up[i] ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &input, sizeof input);
        Sleep(100);
    }
}

TEST(ProgramStart, OpensThePathItIsGivenAndRemembersItForTheNextRun) {
    RegDeleteTreeW(HKEY_CURRENT_USER, ToWide(kSettingsKey).c_str());
    TemporaryFolder folder;
    const std::string project =
        ToNarrow((folder.Path() / L"una città" / L"Проект один.kv3").wstring());
    CreateDirectoryW((folder.Path() / L"una città").wstring().c_str(), nullptr);
    MeshDocument document;
    document.ResetToSample();
    document.ViewWidth = 321;
    document.Vertices.resize(2);
    TextFile(project).WriteText(document.ToText());

    {
        RunningEditor editor(project);
        ASSERT_NE(editor.main, nullptr);
        EXPECT_TRUE(editor.ShowsWidth(L"321"));
        EXPECT_EQ(editor.VertexRows(), 2);
        EXPECT_TRUE(editor.Exit());
    }
    const SettingsStore kept(kSettingsKey);
    EXPECT_EQ(kept.ReadRecent().Paths(), std::vector<std::string>{project});
    EXPECT_TRUE(kept.ReadPlacement().has_value());

    {
        RunningEditor editor;
        ASSERT_NE(editor.main, nullptr);
        EXPECT_TRUE(editor.ShowsWidth(L"640")) << "the sample, with nothing on the command line";
        ChooseFirstRecentProject(editor.main);
        EXPECT_TRUE(editor.ShowsWidth(L"321")) << "the recent project, chosen from the menu";
        EXPECT_TRUE(editor.Exit());
    }

    {
        RunningEditor editor(folder.File("non esiste.kv3"));
        ASSERT_NE(editor.main, nullptr);
        const HWND error = editor.WaitForWindow(L"Errore");
        ASSERT_NE(error, nullptr) << "the error box of Open";
        PostMessageW(error, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(editor.ShowsWidth(L"640")) << "the program stays, with the sample";
        EXPECT_TRUE(editor.Exit());
    }
}

// At 150 % the boxes, the font and the pad grow by half, every control stays within the
// height of its panel, and what the width cannot show is reached by the panel's scroll bar.
TEST(ProgramStart, LaysItselfOutForTheScreensDpi) {
    const ScreenDpiSetting setting(144);
    RunningEditor editor;
    ASSERT_NE(editor.main, nullptr);
    ASSERT_TRUE(editor.ShowsWidth(L"640"));
    HWND panel = nullptr;
    HWND widthBox = nullptr;
    for (HWND child : editor.Children()) {
        if (ClassOf(child) == L"Edit" && widthBox == nullptr)
            widthBox = child;
    }
    ASSERT_NE(widthBox, nullptr);
    panel = GetParent(widthBox);
    EXPECT_EQ(RectOf(widthBox).bottom - RectOf(widthBox).top, 33);
    RECT inside = {};
    GetClientRect(panel, &inside);
    MapWindowPoints(panel, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    int widest = 0;
    for (HWND child : editor.Children()) {
        if (GetParent(child) != panel || !IsWindowVisible(child))
            continue;
        const RECT bounds = RectOf(child);
        EXPECT_GE(bounds.top, inside.top) << ToNarrow(ClassOf(child));
        EXPECT_LE(bounds.bottom, inside.bottom) << ToNarrow(ClassOf(child));
        widest = std::max<int>(widest, bounds.right - inside.left);
    }
    // The bars follow the layout at the next tick.
    Sleep(1000);
    const bool scrolls = (GetWindowLongW(panel, GWL_STYLE) & WS_HSCROLL) != 0;
    EXPECT_EQ(scrolls, widest > inside.right - inside.left);
    EXPECT_TRUE(editor.Exit());
}

TEST(ProgramStart, CarriesItsVersionIconsAndManifest) {
    const std::wstring program = EditorPath();
    std::vector<BYTE> version(GetFileVersionInfoSizeW(program.c_str(), nullptr));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(version.size()),
                                    version.data()));
    const auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\041004B0\\") + name;
        return VerQueryValueW(version.data(), path.c_str(), reinterpret_cast<void**>(&value),
                              &length)
                   ? ToNarrow(value)
                   : std::string();
    };
    EXPECT_EQ(text(L"ProductName"), "Kel Morvane");
    EXPECT_EQ(text(L"FileVersion"), "1.0.0.0");
    EXPECT_EQ(text(L"FileDescription"), "Kel Morvane - editor di mesh");
    EXPECT_EQ(text(L"LegalCopyright"), kRightsLine);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);

    // The icon group holds the three sizes Explorer shows.
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1005), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    std::vector<int> sizes;
    for (int i = 0; i < directory[4]; ++i)
        sizes.push_back(directory[6 + 14 * i]);
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));
    FreeLibrary(module);

    // The tests carry the program's manifest: the controls are the side-by-side version 6
    // ones (Wine's answers 5.81 to DllGetVersion, so its place tells), and per-monitor DPI.
    wchar_t controls[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), controls, MAX_PATH);
    EXPECT_NE(std::wstring(controls).find(L"common-controls_6595b64144ccf1df_6."),
              std::wstring::npos)
        << ToNarrow(controls);
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()),
              DPI_AWARENESS_PER_MONITOR_AWARE);
}

} // namespace
