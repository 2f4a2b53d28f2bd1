#pragma once

// The one seam between the toolkit's system services and the platform's modal windows:
// message boxes, the colour and file dialogs and the shell. The program always runs on
// the platform host; a test installs a host of its own to answer without a person.

#include <string>
#include <windows.h>

#include <commdlg.h>

namespace KelUtility {

// One operation per platform call, taking exactly what the call would take. The names
// differ from the platform's because those are macros in the Windows headers.
class DialogHost {
public:
    virtual ~DialogHost() = default;

    // MessageBoxW, the texts in UTF-8, the buttons named in Italian whatever the system's
    // language. Returns the button's id, 0 when the box could not be shown.
    virtual int RunMessageBox(HWND owner, const std::string& text, const std::string& caption,
                              UINT flags) = 0;
    // ChooseColorW: true when the user chose a colour, which is then in rgbResult.
    virtual bool RunColorDialog(CHOOSECOLORW& dialog) = 0;
    // GetOpenFileNameW and GetSaveFileNameW: true when the user chose a path, which is
    // then in lpstrFile.
    virtual bool RunOpenDialog(OPENFILENAMEW& dialog) = 0;
    virtual bool RunSaveDialog(OPENFILENAMEW& dialog) = 0;
    // ShellExecuteW: a value greater than 32 means success.
    virtual HINSTANCE RunShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file,
                                      const wchar_t* parameters, const wchar_t* directory,
                                      int show) = 0;
    // TrackPopupMenuEx with TPM_RETURNCMD: the id of the entry chosen, 0 when none was. A
    // host of its own chooses none unless it says otherwise.
    virtual UINT RunPopupMenu(HMENU, UINT, int, int, HWND) { return 0; }
};

// The host every system service goes through.
DialogHost& CurrentDialogHost();
// Installs a host that the caller keeps alive while it is installed, and returns the one
// it replaces; null puts the platform host back.
DialogHost* SetDialogHost(DialogHost* host);

} // namespace KelUtility
