// The editor program itself, started as the shell starts it: with a path on its command
// line, and again without one, against the settings it kept in the prefix's registry. It is
// read from outside, as another program sees it: its windows, their texts and lists.

#include "app/program_title.h"
#include "app/recovery_folder.h"
#include "app/settings_store.h"
#include "document/mesh_document.h"
#include "document/text_file.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_conversion.h"

#include "tests/support/running_editor.h"
#include "tests/support/temporary_folder.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace MyApp;
using KelUtility::ToNarrow;
using KelUtility::ToWide;

using KelTest::RunningEditor;

namespace {

std::wstring EditorPath() {
    return ToWide(KelUtility::ProgramFolder()) + L"\\..\\app\\KelMorvane.exe";
}

// Wine takes the screen's DPI from the user's settings as each program starts.
// The setting the user had comes back afterwards.
class ScreenDpiSetting {
public:
    explicit ScreenDpiSetting(DWORD dpi) {
        DWORD size = sizeof m_previous;
        m_had = RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr,
                             &m_previous, &size) == ERROR_SUCCESS;
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &dpi, sizeof dpi);
    }
    ~ScreenDpiSetting() {
        if (m_had)
            RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &m_previous,
                            sizeof m_previous);
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
    }

private:
    static constexpr const wchar_t* kKey = L"Control Panel\\Desktop";
    static constexpr const wchar_t* kValue = L"LogPixels";
    DWORD m_previous = 0;
    bool m_had = false;
};

bool CopyKey(const std::wstring& from, const std::wstring& to) {
    HKEY source = nullptr;
    HKEY target = nullptr;
    bool copied = false;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, from.c_str(), 0, KEY_READ, &source) == ERROR_SUCCESS &&
        RegCreateKeyExW(HKEY_CURRENT_USER, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &target, nullptr) == ERROR_SUCCESS)
        copied = RegCopyTreeW(source, nullptr, target) == ERROR_SUCCESS;
    RegCloseKey(source);
    RegCloseKey(target);
    return copied;
}

// The program's settings start empty for the test, and the user's own come back after it.
class SettingsAside {
public:
    SettingsAside() {
        RegDeleteTreeW(HKEY_CURRENT_USER, kAside);
        m_had = CopyKey(m_key, kAside);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_key.c_str());
    }
    ~SettingsAside() {
        RegDeleteTreeW(HKEY_CURRENT_USER, m_key.c_str());
        if (m_had)
            CopyKey(kAside, m_key);
        RegDeleteTreeW(HKEY_CURRENT_USER, kAside);
    }

