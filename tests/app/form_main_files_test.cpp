// Files that reach the editor from outside its dialogs: dropped on the window, kept in the
// recent projects of the File menu and remembered in the registry. The program started with
// a path is in program_start_test.cpp.

#include "app/form_main.h"
#include "app/program_title.h"
#include "app/settings_store.h"
#include "document/text_file.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/sub_menu.h"
#include "toolkit/text_conversion.h"

#include "tests/support/scripted_host.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <shlobj.h>

using namespace MyApp;
using KelUtility::ToNarrow;
using KelUtility::ToWide;

namespace {

const char* const kTestKey = "Software\\Kel Morvane\\Prova delle impostazioni";

// A project of its own: its width tells it apart from the sample and every other.
std::string WriteProject(const std::string& path, int width) {
    MeshDocument project;
    project.ResetToSample();
    project.ViewWidth = width;
    project.Vertices.resize(2);
    TextFile(path).WriteText(project.ToText());
    return path;
}

std::string InFolder(const TemporaryFolder& folder, const std::wstring& name) {
    return ToNarrow((folder.Path() / name).wstring());
}

// The files as the shell hands them over when they are dropped on a window.
void DropOn(HWND window, const std::vector<std::string>& paths) {
    std::wstring names;
    for (const std::string& path : paths)
        names += ToWide(path) + L'\0';
    names += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    KelTest::PumpMessages();
}

std::vector<std::wstring> FileMenuTexts(FormMain& form) {
    const HMENU file = GetSubMenu(GetMenu(form.window), 0);
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(file); ++i) {
        wchar_t text[300] = {};
        GetMenuStringW(file, static_cast<UINT>(i), text, 300, MF_BYPOSITION);
        texts.emplace_back(text);
    }
    return texts;
}

class FormMainFilesTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, ToWide(kTestKey).c_str()); }
    void TearDown() override {
        form.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, ToWide(kTestKey).c_str());
    }

    void MakeForm() {
        form = std::make_unique<FormMain>(GetModuleHandleW(nullptr), ProgramTitle());
        form->RememberSettingsIn(kTestKey);
    }

    void Choose(KelUtility::SubMenu& item) {
        PostMessageW(form->window, WM_COMMAND, MAKEWPARAM(item.id, 0), 0);
        KelTest::PumpMessages();
    }

    TemporaryFolder folder;
    std::unique_ptr<FormMain> form;
};

TEST_F(FormMainFilesTest, DroppedFilesOpenAfterTheSaveQuestionAndJoinTheRecentProjects) {
    KelTest::ScriptedHost host;
    MakeForm();
    const std::string first = WriteProject(InFolder(folder, L"primo progetto.kv3"), 321);
    const std::string second = WriteProject(InFolder(folder, L"Проект città.kv3"), 322);
    TemporaryFolder::WriteBytes(folder.File("tri.obj"), "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");

    form->SetModified(true);
    host.answers = {IDCANCEL};
    DropOn(form->window, {first});
    EXPECT_EQ(host.BoxTexts(), std::vector<std::string>{"Salva / Si desidera salvare le "
                                                        "modifiche del file?"});
    EXPECT_TRUE(form->ProjectPath.empty()) << "Cancel keeps the work and opens nothing";

    host.answers = {IDNO};
    DropOn(form->window, {first, folder.File("tri.obj")});
    EXPECT_EQ(form->ProjectPath, first) << "only the first file dropped is opened";
    EXPECT_EQ(form->document.ViewWidth, 321);
    DropOn(form->window, {second});
    DropOn(form->window, {folder.File("tri.obj")});
    EXPECT_TRUE(form->ProjectPath.empty()) << "a model is imported, not opened";
    EXPECT_EQ(form->document.Indices.size(), 3u);

    const std::vector<std::wstring> menu = FileMenuTexts(*form);
    ASSERT_EQ(menu.size(), 11u);
    EXPECT_EQ(menu[7], ToWide(RecentMenuText(1, second)));
    EXPECT_EQ(menu[8], ToWide(RecentMenuText(2, first)));
    EXPECT_EQ(menu[9], L"");
    EXPECT_EQ(menu[10], L"&Esci");

    // The list outlives the window, and a project gone meanwhile leaves it when chosen.
    form.reset();
    DeleteFileW(ToWide(second).c_str());
    MakeForm();
    host.boxes.clear();
    host.answers = {IDNO};
    Choose(*form->recentItems[0]);
    EXPECT_EQ(host.BoxTexts(),
              std::vector<std::string>{"Errore / Il progetto " + second +
                                       " non esiste pi\xC3\xB9: viene tolto dall'elenco dei "
                                       "progetti recenti."});
    EXPECT_EQ(FileMenuTexts(*form)[7], ToWide(RecentMenuText(1, first)));
    Choose(*form->recentItems[0]);
    EXPECT_EQ(form->ProjectPath, first);
    EXPECT_EQ(SettingsStore(kTestKey).ReadRecent().Paths(), std::vector<std::string>{first});
}

// A relative path is made whole before the file dialogs move the current folder; a path
// that names nothing is said so and keeps the document; a project saved joins the list.
TEST_F(FormMainFilesTest, PathsAreMadeWholeAndSavedProjectsAreRemembered) {
    KelTest::ScriptedHost host;
    MakeForm();
    const std::string project = WriteProject(InFolder(folder, L"relativo.kv3"), 323);
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.Path().wstring().c_str());
    form->OpenOrImport("relativo.kv3");
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(form->ProjectPath, project);

    form->OpenOrImport(folder.File("assente.kv3"));
    EXPECT_EQ(host.BoxTexts(), std::vector<std::string>{"Errore / Il file " +
                                                        folder.File("assente.kv3") +
                                                        " non esiste."});
    EXPECT_EQ(form->ProjectPath, project) << "the document stays";

    const std::string saved = InFolder(folder, L"salvato.kv3");
    host.paths = {saved};
    Choose(*form->saveAsItem);
    EXPECT_EQ(form->recentProjects.Paths(), (std::vector<std::string>{saved, project}));
}

TEST_F(FormMainFilesTest, DamagedSettingsGiveTheDefaultsWithoutAWord) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(kTestKey).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 7;
    RegSetValueExW(key, L"Recent1", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    const wchar_t placement[] = L"-30000 -30000 -29000 -29000 0";
    RegSetValueExW(key, L"WindowPlacement", 0, REG_SZ, reinterpret_cast<const BYTE*>(placement),
                   sizeof placement);
    RegCloseKey(key);
    KelTest::ScriptedHost host;
    MakeForm();
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(form->recentProjects.Paths().empty());
    RECT bounds = {};
    GetWindowRect(form->window, &bounds);
    EXPECT_GE(bounds.left, 0) << "a window off every monitor opens where the program puts it";
}

} // namespace
