#include "tests/support/scripted_host.h"

#include "toolkit/text_conversion.h"

namespace KelTest {

ScriptedHost::ScriptedHost() : m_previous(KelUtility::SetDialogHost(this)) {}

ScriptedHost::~ScriptedHost() {
    KelUtility::SetDialogHost(m_previous);
}

int ScriptedHost::RunMessageBox(HWND, const std::string& text, const std::string& caption,
                                UINT flags) {
    boxes.push_back({text, caption});
    const UINT buttons = flags & MB_TYPEMASK;
    if (buttons != MB_YESNO && buttons != MB_YESNOCANCEL)
        return IDOK;
    const int answer = answers.empty() ? IDYES : answers.front();
    if (!answers.empty())
        answers.pop_front();
    return answer;
}

bool ScriptedHost::RunColorDialog(CHOOSECOLORW& dialog) {
    ++colourDialogs;
    if (colour < 0)
        return false;
    dialog.rgbResult = static_cast<COLORREF>(colour);
    return true;
}

bool ScriptedHost::RunFileDialog(OPENFILENAMEW& dialog) {
    fileDialogTitles.push_back(dialog.lpstrTitle != nullptr ? dialog.lpstrTitle : L"");
    offeredNames.push_back(KelUtility::ToNarrow(dialog.lpstrFile));
    if (paths.empty())
        return false;
    const std::wstring path = KelUtility::ToWide(paths.front());
    paths.pop_front();
    if (path.size() >= dialog.nMaxFile)
        return false;
    path.copy(dialog.lpstrFile, path.size());
    dialog.lpstrFile[path.size()] = L'\0';
    return true;
}

bool ScriptedHost::RunOpenDialog(OPENFILENAMEW& dialog) {
    return RunFileDialog(dialog);
}

bool ScriptedHost::RunSaveDialog(OPENFILENAMEW& dialog) {
    return RunFileDialog(dialog);
}

HINSTANCE ScriptedHost::RunShellExecute(HWND, const wchar_t*, const wchar_t* file, const wchar_t*,
                                        const wchar_t*, int) {
    opened.push_back(file != nullptr ? file : L"");
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

UINT ScriptedHost::RunPopupMenu(HMENU menu, UINT, int, int, HWND) {
    std::vector<std::wstring> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        entries.push_back(text);
    }
    contextMenus.push_back(entries);
    return contextChoice > 0 ? GetMenuItemID(menu, contextChoice - 1) : 0;
}

std::vector<std::string> ScriptedHost::BoxTexts() const {
    std::vector<std::string> texts;
    for (const Box& box : boxes)
        texts.push_back(box.caption + " / " + box.text);
    return texts;
}

} // namespace KelTest
