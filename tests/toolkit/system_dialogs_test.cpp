#include "toolkit/dialog_host.h"
#include "toolkit/form.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_conversion.h"

#include "tests/support/dialog_answerer.h"

#include <dlgs.h>
#include <gtest/gtest.h>

using namespace KelUtility;

namespace {

// Answers every modal call itself and keeps what the platform would have been given.
class AnsweringHost : public DialogHost {
public:
    AnsweringHost() : previous(SetDialogHost(this)) {}
    ~AnsweringHost() override { SetDialogHost(previous); }

    struct Box {
        HWND owner;
        std::string text;
        std::string caption;
        UINT flags;
    };
    struct FileDialog {
        OPENFILENAMEW fields;
        std::wstring filter, title, directory, initialPath, extension; // "-" when not given
    };

    int RunMessageBox(HWND owner, const std::string& text, const std::string& caption,
                      UINT flags) override {
        boxes.push_back({owner, text, caption, flags});
        return boxAnswer;
    }
    bool RunColorDialog(CHOOSECOLORW& dialog) override {
        colorDialogs.push_back(dialog);
        dialog.rgbResult = colorAnswer;
        return chosen;
    }
    bool RunOpenDialog(OPENFILENAMEW& dialog) override { return RunFileDialog(dialog); }
    bool RunSaveDialog(OPENFILENAMEW& dialog) override { return RunFileDialog(dialog); }
    HINSTANCE RunShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file,
                              const wchar_t* parameters, const wchar_t* directory,
                              int show) override {
        EXPECT_EQ(owner, nullptr);
        EXPECT_STREQ(verb, L"open");
        EXPECT_EQ(parameters, nullptr);
        EXPECT_EQ(directory, nullptr);
        EXPECT_EQ(show, SW_SHOW);
        shellTargets.push_back(file);
        return reinterpret_cast<HINSTANCE>(shellAnswer);
    }

    int boxAnswer = IDOK;
    COLORREF colorAnswer = 0;
    bool chosen = false;
    std::wstring pathAnswer;
    INT_PTR shellAnswer = 0;
    std::vector<std::wstring> shellTargets;
    std::vector<Box> boxes;
    std::vector<CHOOSECOLORW> colorDialogs;
    std::vector<FileDialog> fileDialogs;

private:
    bool RunFileDialog(OPENFILENAMEW& dialog) {
        auto given = [](const wchar_t* text) { return std::wstring(text ? text : L"-"); };
        const wchar_t* end = dialog.lpstrFilter;
        while (*end != L'\0')
            end += wcslen(end) + 1;
        fileDialogs.push_back({dialog, std::wstring(dialog.lpstrFilter, end + 1),
                               given(dialog.lpstrTitle), given(dialog.lpstrInitialDir),
                               dialog.lpstrFile, given(dialog.lpstrDefExt)});
        if (chosen) {
            std::size_t length = pathAnswer.copy(dialog.lpstrFile, dialog.nMaxFile - 1);
            dialog.lpstrFile[length] = L'\0';
        }
        return chosen;
    }

    DialogHost* previous;
};

TEST(SystemDialogs, MessageBoxesAreTaskModalWithTheirIconsAndTheOwnersWindow) {
    AnsweringHost host;
    Form owner(GetModuleHandleW(nullptr));
    owner.Create();
    Form notCreated(GetModuleHandleW(nullptr));

    ShowMessage(&owner, "Salvato", "Salva");
    ShowWarning(nullptr, "Attenzione \xE8", "Attenzione");
    ShowError(&notCreated, "File non trovato", "Errore");
    AskYesNo("Vuoi realmente uscire?", "Uscita");
    AskYesNo(&owner, "Sovrascrivere?", "Conferma");

    const AnsweringHost::Box expected[] = {
        {owner.window, "Salvato", "Salva", 0x2000},
        {nullptr, "Attenzione \xE8", "Attenzione", 0x2030},
        {nullptr, "File non trovato", "Errore", 0x2010},
        {nullptr, "Vuoi realmente uscire?", "Uscita", 0x2024},
        {owner.window, "Sovrascrivere?", "Conferma", 0x2024},
    };
    ASSERT_EQ(host.boxes.size(), 5u);
    for (std::size_t i = 0; i < host.boxes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(host.boxes[i].owner, expected[i].owner);
        EXPECT_EQ(host.boxes[i].text, expected[i].text);
        EXPECT_EQ(host.boxes[i].caption, expected[i].caption);
        EXPECT_EQ(host.boxes[i].flags, expected[i].flags);
    }

    // Only Yes is yes; a box that could not be shown (0) counts as No.
    for (int answer : {IDYES, IDNO, IDCANCEL, 0}) {
        host.boxAnswer = answer;
        EXPECT_EQ(AskYesNo("Continuare?", "Conferma"), answer == IDYES) << answer;
        EXPECT_EQ(AskYesNo(&owner, "Continuare?", "Conferma"), answer == IDYES) << answer;
    }
}

