#include "toolkit/dialog_host.h"
#include "toolkit/gui_element.h"
#include "toolkit/system_dialogs.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

using namespace KelUtility;

namespace {

// An element standing for a form: only its window matters to the system services.
class OwnerElement : public GUIElement {
public:
    OwnerElement() : GUIElement(GetModuleHandleW(nullptr)) {
        window = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, instance, nullptr);
    }
    ~OwnerElement() override { DestroyWindow(window); }
    void Create() override {}
};

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
        std::wstring filter; // up to and including the final NUL
        std::wstring title;
        std::wstring directory;
        std::wstring initialPath;
    };

    int RunMessageBox(HWND owner, const std::string& text, const std::string& caption,
                      UINT flags) override {
        boxes.push_back({owner, text, caption, flags});
        return boxAnswer;
    }
    bool RunColorDialog(CHOOSECOLORW& dialog) override {
        colorDialogs.push_back(dialog);
        if (colorChosen)
            dialog.rgbResult = colorAnswer;
        return colorChosen;
    }
    bool RunOpenDialog(OPENFILENAMEW& dialog) override { return RunFileDialog(dialog); }
    bool RunSaveDialog(OPENFILENAMEW& dialog) override {
        saveDialogs++;
        return RunFileDialog(dialog);
    }
    HINSTANCE RunShellExecute(HWND, const wchar_t*, const wchar_t*, const wchar_t*,
                              const wchar_t*, int) override {
        ADD_FAILURE() << "no test here opens anything with the shell";
        return nullptr;
    }

    int boxAnswer = IDOK;
    std::vector<Box> boxes;
    bool colorChosen = false;
    COLORREF colorAnswer = 0;
    std::vector<CHOOSECOLORW> colorDialogs;
    bool pathChosen = false;
    std::wstring pathAnswer;
    std::vector<FileDialog> fileDialogs;
    int saveDialogs = 0;

private:
    static std::wstring TextOrNull(const wchar_t* text) { return text ? text : L"(null)"; }

    bool RunFileDialog(OPENFILENAMEW& dialog) {
        FileDialog seen{dialog, L"", TextOrNull(dialog.lpstrTitle),
                        TextOrNull(dialog.lpstrInitialDir), dialog.lpstrFile};
        for (const wchar_t* entry = dialog.lpstrFilter; *entry != L'\0';
             entry += wcslen(entry) + 1)
            seen.filter += std::wstring(entry) + L'\0';
        seen.filter += L'\0';
        fileDialogs.push_back(seen);
        if (pathChosen) {
            EXPECT_LT(pathAnswer.size(), dialog.nMaxFile);
            pathAnswer.copy(dialog.lpstrFile, dialog.nMaxFile - 1);
            dialog.lpstrFile[pathAnswer.size()] = L'\0';
        }
        return pathChosen;
    }

    DialogHost* previous;
};

TEST(SystemDialogs, MessageBoxesAreTaskModalWithTheirIconsAndTheOwnersWindow) {
    AnsweringHost host;
    OwnerElement owner;
    OwnerElement notCreated;
    DestroyWindow(notCreated.window);
    notCreated.window = nullptr;

    ShowMessage(&owner, "Salvato", "Salva");
    ShowWarning(nullptr, "Attenzione \xE8", "Attenzione");
    ShowError(&notCreated, "File non trovato", "Errore");
    AskYesNo("Vuoi realmente uscire?", "Uscita");
    AskYesNo(&owner, "Sovrascrivere?", "Conferma");

    ASSERT_EQ(host.boxes.size(), 5u);
    const struct {
        HWND owner;
        const char* text;
        const char* caption;
        UINT flags;
    } expected[] = {
        {owner.window, "Salvato", "Salva", 0x2000},
        {nullptr, "Attenzione \xE8", "Attenzione", 0x2030},
        {nullptr, "File non trovato", "Errore", 0x2010},
        {nullptr, "Vuoi realmente uscire?", "Uscita", 0x2024},
        {owner.window, "Sovrascrivere?", "Conferma", 0x2024},
    };
    for (std::size_t i = 0; i < host.boxes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(host.boxes[i].owner, expected[i].owner);
        EXPECT_EQ(host.boxes[i].text, expected[i].text);
        EXPECT_EQ(host.boxes[i].caption, expected[i].caption);
        EXPECT_EQ(host.boxes[i].flags, expected[i].flags);
    }
}

