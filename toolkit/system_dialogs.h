#pragma once

// The toolkit's system services behind narrow-string interfaces: message boxes, the
// colour picker, the open and save file dialogs, opening a file or address with the shell,
// and the current directory. Every modal window goes through the current DialogHost.

#include <string>
#include <vector>
#include <windows.h>

#include <commdlg.h>

// The Windows headers map ChooseColor to ChooseColorW; the toolkit's own ChooseColor below
// needs the name. Including commdlg.h first means a later include cannot bring it back.
#undef ChooseColor

namespace KelUtility {

class GUIElement;

// Message boxes, modal for the whole task. The owner may be null, or an element that has
// no window yet; the box then has no owner. A run of the text without blanks too wide for
// half the screen (a long path) is shortened in the middle, so that every box fits.
void ShowMessage(GUIElement* owner, const std::string& text, const std::string& caption);
void ShowWarning(GUIElement* owner, const std::string& text, const std::string& caption);
void ShowError(GUIElement* owner, const std::string& text, const std::string& caption);
// Yes and No with the question icon; true only for Yes. A box that cannot be shown is No.
bool AskYesNo(const std::string& text, const std::string& caption);
bool AskYesNo(GUIElement* owner, const std::string& text, const std::string& caption);
// The same with "No" as the default button, for a question whose "Sì" cannot be undone.
bool AskYesNoDefaultNo(GUIElement* owner, const std::string& text, const std::string& caption);

enum class Answer { Yes, No, Cancel };
// Yes, No and Cancel with the question icon. Escape and the close box answer Cancel, and
// so does a box that cannot be shown, so that nothing is given up unasked.
Answer AskYesNoCancel(GUIElement* owner, const std::string& text, const std::string& caption);

// The colour chosen, or the initial colour when the dialog is cancelled or fails. The 16
// custom colours are shared by every colour dialog of the process.
COLORREF ChooseColor(GUIElement* owner, COLORREF initial);

// The full path chosen, or "" when the dialog is cancelled or fails. Empty caption,
// directory and file name mean not given; filters are (description, pattern) pairs.
std::string OpenFileDialog(GUIElement* owner, const std::string& caption,
                           const std::string& initialDirectory,
                           const std::vector<std::string>& filters);
// The save dialog adds the first filter's extension to a name typed without one, before
// it asks whether to overwrite, so the question is about the file that will be written.
std::string SaveFileDialog(GUIElement* owner, const std::string& caption,
                           const std::string& initialDirectory, const std::string& initialFileName,
                           const std::vector<std::string>& filters);

// Opens a file or an address with the program the shell picks; false when it cannot.
bool ShellOpen(const std::string& target);
// A context menu of the entries at (x, y) of the owner's client area, where the pointer
// is; the position of the entry chosen, or -1 when the menu was dismissed.
int ShowContextMenu(GUIElement* owner, int x, int y, const std::vector<std::string>& entries);

// The process's current directory, or "" when it cannot be read.
std::string CurrentDirectory();

// Whether a file (not a folder) is at path.
bool FileExists(const std::string& path);
// The folder of the running program, without a final backslash.
std::string ProgramFolder();
// A folder under the user's local application data (%LOCALAPPDATA%\below), or "" when the
// system names none.
std::string LocalDataFolder(const std::string& below);
// The path made whole against the current folder; the path as given when it cannot be.
std::string FullPath(const std::string& path);

} // namespace KelUtility