TEST(SystemDialogs, ChooseColorStartsFromTheInitialColourAndSharesTheCustomColours) {
    AnsweringHost host;
    Form owner(GetModuleHandleW(nullptr));
    owner.Create();

    host.chosen = true;
    host.colorAnswer = 0x00336699;
    EXPECT_EQ(ChooseColor(&owner, 0x00FF0000), 0x00336699u);
    host.colorDialogs.back().lpCustColors[5] = 0x00ABCDEF; // stored by the user
    host.chosen = false;
    EXPECT_EQ(ChooseColor(nullptr, 0x000000FF), 0x000000FFu);

    ASSERT_EQ(host.colorDialogs.size(), 2u);
    const CHOOSECOLORW& first = host.colorDialogs[0];
    EXPECT_EQ(first.lStructSize, sizeof(CHOOSECOLORW));
    EXPECT_EQ(first.hwndOwner, owner.window);
    EXPECT_EQ(first.rgbResult, 0x00FF0000u);
    EXPECT_EQ(first.Flags, 3u);
    EXPECT_EQ(first.lpfnHook, nullptr);
    const CHOOSECOLORW& second = host.colorDialogs[1];
    EXPECT_EQ(second.hwndOwner, nullptr);
    EXPECT_EQ(second.rgbResult, 0x000000FFu);
    EXPECT_EQ(second.lpCustColors, first.lpCustColors);
    EXPECT_EQ(second.lpCustColors[5], 0x00ABCDEFu);
}

TEST(SystemDialogs, FileDialogsGetTheirSettingsAndGiveThePathChosen) {
    AnsweringHost host;
    Form owner(GetModuleHandleW(nullptr));
    owner.Create();
    host.chosen = true;

    host.pathAnswer = L"C:\\modelli\\piramide\x00E8\x20AC.kv3";
    EXPECT_EQ(OpenFileDialog(&owner, "Apri", "C:\\modelli", {"Progetto", "*.kv3"}),
              "C:\\modelli\\piramide\xC3\xA8\xE2\x82\xAC.kv3");
    host.pathAnswer = L"D:\\esporta\\mesh"; // the dialog, not this code, adds the extension
    EXPECT_EQ(SaveFileDialog(nullptr, "", "", "mesh.x", {"DirectX", "*.x", "Tutti", "*.*"}),
              "D:\\esporta\\mesh");
    host.pathAnswer = L"C:\\" + std::wstring(4092, L'a'); // the whole buffer
    EXPECT_EQ(OpenFileDialog(nullptr, "", "", {}), "C:\\" + std::string(4092, 'a'));
    // A name longer than the buffer is cut rather than written past its end.
    SaveFileDialog(nullptr, "", "", std::string(5000, 'n'), {});

    ASSERT_EQ(host.fileDialogs.size(), 4u);
    const AnsweringHost::FileDialog& open = host.fileDialogs[0];
    EXPECT_EQ(open.fields.lStructSize, sizeof(OPENFILENAMEW));
    EXPECT_EQ(open.fields.hwndOwner, owner.window);
    EXPECT_EQ(open.filter, std::wstring(L"Progetto\0*.kv3\0\0", 16));
    EXPECT_EQ(open.fields.nFilterIndex, 1u);
    EXPECT_EQ(open.fields.nMaxFile, 4096u);
    EXPECT_EQ(open.title, L"Apri");
    EXPECT_EQ(open.directory, L"C:\\modelli");
    EXPECT_EQ(open.initialPath, L"");
    EXPECT_EQ(open.fields.Flags, 0x1804u);
    EXPECT_EQ(open.extension, L"-");
    EXPECT_EQ(open.fields.lpstrCustomFilter, nullptr);
    EXPECT_EQ(open.fields.lpfnHook, nullptr);

    const AnsweringHost::FileDialog& save = host.fileDialogs[1];
    EXPECT_EQ(save.fields.hwndOwner, nullptr);
    EXPECT_EQ(save.filter, std::wstring(L"DirectX\0*.x\0Tutti\0*.*\0\0", 23));
    EXPECT_EQ(save.title, L"-");
    EXPECT_EQ(save.directory, L"-");
    EXPECT_EQ(save.initialPath, L"mesh.x");
    EXPECT_EQ(save.fields.Flags, 0x0802u);
    EXPECT_EQ(save.extension, L"x");
    EXPECT_EQ(host.fileDialogs[2].filter, std::wstring(1, L'\0'));
    EXPECT_EQ(host.fileDialogs[3].initialPath, std::wstring(4095, L'n'));
}