private:
    static constexpr const wchar_t* kAside = L"Software\\Kel Morvane\\Messe da parte dai test";
    const std::wstring m_key = ToWide(kSettingsKey);
    bool m_had = false;
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
    const SettingsAside aside;
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
        RunningEditor editor(EditorPath(), project);
        ASSERT_NE(editor.main, nullptr);
        EXPECT_TRUE(editor.ShowsWidth(L"321"));
        EXPECT_EQ(editor.VertexRows(), 2);
        EXPECT_TRUE(editor.Exit());
    }
    const SettingsStore kept(kSettingsKey);
    EXPECT_EQ(kept.ReadRecent().Paths(), std::vector<std::string>{project});
    const std::optional<WindowPlacement> placement = kept.ReadPlacement();
    ASSERT_TRUE(placement.has_value());

    {
        RunningEditor editor(EditorPath());
        ASSERT_NE(editor.main, nullptr);
        EXPECT_TRUE(editor.ShowsWidth(L"640")) << "the sample, with nothing on the command line";
        const RECT bounds = RectOf(editor.main);
        EXPECT_EQ(PlacementText({{bounds.left, bounds.top, bounds.right, bounds.bottom}, false}),
                  PlacementText(*placement))
            << "the window comes back where it was";
        {
            // A second editor opens one step down and right of it, as Windows cascades.
            RunningEditor second(EditorPath());
            ASSERT_NE(second.main, nullptr);
            ASSERT_TRUE(second.ShowsWidth(L"640")) << "started, and placed";
            const RECT moved = RectOf(second.main);
            EXPECT_GT(moved.left - bounds.left, 0);
            EXPECT_EQ(moved.top - bounds.top, moved.left - bounds.left);
            EXPECT_EQ(moved.right - moved.left, bounds.right - bounds.left);
            EXPECT_TRUE(second.Exit());
        }
        ChooseFirstRecentProject(editor.main);
        EXPECT_TRUE(editor.ShowsWidth(L"321")) << "the recent project, chosen from the menu";
        SendMessageW(editor.main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        EXPECT_TRUE(editor.Exit());
    }

    {
        RunningEditor editor(EditorPath(), folder.File("non esiste.kv3"));
        ASSERT_NE(editor.main, nullptr);
        const HWND error = editor.WaitForWindow(L"Errore");
        ASSERT_NE(error, nullptr) << "the error box of Open";
        EXPECT_TRUE(FindWindowExW(error, nullptr, L"Static",
                                  (L"Il file " + ToWide(folder.File("non esiste.kv3")) +
                                   L" non esiste.")
                                      .c_str()) != nullptr);
        PostMessageW(error, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(IsZoomed(editor.main)) << "maximised, as it was left";
        EXPECT_TRUE(editor.ShowsWidth(L"640")) << "the program stays, with the sample";
        EXPECT_TRUE(editor.Exit());
    }
}

// At 150 % on a screen too narrow for the whole layout at that scale (1,280 pixels here),
// the boxes, the font and the pad grow as far as the screen lets them: every control is
// inside the window, none reached only by a scroll bar.
TEST(ProgramStart, LaysItselfOutForTheScreensDpi) {
    const ScreenDpiSetting setting(144);
    const SettingsAside aside; // no placement kept from an earlier run
    RunningEditor editor(EditorPath());
    ASSERT_NE(editor.main, nullptr);
    ASSERT_TRUE(editor.ShowsWidth(L"640"));
    HWND panel = nullptr;
    HWND widthBox = nullptr;
    for (HWND child : editor.Children()) {
        if (KelTest::ClassOf(child) == L"Edit" && widthBox == nullptr)
            widthBox = child;
    }
    ASSERT_NE(widthBox, nullptr);
    panel = GetParent(widthBox);
    EXPECT_GT(RectOf(widthBox).bottom - RectOf(widthBox).top, 22);
    RECT inside = {};
    GetClientRect(panel, &inside);
    MapWindowPoints(panel, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    int widest = 0;
    for (HWND child : editor.Children()) {
        if (GetParent(child) != panel || !IsWindowVisible(child))
            continue;
        const RECT bounds = RectOf(child);
        EXPECT_GE(bounds.top, inside.top) << ToNarrow(KelTest::ClassOf(child));
        EXPECT_LE(bounds.bottom, inside.bottom) << ToNarrow(KelTest::ClassOf(child));
        widest = std::max<int>(widest, bounds.right - inside.left);
    }
    // The bars follow the layout at the next tick.
    Sleep(1000);
    EXPECT_FALSE(GetWindowLongW(panel, GWL_STYLE) & WS_HSCROLL);
    EXPECT_LE(widest, inside.right - inside.left);
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
    // Version 2 where the system knows it, else the manifest's second choice: Wine 8 knows
    // only the first version of per-monitor awareness.
    const DPI_AWARENESS_CONTEXT context = GetThreadDpiAwarenessContext();
    EXPECT_TRUE(AreDpiAwarenessContextsEqual(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) ||
                AreDpiAwarenessContextsEqual(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE));
}

} // namespace

namespace {

// The recovery folder's files whose names match the pattern.
std::vector<std::wstring> RecoveryFiles(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry = {};
    const std::wstring folder = ToWide(MyApp::RecoveryFolder::UserFolder());
    const HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(folder + L"\\" + entry.cFileName);
    while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

// No copy before the test, and none after it whatever it found: a copy left behind would
// hold the next editor's start at its question.
struct NoRecoveryCopies {
    NoRecoveryCopies() { Clear(); }
    ~NoRecoveryCopies() { Clear(); }
    static void Clear() {
        for (const std::wstring& left : RecoveryFiles(L"copia-*"))
            DeleteFileW(left.c_str());
    }
};

} // namespace

// An editor killed with unsaved work leaves its copy; the next one offers it back, and a
// normal exit leaves none.
TEST(ProgramStart, WorkOfAKilledEditorComesBackAndANormalExitLeavesNoCopy) {
    const SettingsAside aside;
    const NoRecoveryCopies none;
    {
        RunningEditor editor(EditorPath());
        ASSERT_NE(editor.main, nullptr);
        const std::vector<HWND> children = editor.Children();
        const auto widthBox = std::find_if(children.begin(), children.end(),
                                           [](HWND child) { return KelTest::ClassOf(child) == L"Edit"; });
        ASSERT_NE(widthBox, children.end());
        SendMessageW(*widthBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"321"));
        for (int waited = 0; waited < 70 && RecoveryFiles(L"*.txt").empty(); ++waited)
            Sleep(1000);
        ASSERT_EQ(RecoveryFiles(L"*.txt").size(), 1u) << "a copy within the minute";
    } // ended by TerminateProcess
    RunningEditor editor(EditorPath());
    const HWND question = editor.WaitForWindow(L"Ripristino");
    ASSERT_NE(question, nullptr) << editor.Situation();
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    EXPECT_TRUE(editor.ShowsWidth(L"321"));
    PostMessageW(editor.main, WM_CLOSE, 0, 0);
    PostMessageW(editor.WaitForWindow(L"Uscita"), WM_COMMAND, IDYES, 0);
    PostMessageW(editor.WaitForWindow(L"Salva"), WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(editor.Ends());
    EXPECT_TRUE(RecoveryFiles(L"copia-*").empty()) << "neither copy, record nor lock";
}
