#include "toolkit/system_dialogs.h"

#include "toolkit/dialog_host.h"
#include "toolkit/file_filter.h"
#include "toolkit/fitted_text.h"
#include "toolkit/gui_element.h"
#include "toolkit/text_conversion.h"

#include <shlobj.h>

namespace KelUtility {

namespace {

constexpr UINT kMessageFlags = MB_TASKMODAL | MB_OK;
constexpr UINT kWarningFlags = MB_TASKMODAL | MB_OK | MB_ICONWARNING;
constexpr UINT kErrorFlags = MB_TASKMODAL | MB_OK | MB_ICONERROR;
constexpr UINT kQuestionFlags = MB_TASKMODAL | MB_YESNO | MB_ICONQUESTION;
constexpr UINT kThreeWayFlags = MB_TASKMODAL | MB_YESNOCANCEL | MB_ICONQUESTION;

constexpr DWORD kColorFlags = CC_RGBINIT | CC_FULLOPEN;
constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
constexpr DWORD kSaveFlags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
constexpr std::size_t kPathCapacity = 4096;

// Lives for the process, so colours the user stores in one dialog are offered by the next.
COLORREF customColors[16] = {};

enum class FileDialogKind { Open, Save };

HWND WindowOf(GUIElement* element) {
    return element != nullptr ? element->window : nullptr;
}

const wchar_t* NullWhenEmpty(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

// "kv3" of a first filter "*.kv3"; empty when it names no single extension.
std::wstring DefaultExtension(const std::vector<std::string>& filters) {
    if (filters.size() < 2)
        return L"";
    const std::string& pattern = filters[1];
    if (pattern.compare(0, 2, "*.") != 0 || pattern.find_first_of(";*?", 2) != std::string::npos)
        return L"";
    return ToWide(pattern.substr(2));
}

std::string RunFileDialog(FileDialogKind kind, GUIElement* owner, const std::string& caption,
                          const std::string& initialDirectory, const std::string& initialFileName,
                          const std::vector<std::string>& filters) {
    // These stay alive until the dialog returns: the structure only points at them.
    const std::wstring filter = FileFilterText(filters);
    const std::wstring title = ToWide(caption);
    const std::wstring directory = ToWide(initialDirectory);
    std::wstring path(kPathCapacity, L'\0');
    const std::wstring fileName = ToWide(initialFileName);
    fileName.copy(&path[0], kPathCapacity - 1);
    const std::wstring extension = DefaultExtension(filters);

    OPENFILENAMEW dialog = {};
    // The structure's own size for this build: 88 bytes for 32-bit code, more for 64-bit.
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = WindowOf(owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = &path[0];
    dialog.nMaxFile = static_cast<DWORD>(kPathCapacity);
    dialog.lpstrTitle = NullWhenEmpty(title);
    dialog.lpstrInitialDir = NullWhenEmpty(directory);
    if (kind == FileDialogKind::Save)
        dialog.lpstrDefExt = NullWhenEmpty(extension);
    dialog.Flags = kind == FileDialogKind::Open ? kOpenFlags : kSaveFlags;

    DialogHost& host = CurrentDialogHost();
    bool chosen =
        kind == FileDialogKind::Open ? host.RunOpenDialog(dialog) : host.RunSaveDialog(dialog);
    if (!chosen)
        return "";
    return ToNarrow(std::wstring(path.c_str()));
}

// Half the width of the owner's monitor, less a box's icon and margins, is the most a line
// of a box may take: a box that wide is still plainly a box, on any screen.
int WidestLine(HWND owner) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    const HMONITOR where = owner != nullptr ? MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY)
                                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoW(where, &monitor))
        return 400;
    return (monitor.rcWork.right - monitor.rcWork.left) / 2;
}

// The text as the box will show it: a run without blanks that its font would draw wider
// than the box may be (a long path) is shortened in the middle, so that the box fits the
// screen. Measured in the font message boxes use.
std::string FittedForBox(HWND owner, const std::string& text) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return text;
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    HDC screen = GetDC(nullptr);
    if (font == nullptr || screen == nullptr) {
        if (font != nullptr)
            DeleteObject(font);
        if (screen != nullptr)
            ReleaseDC(nullptr, screen);
        return text;
    }
    const HGDIOBJ previous = SelectObject(screen, font);
    const int widest = WidestLine(owner);
    const std::wstring wide = ToWide(text);
    const std::wstring fitted = ShortenedToFit(wide, [&](std::wstring_view piece) {
        SIZE size = {};
        return GetTextExtentPoint32W(screen, piece.data(), static_cast<int>(piece.size()), &size) &&
               size.cx <= widest;
    });
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    // A text that fits goes on as it came, bytes that are not UTF-8 included.
    return fitted == wide ? text : ToNarrow(fitted);
}

