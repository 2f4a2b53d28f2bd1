#include "toolkit/dialog_host.h"

#include "toolkit/text_conversion.h"

#include <cwchar>
#include <shellapi.h>

namespace KelUtility {

namespace {

constexpr DWORD kLauncherPatience = 1500; // milliseconds

// The system names a message box's buttons in its own language; the program speaks
// Italian, so a hook renames them as the box is activated, before it is seen, keeping the
// letters S and N that answer them from the keyboard.
HHOOK buttonHook = nullptr;

LRESULT CALLBACK NameButtons(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t className[8] = {};
    if (code == HCBT_ACTIVATE &&
        GetClassNameW(reinterpret_cast<HWND>(wParam), className, 8) > 0 &&
        wcscmp(className, L"#32770") == 0) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        SetDlgItemTextW(box, IDYES, L"&S\u00EC");
        SetDlgItemTextW(box, IDNO, L"&No");
        SetDlgItemTextW(box, IDCANCEL, L"Annulla");
        UnhookWindowsHookEx(buttonHook);
        buttonHook = nullptr;
        return 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class PlatformDialogHost final : public DialogHost {
public:
    int RunMessageBox(HWND owner, const std::string& text, const std::string& caption,
                      UINT flags) override {
        const UINT buttons = flags & MB_TYPEMASK;
        if (buttonHook == nullptr && (buttons == MB_YESNO || buttons == MB_YESNOCANCEL))
            buttonHook = SetWindowsHookExW(WH_CBT, NameButtons, nullptr, GetCurrentThreadId());
        const int answer =
            MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(), flags);
        if (buttonHook != nullptr) {
            UnhookWindowsHookEx(buttonHook);
            buttonHook = nullptr;
        }
        return answer;
    }
    bool RunColorDialog(CHOOSECOLORW& dialog) override { return ChooseColorW(&dialog) != FALSE; }
    UINT RunPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) override {
        return static_cast<UINT>(
            TrackPopupMenuEx(menu, flags | TPM_RETURNCMD, x, y, owner, nullptr));
    }
    bool RunOpenDialog(OPENFILENAMEW& dialog) override {
        return GetOpenFileNameW(&dialog) != FALSE;
    }
    bool RunSaveDialog(OPENFILENAMEW& dialog) override {
        return GetSaveFileNameW(&dialog) != FALSE;
    }
    // A program that starts is not yet a page shown: a launcher that finds no browser
    // (Wine's, for one) starts and ends at once with a failure. One that ends so within a
    // moment is reported as the shell reports a missing association; one that goes on, or
    // ends well, is taken at its word.
    HINSTANCE RunShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file,
                              const wchar_t* parameters, const wchar_t* directory,
                              int show) override {
        SHELLEXECUTEINFOW launch = {};
        launch.cbSize = sizeof(launch);
        launch.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        launch.hwnd = owner;
        launch.lpVerb = verb;
        launch.lpFile = file;
        launch.lpParameters = parameters;
        launch.lpDirectory = directory;
        launch.nShow = show;
        if (!ShellExecuteExW(&launch))
            return launch.hInstApp;
        DWORD exitCode = 0;
        if (launch.hProcess != nullptr) {
            if (WaitForSingleObject(launch.hProcess, kLauncherPatience) == WAIT_OBJECT_0 &&
                GetExitCodeProcess(launch.hProcess, &exitCode) && exitCode != 0)
                launch.hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
            CloseHandle(launch.hProcess);
        }
        return launch.hInstApp;
    }
};

PlatformDialogHost platformHost;
DialogHost* currentHost = &platformHost;

} // namespace

DialogHost& CurrentDialogHost() {
    return *currentHost;
}

DialogHost* SetDialogHost(DialogHost* host) {
    DialogHost* previous = currentHost;
    currentHost = host != nullptr ? host : &platformHost;
    return previous;
}

} // namespace KelUtility
