#pragma once

// Answers the program's modal windows in a test, the way a user would, from answers the
// test queues; it records every box and dialog. Installed while it lives.

#include "toolkit/dialog_host.h"

#include <deque>
#include <string>
#include <vector>

namespace KelTest {

class ScriptedHost : public KelUtility::DialogHost {
public:
    ScriptedHost();
    ~ScriptedHost() override;

    struct Box {
        std::string text;
        std::string caption;
    };

    int RunMessageBox(HWND owner, const std::string& text, const std::string& caption,
                      UINT flags) override;
    bool RunColorDialog(CHOOSECOLORW& dialog) override;
    bool RunOpenDialog(OPENFILENAMEW& dialog) override;
    bool RunSaveDialog(OPENFILENAMEW& dialog) override;
    HINSTANCE RunShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file,
                              const wchar_t* parameters, const wchar_t* directory,
                              int show) override;
    UINT RunPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) override;

    // The texts of the boxes shown, "caption / text", in order.
    std::vector<std::string> BoxTexts() const;

    std::vector<Box> boxes;
    std::deque<int> answers;       // IDYES, IDNO or IDCANCEL to questions; IDYES once they run out
    std::deque<std::string> paths; // chosen in file dialogs; cancelled once they run out
    std::vector<std::wstring> fileDialogTitles;
    std::vector<std::string> offeredNames; // the file name each file dialog started with
    long long colour = -1; // chosen in the colour dialog; below 0 cancels
    int colourDialogs = 0;
    std::vector<std::wstring> opened; // what the shell was asked to open
    std::vector<std::vector<std::wstring>> contextMenus; // the entries of each shown
    int contextChoice = 0; // the position from 1 of the entry chosen; 0 dismisses

private:
    bool RunFileDialog(OPENFILENAMEW& dialog);

    KelUtility::DialogHost* m_previous;
};

} // namespace KelTest