TEST(SystemDialogs, AskYesNoIsTrueOnlyForYes) {
    AnsweringHost host;
    const struct {
        int answer;
        bool result;
    } cases[] = {{IDYES, true}, {IDNO, false}, {IDCANCEL, false}, {0, false}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.answer);
        host.boxAnswer = each.answer;
        EXPECT_EQ(AskYesNo("Continuare?", "Conferma"), each.result);
        EXPECT_EQ(AskYesNo(nullptr, "Continuare?", "Conferma"), each.result);
    }
}

TEST(SystemDialogs, ChooseColorStartsFromTheInitialColourAndKeepsItWhenCancelled) {
    AnsweringHost host;
    OwnerElement owner;

    host.colorChosen = true;
    host.colorAnswer = 0x00336699;
    EXPECT_EQ(ChooseColor(&owner, 0x00FF0000), 0x00336699u);
    host.colorChosen = false;
    EXPECT_EQ(ChooseColor(nullptr, 0x000000FF), 0x000000FFu);

    ASSERT_EQ(host.colorDialogs.size(), 2u);
    const CHOOSECOLORW& first = host.colorDialogs[0];
    EXPECT_EQ(first.lStructSize, sizeof(CHOOSECOLORW));
    EXPECT_EQ(first.hwndOwner, owner.window);
    EXPECT_EQ(first.rgbResult, 0x00FF0000u);
    EXPECT_EQ(first.Flags, 3u);
    EXPECT_NE(first.lpCustColors, nullptr);
    EXPECT_EQ(first.hInstance, nullptr);
    EXPECT_EQ(first.lpfnHook, nullptr);
    EXPECT_EQ(host.colorDialogs[1].hwndOwner, nullptr);
    EXPECT_EQ(host.colorDialogs[1].rgbResult, 0x000000FFu);
}

TEST(SystemDialogs, CustomColoursOutliveTheDialogThatStoredThem) {
    struct StoringHost : AnsweringHost {
        bool RunColorDialog(CHOOSECOLORW& dialog) override {
            seen.assign(dialog.lpCustColors, dialog.lpCustColors + 16);
            dialog.lpCustColors[5] = stored;
            return false;
        }
        std::vector<COLORREF> seen;
        COLORREF stored = 0;
    } host;

    host.stored = 0x00ABCDEF;
    ChooseColor(nullptr, 0);
    host.stored = 0x00123456;
    ChooseColor(nullptr, 0);
    EXPECT_EQ(host.seen[5], 0x00ABCDEFu);
    ChooseColor(nullptr, 0);
    EXPECT_EQ(host.seen[5], 0x00123456u);
}

TEST(SystemDialogs, OpenFileDialogAsksForAnExistingFileAndReturnsItsPath) {
    AnsweringHost host;
    OwnerElement owner;

    host.pathChosen = true;
    host.pathAnswer = L"C:\\modelli\\piramide\x00E8.kv3";
    EXPECT_EQ(OpenFileDialog(&owner, "Apri", "C:\\modelli", {"Progetto", "*.kv3"}),
              "C:\\modelli\\piramide\xE8.kv3");

    ASSERT_EQ(host.fileDialogs.size(), 1u);
    const AnsweringHost::FileDialog& seen = host.fileDialogs[0];
    EXPECT_EQ(seen.fields.lStructSize, sizeof(OPENFILENAMEW));
    EXPECT_EQ(seen.fields.hwndOwner, owner.window);
    EXPECT_EQ(seen.filter, std::wstring(L"Progetto\0*.kv3\0\0", 16));
    EXPECT_EQ(seen.fields.nFilterIndex, 1u);
    EXPECT_EQ(seen.fields.nMaxFile, 4096u);
    EXPECT_EQ(seen.initialPath, L"");
    EXPECT_EQ(seen.title, L"Apri");
    EXPECT_EQ(seen.directory, L"C:\\modelli");
    EXPECT_EQ(seen.fields.Flags, 0x1804u);
    EXPECT_EQ(seen.fields.lpstrCustomFilter, nullptr);
    EXPECT_EQ(seen.fields.lpstrDefExt, nullptr);
    EXPECT_EQ(seen.fields.lpfnHook, nullptr);
    EXPECT_EQ(host.saveDialogs, 0);
}

