#include "toolkit/dialog_host.h"

#include <shellapi.h>

namespace KelUtility {

namespace {

class PlatformDialogHost final : public DialogHost {
public:
    int RunMessageBox(HWND owner, const std::string& text, const std::string& caption,
                      UINT flags) override {
        return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
    }
    bool RunColorDialog(CHOOSECOLORW& dialog) override { return ChooseColorW(&dialog) != FALSE; }
    bool RunOpenDialog(OPENFILENAMEW& dialog) override {
        return GetOpenFileNameW(&dialog) != FALSE;
    }
    bool RunSaveDialog(OPENFILENAMEW& dialog) override {
        return GetSaveFileNameW(&dialog) != FALSE;
    }
    HINSTANCE RunShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file,
                              const wchar_t* parameters, const wchar_t* directory,
                              int show) override {
        return ShellExecuteW(owner, verb, file, parameters, directory, show);
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