TEST(SystemDialogs, CancelledFileDialogsGiveNoPath) {
    AnsweringHost host;
    EXPECT_EQ(OpenFileDialog(nullptr, "Apri", "", {"Progetto", "*.kv3"}), "");
    EXPECT_EQ(SaveFileDialog(nullptr, "Salva", "", "mesh.x", {}), "");
}

TEST(SystemDialogs, ShellOpenSucceedsOnlyAbove32) {
    AnsweringHost host;
    for (INT_PTR answer : {33, 42, 32, 2, 0}) {
        host.shellAnswer = answer;
        EXPECT_EQ(ShellOpen("https://example.org/aiuto\xE8"), answer > 32) << answer;
    }
    EXPECT_EQ(host.shellTargets.back(), L"https://example.org/aiuto\x00E8");
}

TEST(SystemDialogs, CurrentDirectoryAndTheRealShell) {
    wchar_t previous[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    wchar_t temporary[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, temporary), 0u);

    ASSERT_TRUE(SetCurrentDirectoryW(temporary));
    std::string expected(temporary, temporary + wcslen(temporary));
    expected.pop_back(); // the current directory has no final backslash
    EXPECT_EQ(CurrentDirectory(), expected);
    SetCurrentDirectoryW(previous);

    EXPECT_FALSE(ShellOpen("C:\\kel-morvane-non-esiste\\nessun-file.kv3"));
}

std::wstring ButtonText(HWND box, int button) {
    wchar_t text[32] = {};
    GetDlgItemTextW(box, button, text, 32);
    return text;
}

TEST(RealSystemDialogs, AskYesNoAnswersWhatThePersonPressed) {
    std::wstring buttons;
    KelTest::DialogAnswerer cancel(L"Kel domanda tre", [&buttons](HWND box) {
        buttons = ButtonText(box, IDYES) + L"/" + ButtonText(box, IDNO) + L"/" +
                  ButtonText(box, IDCANCEL);
        PostMessageW(box, WM_CLOSE, 0, 0); // the close box
    });
    EXPECT_EQ(AskYesNoCancel(nullptr, "Salvare?", "Kel domanda tre"), Answer::Cancel);
    EXPECT_TRUE(cancel.Found());
    EXPECT_EQ(buttons, L"&S\u00EC/&No/Annulla") << "Italian whatever the system's language";

    KelTest::DialogAnswerer yes(L"Kel domanda uno", KelTest::Press(IDYES));
    EXPECT_TRUE(AskYesNo("Vuoi realmente uscire?", "Kel domanda uno"));
    EXPECT_TRUE(yes.Found());

    KelTest::DialogAnswerer no(L"Kel domanda due", KelTest::Press(IDNO));
    EXPECT_FALSE(AskYesNo("Vuoi realmente uscire?", "Kel domanda due"));
    EXPECT_TRUE(no.Found());
}