TEST(SystemDialogs, FileDialogsLeaveOutWhatIsNotGivenAndGiveNothingWhenCancelled) {
    AnsweringHost host;

    EXPECT_EQ(OpenFileDialog(nullptr, "", "", {}), "");
    EXPECT_EQ(SaveFileDialog(nullptr, "", "", "", {}), "");

    ASSERT_EQ(host.fileDialogs.size(), 2u);
    for (const AnsweringHost::FileDialog& seen : host.fileDialogs) {
        EXPECT_EQ(seen.fields.hwndOwner, nullptr);
        EXPECT_EQ(seen.title, L"(null)");
        EXPECT_EQ(seen.directory, L"(null)");
        EXPECT_EQ(seen.filter, std::wstring(1, L'\0'));
        EXPECT_EQ(seen.initialPath, L"");
    }
}

TEST(SystemDialogs, SaveFileDialogStartsFromTheGivenNameAndAsksBeforeOverwriting) {
    AnsweringHost host;

    host.pathChosen = true;
    host.pathAnswer = L"D:\\esporta\\mesh"; // no extension is added
    EXPECT_EQ(SaveFileDialog(nullptr, "Salva", "D:\\esporta", "mesh.x", {"DirectX", "*.x"}),
              "D:\\esporta\\mesh");

    ASSERT_EQ(host.saveDialogs, 1);
    const AnsweringHost::FileDialog& seen = host.fileDialogs[0];
    EXPECT_EQ(seen.initialPath, L"mesh.x");
    EXPECT_EQ(seen.fields.Flags, 0x0802u);
    EXPECT_EQ(seen.fields.nMaxFile, 4096u);
    EXPECT_EQ(seen.fields.lpstrDefExt, nullptr);
}

TEST(SystemDialogs, FileDialogPathsFillTheWholeBufferAndLoseWhatIsNotEightBit) {
    AnsweringHost host;
    host.pathChosen = true;

    host.pathAnswer = L"C:\\" + std::wstring(4092, L'a');
    EXPECT_EQ(OpenFileDialog(nullptr, "", "", {}), "C:\\" + std::string(4092, 'a'));

    host.pathAnswer = L"C:\\\x20AC.kv3";
    EXPECT_EQ(SaveFileDialog(nullptr, "", "", "", {}), "C:\\\xAC.kv3");

    // A name longer than the buffer is cut rather than written past its end.
    host.pathChosen = false;
    SaveFileDialog(nullptr, "", "", std::string(5000, 'n'), {});
    EXPECT_EQ(host.fileDialogs.back().initialPath, std::wstring(4095, L'n'));
}

TEST(SystemDialogs, CurrentDirectoryReadsBackTheDirectorySet) {
    wchar_t previous[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    wchar_t temporary[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, temporary), 0u);

    ASSERT_TRUE(SetCurrentDirectoryW(temporary));
    std::string expected(temporary, temporary + wcslen(temporary));
    expected.pop_back(); // the current directory has no final backslash, the temporary path has
    EXPECT_EQ(CurrentDirectory(), expected);

    SetCurrentDirectoryW(previous);
    EXPECT_EQ(CurrentDirectory(), std::string(previous, previous + wcslen(previous)));
}

TEST(SystemDialogs, ShellOpenOfAMissingFileFails) {
    EXPECT_FALSE(ShellOpen("C:\\kel-morvane-non-esiste\\nessun-file.kv3"));
}

