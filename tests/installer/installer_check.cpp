// What the installer leaves on a Windows system, read as Windows itself reads it: the
// files in Program Files, the Start menu shortcut, the .kv3 association (opened by the
// shell, as a double click opens it) and the uninstall entry; and, after the uninstaller,
// that none of it is left while the user's settings stay. installer_test.sh runs it in a
// prefix of its own, with a filter for each side.

#include "app/settings_store.h"
#include "document/mesh_document.h"
#include "document/text_file.h"
#include "toolkit/text_conversion.h"

#include "tests/support/running_editor.h"

#include <cstring>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

using namespace MyApp;
using KelUtility::ToNarrow;
using KelUtility::ToWide;

namespace {

const wchar_t* const kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KelMorvane";
const wchar_t* const kProgId = L"KelMorvane.Progetto";

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

std::wstring InstallFolder() {
    return KnownFolder(FOLDERID_ProgramFiles) + L"\\Kel Morvane";
}

std::wstring Shortcut() {
    return KnownFolder(FOLDERID_CommonPrograms) + L"\\Kel Morvane.lnk";
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A value of HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT as text ("" for none), a number as
// its decimal digits.
std::wstring Value(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    DWORD type = 0;
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, text,
                     &size) != ERROR_SUCCESS)
        return L"";
    DWORD number = 0;
    memcpy(&number, text, sizeof number);
    return type == REG_DWORD ? std::to_wstring(number) : text;
}

bool KeyExists(HKEY root, const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

std::wstring ShortcutTarget(const std::wstring& shortcut) {
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t target[MAX_PATH] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ)))
        link->GetPath(target, MAX_PATH, nullptr, 0);
    if (file != nullptr)
        file->Release();
    if (link != nullptr)
        link->Release();
    CoUninitialize();
    return target;
}

TEST(Installed, FilesShortcutAssociationAndUninstallEntry) {
    const std::wstring folder = InstallFolder();
    for (const wchar_t* name :
         {L"KelMorvane.exe", L"guida.html", L"licenza.txt", L"Disinstalla.exe"})
        EXPECT_TRUE(Exists(folder + L"\\" + name)) << ToNarrow(name);
    EXPECT_EQ(ShortcutTarget(Shortcut()), folder + L"\\KelMorvane.exe");

    const std::wstring program = L"\"" + folder + L"\\KelMorvane.exe\"";
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, L".kv3"), kProgId);
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, kProgId), L"Progetto Kel Morvane");
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, std::wstring(kProgId) + L"\\DefaultIcon"),
              folder + L"\\KelMorvane.exe,0");
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, std::wstring(kProgId) + L"\\shell\\open\\command"),
              program + L" \"%1\"");

    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"Kel Morvane");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), L"1.0.0.0");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"Kel Morvane");
    EXPECT_GT(std::stoi(L"0" + Value(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize")), 1000)
        << "kilobytes";
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString"),
              L"\"" + folder + L"\\Disinstalla.exe\" /S");
}

// The user's double click: the shell runs the association's command on the project, and
// the program shows it. The run leaves the project in the user's settings.
TEST(Installed, AProjectOpensByItsAssociation) {
    wchar_t temporary[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporary);
    const std::string project = ToNarrow(std::wstring(temporary) + L"prova città.kv3");
    MeshDocument document;
    document.ResetToSample();
    document.ViewWidth = 432;
    document.Vertices.resize(5);
    TextFile(project).WriteText(document.ToText());

    KelTest::RunningEditor editor = KelTest::RunningEditor::OpenedByShell(project);
    ASSERT_NE(editor.main, nullptr) << "the program's window, under its title: " << editor.Situation();
    EXPECT_TRUE(editor.ShowsWidth(L"432"));
    EXPECT_EQ(editor.VertexRows(), 5);
    EXPECT_TRUE(editor.Exit());
    EXPECT_EQ(SettingsStore(kSettingsKey).ReadRecent().Paths(), std::vector<std::string>{project});
}

TEST(Uninstalled, NothingIsLeftButTheUsersSettings) {
    EXPECT_FALSE(Exists(InstallFolder()));
    EXPECT_FALSE(Exists(Shortcut()));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".kv3"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kProgId));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(SettingsStore(kSettingsKey).ReadRecent().Paths().empty())
        << "the user's recent projects stay, for a later install";
}

} // namespace