int RunBox(GUIElement* owner, const std::string& text, const std::string& caption, UINT flags) {
    const HWND window = WindowOf(owner);
    return CurrentDialogHost().RunMessageBox(window, FittedForBox(window, text), caption, flags);
}

} // namespace

void ShowMessage(GUIElement* owner, const std::string& text, const std::string& caption) {
    RunBox(owner, text, caption, kMessageFlags);
}

void ShowWarning(GUIElement* owner, const std::string& text, const std::string& caption) {
    RunBox(owner, text, caption, kWarningFlags);
}

void ShowError(GUIElement* owner, const std::string& text, const std::string& caption) {
    RunBox(owner, text, caption, kErrorFlags);
}

bool AskYesNo(const std::string& text, const std::string& caption) {
    return AskYesNo(nullptr, text, caption);
}

bool AskYesNo(GUIElement* owner, const std::string& text, const std::string& caption) {
    return RunBox(owner, text, caption, kQuestionFlags) == IDYES;
}

bool AskYesNoDefaultNo(GUIElement* owner, const std::string& text, const std::string& caption) {
    return RunBox(owner, text, caption, kQuestionFlags | MB_DEFBUTTON2) == IDYES;
}

Answer AskYesNoCancel(GUIElement* owner, const std::string& text, const std::string& caption) {
    switch (RunBox(owner, text, caption, kThreeWayFlags)) {
    case IDYES:
        return Answer::Yes;
    case IDNO:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

COLORREF ChooseColor(GUIElement* owner, COLORREF initial) {
    CHOOSECOLORW dialog = {};
    // The structure's own size for this build: 36 bytes for 32-bit code, more for 64-bit.
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = WindowOf(owner);
    dialog.rgbResult = initial;
    dialog.lpCustColors = customColors;
    dialog.Flags = kColorFlags;
    return CurrentDialogHost().RunColorDialog(dialog) ? dialog.rgbResult : initial;
}

std::string OpenFileDialog(GUIElement* owner, const std::string& caption,
                           const std::string& initialDirectory,
                           const std::vector<std::string>& filters) {
    return RunFileDialog(FileDialogKind::Open, owner, caption, initialDirectory, "", filters);
}

std::string SaveFileDialog(GUIElement* owner, const std::string& caption,
                           const std::string& initialDirectory, const std::string& initialFileName,
                           const std::vector<std::string>& filters) {
    return RunFileDialog(FileDialogKind::Save, owner, caption, initialDirectory, initialFileName,
                         filters);
}

bool ShellOpen(const std::string& target) {
    const std::wstring file = ToWide(target);
    HINSTANCE result = CurrentDialogHost().RunShellExecute(nullptr, L"open", file.c_str(), nullptr,
                                                           nullptr, SW_SHOW);
    // The shell answers with a number disguised as a handle; 32 and below are errors.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

// Entry ids count from 1, since 0 is the answer of a dismissed menu.
int ShowContextMenu(GUIElement* owner, int x, int y, const std::vector<std::string>& entries) {
    if (owner == nullptr || owner->window == nullptr)
        return -1;
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return -1;
    for (std::size_t i = 0; i < entries.size(); ++i)
        AppendMenuW(menu, MF_STRING, i + 1, ToWide(entries[i]).c_str());
    POINT at = {x, y};
    ClientToScreen(owner->window, &at);
    const UINT chosen =
        CurrentDialogHost().RunPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, owner->window);
    DestroyMenu(menu);
    return chosen >= 1 && chosen <= entries.size() ? static_cast<int>(chosen) - 1 : -1;
}

std::string CurrentDirectory() {
    // The first answer is the size the directory needs; ask again if it grew in between.
    DWORD capacity = GetCurrentDirectoryW(0, nullptr);
    while (capacity != 0) {
        std::wstring directory(capacity, L'\0');
        DWORD length = GetCurrentDirectoryW(capacity, &directory[0]);
        if (length < capacity) {
            directory.resize(length);
            return ToNarrow(directory);
        }
        capacity = length;
    }
    return "";
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string FullPath(const std::string& path) {
    const std::wstring wide = ToWide(path);
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::wstring whole(length, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), length, whole.data(), nullptr);
    if (written == 0 || written >= length)
        return path;
    whole.resize(written);
    return ToNarrow(whole);
}

std::string LocalDataFolder(const std::string& below) {
    PWSTR folder = nullptr;
    std::string path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder)))
        path = ToNarrow(folder) + "\\" + below;
    CoTaskMemFree(folder);
    return path;
}

// The module's name grows until it fits: a program may be installed down a long path.
std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return "";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return ToNarrow(path.substr(0, path.find_last_of(L"\\/")));
}

} // namespace KelUtility