// A path of some thousand characters would make a box thousands of pixels wide: it is
// shortened in the middle and the box stays within the screen, its file name in sight.
TEST(RealSystemDialogs, ABoxWithALongPathFitsTheScreen) {
    std::string path = "C:";
    for (int folder = 0; folder < 60; ++folder)
        path += "\\cartella-numero-" + std::to_string(folder);
    path += "\\texture.png";
    RECT box = {};
    std::wstring shown;
    KelTest::DialogAnswerer measure(L"Kel percorso lungo", [&](HWND window) {
        GetWindowRect(window, &box);
        wchar_t text[512] = {};
        GetDlgItemTextW(window, 0xFFFF, text, 512); // the text of a box's static control
        shown = text;
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    ShowWarning(nullptr, "Impossibile leggere il file.\n" + path, "Kel percorso lungo");
    ASSERT_TRUE(measure.Found());
    EXPECT_LE(box.right - box.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(shown.rfind(L"Impossibile leggere il file.\nC:\\cartella-numero-0\\", 0), 0u) << shown;
    EXPECT_NE(shown.find(L"\u2026"), std::wstring::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 12), L"\\texture.png") << shown;
}

TEST(RealSystemDialogs, OpenDialogGivesNothingWhenCancelledAndThePathOfTheFileTyped) {
    KelTest::DialogAnswerer cancel(L"Kel apri progetto", KelTest::Press(IDCANCEL));
    EXPECT_EQ(OpenFileDialog(nullptr, "Kel apri progetto", "", {"Progetto", "*.kv3"}), "");
    EXPECT_TRUE(cancel.Found());

    wchar_t folder[MAX_PATH] = {};
    wchar_t file[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
    ASSERT_NE(GetTempFileNameW(folder, L"kel", 0, file), 0u);
    const std::wstring path = file;
    KelTest::DialogAnswerer typeAndOpen(L"Kel apri file", [path](HWND dialog) {
        SetDlgItemTextW(dialog, cmb13, path.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(OpenFileDialog(nullptr, "Kel apri file", "", {"Tutti i file", "*.*"}),
              std::string(path.begin(), path.end()));
    EXPECT_TRUE(typeAndOpen.Found());
    DeleteFileW(path.c_str());
}

// A box the dialog raised over itself, or null.
HWND OwnedBox(HWND dialog) {
    struct Search {
        HWND owner, found;
    } search = {dialog, nullptr};
    EnumThreadWindows(
        GetWindowThreadProcessId(dialog, nullptr),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetWindow(window, GW_OWNER) == s->owner && IsWindowVisible(window))
                s->found = window;
            return s->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A bare name gets the filter's extension before the dialog checks for a file to replace,
// so the question is about the file that will really be written.
TEST(RealSystemDialogs, SaveDialogAsksAboutTheNameWithItsExtension) {
    wchar_t folder[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
    const std::wstring existing = std::wstring(folder) + L"kel-tri.kv3";
    CloseHandle(CreateFileW(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    bool asked = false;
    KelTest::DialogAnswerer typeAndSave(L"Kel salva", [&](HWND dialog) {
        SetDlgItemTextW(dialog, cmb13, (std::wstring(folder) + L"kel-tri").c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        for (int tries = 0; tries < 250 && !asked; ++tries, Sleep(20)) {
            if (HWND box = OwnedBox(dialog)) {
                asked = true;
                PostMessageW(box, WM_COMMAND, IDYES, 0);
            }
        }
    });
    const std::string chosen = SaveFileDialog(nullptr, "Kel salva", "", "", {"Progetto", "*.kv3"});
    EXPECT_TRUE(typeAndSave.Found());
    EXPECT_TRUE(asked) << "the existing kel-tri.kv3 is not replaced unasked";
    EXPECT_EQ(ToWide(chosen), existing);
    DeleteFileW(existing.c_str());
}

} // namespace