// The real dialogs, answered from a helper thread as a person would press their buttons.
// The helper waits for a dialog of this thread; if none with the title shows up in time it
// closes whatever dialog this thread has, so a failure never leaves the test waiting.
class DialogAnswerer {
public:
    using Answer = std::function<void(HWND dialog)>;

    DialogAnswerer(std::wstring title, Answer answer)
        : owner(GetCurrentThreadId()), helper([this, title, answer] { Run(title, answer); }) {}
    ~DialogAnswerer() { Finish(); }

    // Waits for the helper and tells whether it found the dialog.
    bool Finish() {
        if (helper.joinable())
            helper.join();
        return found;
    }

private:
    struct Search {
        DWORD thread;
        const std::wstring* title; // null: any dialog
        HWND dialog;
    };

    static BOOL CALLBACK Match(HWND window, LPARAM parameter) {
        Search& search = *reinterpret_cast<Search*>(parameter);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window))
            return TRUE;
        if (search.title != nullptr && FindWindowW(L"#32770", search.title->c_str()) != window)
            return TRUE;
        search.dialog = window;
        return FALSE;
    }

    HWND FindDialog(const std::wstring* title) const {
        Search search{owner, title, nullptr};
        EnumThreadWindows(owner, Match, reinterpret_cast<LPARAM>(&search));
        return search.dialog;
    }

    void Run(const std::wstring& title, Answer answer) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            HWND dialog = FindDialog(title.empty() ? nullptr : &title);
            if (dialog != nullptr) {
                found = true;
                answer(dialog);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        while (HWND stray = FindDialog(nullptr)) {
            PostMessageW(stray, WM_COMMAND, IDCANCEL, 0);
            PostMessageW(stray, WM_COMMAND, IDNO, 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    }

    DWORD owner;
    std::atomic<bool> found{false};
    std::thread helper;
};

void PressYes(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDYES, 0); }
void PressNo(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDNO, 0); }
void PressOk(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); }
void PressCancel(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }

TEST(RealSystemDialogs, AskYesNoAnswersWhatThePersonPressed) {
    DialogAnswerer yes(L"Kel domanda uno", PressYes);
    EXPECT_TRUE(AskYesNo("Vuoi realmente uscire?", "Kel domanda uno"));
    EXPECT_TRUE(yes.Finish());

    DialogAnswerer no(L"Kel domanda due", PressNo);
    EXPECT_FALSE(AskYesNo("Vuoi realmente uscire?", "Kel domanda due"));
    EXPECT_TRUE(no.Finish());
}

TEST(RealSystemDialogs, ColourDialogStartsFromTheInitialColour) {
    DialogAnswerer ok(L"", PressOk);
    EXPECT_EQ(ChooseColor(nullptr, 0x00123456), 0x00123456u);
    EXPECT_TRUE(ok.Finish());
}

TEST(RealSystemDialogs, CancelledOpenDialogGivesNoPath) {
    DialogAnswerer cancel(L"Kel apri progetto", PressCancel);
    EXPECT_EQ(OpenFileDialog(nullptr, "Kel apri progetto", "", {"Progetto", "*.kv3"}), "");
    EXPECT_TRUE(cancel.Finish());
}

TEST(RealSystemDialogs, OpenDialogGivesTheFullPathOfTheFileTyped) {
    wchar_t folder[MAX_PATH] = {};
    wchar_t file[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
    ASSERT_NE(GetTempFileNameW(folder, L"kel", 0, file), 0u);
    const std::wstring path = file;

    DialogAnswerer typeAndOpen(L"Kel apri progetto", [path](HWND dialog) {
        SetDlgItemTextW(dialog, cmb13, path.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(OpenFileDialog(nullptr, "Kel apri progetto", "", {"Tutti i file", "*.*"}),
              std::string(path.begin(), path.end()));
    EXPECT_TRUE(typeAndOpen.Finish());
    DeleteFileW(path.c_str());
}

} // namespace
