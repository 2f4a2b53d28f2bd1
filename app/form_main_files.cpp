// Files reaching the main window from outside its dialogs: a path on the command line or
// dropped on the window, and the recent projects of the File menu; and the settings that
// remember those projects and the window's placement between runs.

#include "app/form_main.h"

#include "app/settings_store.h"
#include "document/file_failure.h"
#include "document/float_range.h"
#include "document/model_import.h"
#include "document/text_file.h"
#include "toolkit/busy_cursor.h"
#include "toolkit/dpi.h"
#include "toolkit/sub_menu.h"
#include "toolkit/tool_bar.h"
#include "toolkit/tool_bar_item.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_conversion.h"
#include "viewport/d3d_panel.h"

#include <algorithm>

using namespace KelUtility;

namespace MyApp {
namespace {

const char* const kError = "Errore";
const char* const kShadedLook = "Ombreggiato";
const char* const kEdgesLook = "Spigoli";

// A failure's message, and below it the file and why.
std::string WithReason(const std::string& message, const std::string& path,
                       const std::string& reason) {
    return message + "\n" + FileAndReason(path, reason);
}

// Why a file that could be read is not a project.
std::string NotAProject(const std::string& text) {
    return text.empty() ? "Il file \xC3\xA8 vuoto."
                        : "La prima riga non \xC3\xA8 KEL MORVANE: non \xC3\xA8 un progetto "
                          "di Kel Morvane.";
}

// A position the project keeps as a double but no float carries, which the preview draws
// at the float range's edge: "contiene un valore che l'anteprima non può mostrare: il
// vertice 3 ha X = 1e+300, ...". Empty when every value fits.
std::string UnshownValue(const MeshDocument& document) {
    const std::optional<ValuePastFloat> fault = FirstValuePastFloat(document.Vertices);
    if (!fault)
        return "";
    return "contiene un valore che l'anteprima non pu\xC3\xB2 mostrare: " + Described(*fault) +
           ". Il valore resta nel progetto com'\xC3\xA8.";
}

std::string PrefixedIfAny(const std::string& prefix, const std::string& text) {
    return text.empty() ? text : prefix + text;
}

// "C:\\modelli\\modello" of "C:\\modelli\\modello.obj": the save dialog, given it, opens in
// that folder and offers that name.
std::string WithoutExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return dot != std::string::npos && dot > nameStart ? path.substr(0, dot) : path;
}

// Gone for certain: its folder has no such file, or there is no such folder.
bool FileMissing(const std::string& path) {
    if (GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

ScreenRect FromRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<ScreenRect>*>(list)->push_back(FromRect(info.rcWork));
    return TRUE;
}

// The main windows of the other editors running: windows of the same class that no window
// owns (an editor's dialogs are owned by its window), shown and not minimised.
struct EditorSearch {
    HWND own;
    std::wstring className;
    std::vector<ScreenRect> found;
};

BOOL CALLBACK AddOtherEditor(HWND window, LPARAM search) {
    auto& s = *reinterpret_cast<EditorSearch*>(search);
    wchar_t name[256] = {};
    RECT rect = {};
    if (window != s.own && GetWindow(window, GW_OWNER) == nullptr && IsWindowVisible(window) &&
        !IsIconic(window) && GetClassNameW(window, name, 256) > 0 && s.className == name &&
        GetWindowRect(window, &rect))
        s.found.push_back(FromRect(rect));
    return TRUE;
}

// The monitors' work areas in the coordinates of a window's normal placement, which start
// at the primary monitor's work area.
std::vector<ScreenRect> WorkAreas() {
    std::vector<ScreenRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    MONITORINFO primary = {};
    primary.cbSize = sizeof primary;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary);
    for (ScreenRect& area : areas) {
        area.left -= primary.rcWork.left;
        area.right -= primary.rcWork.left;
        area.top -= primary.rcWork.top;
        area.bottom -= primary.rcWork.top;
    }
    return areas;
}

} // namespace

bool FormMain::OpenProjectFile(const std::string& path) {
    if (FileMissing(path)) {
        ShowError(this, "Il file " + path + " non esiste.", kError);
        return false;
    }
    // The whole file, a last line cut short too: the header decides first whether it is a
    // project at all, and a cut is damage like any other.
    TextFile file(path);
    const std::string text = file.ReadWhole();
    if (file.Failed) {
        ShowError(this, WithReason("Errore durante la lettura.", path, file.Reason), kError);
        return false;
    }
    ProjectProblem problem;
    if (!document.FromText(text, &problem)) {
        ShowError(this, WithReason("Formato non valido.", path, NotAProject(text)), kError);
        return false;
    }
    ResetScroll();
    LoadControls();
    if (problem) {
        TakeDamagedProject(path, problem);
        return true;
    }
    SetFileName(path);
    StampProject();
    m_untitledName = kUntitledName;
    StartHistory();
    LayoutPanels();
    RememberProject(path);
    if (const std::string unshown = UnshownValue(document); !unshown.empty())
        ShowWarning(this, "Il progetto " + path + " " + unshown, "Attenzione");
    return true;
}

// What was read is not what the file holds, so it must not be saved over it: the document
// has no file name and is modified, so that a save asks where, and leaving asks to save.
void FormMain::TakeDamagedProject(const std::string& path, const ProjectProblem& problem) {
    SetFileName("");
    m_untitledName = WithoutExtension(path) + " (recuperato)";
    StartHistory();
    history.ForgetSaved();
    SetModified(true);
    NoteUnsavedChange();
    LayoutPanels();
    ShowWarning(this,
                "Il progetto " + path + " \xC3\xA8 danneggiato: " + problem.Description() +
                    ".\nViene aperto per quanto \xC3\xA8 stato possibile leggerlo, senza nome: "
                    "il salvataggio chieder\xC3\xA0 dove scriverlo e il file originale resta "
                    "com'\xC3\xA8." +
                    PrefixedIfAny("\nInoltre il progetto ", UnshownValue(document)),
                "Attenzione");
}

// The imported model is not a project yet: it has no file name, and it is modified, so
// that leaving asks to save it. What the import says of the model's texture follows it. The import is a step of the history; the state before it
// is no longer the saved one, since the document has left its file. A model of more
// triangles than the preview draws is offered simplified; a No to that is no failure.
bool FormMain::ImportModelFile(const std::string& path) {
    std::string message;
    const std::size_t drawable = static_cast<std::size_t>(std::max(viewport->MaxDrawnFaces(), 0));
    bool declined = false;
    const auto askToFit = [this, &declined](const std::string& question) {
        declined = !AskYesNo(this, question, "Importa");
        return !declined;
    };
    bool imported = false;
    {
        const BusyCursor busy;
        imported = ImportModel(path, document, message, drawable, askToFit);
    }
    if (!imported) {
        // The user chose not to have the model simplified: nothing went wrong.
        if (declined) {
            ShowMessage(this, "Il modello non \xC3\xA8 stato importato.\n" + path, "Importa");
            return false;
        }
        // The file is named last, as every failure to open or save names it.
        if (message.find(path) == std::string::npos)
            message += "\n" + path;
        ShowError(this, message, kError);
        return false;
    }
    ResetScroll();
    LoadControls();
    // The import has resolved the texture's name from the model's folder already.
    viewport->TrustedTexture = document.TextureFile;
    SetFileName("");
    m_untitledName = WithoutExtension(path);
    history.ForgetSaved();
    NoteChange(ChangeSource::SingleStep);
    LayoutPanels();
    if (!message.empty())
        ShowWarning(this, message, "Importa");
    return true;
}

// A relative path names a file of the current folder now; the file dialogs move that folder
// later, so the document keeps the whole path.
void FormMain::OpenOrImport(const std::string& path) {
    const std::string whole = FullPath(path);
    if (IsModelPath(whole))
        ImportModelFile(whole);
    else
        OpenProjectFile(whole);
}

// The rest of the files are left alone: the editor holds one document.
void FormMain::OnFilesDropped(const std::vector<std::string>& paths) {
    if (!paths.empty() && m_offeringRecovery) {
        m_droppedDuringOffer = FullPath(paths.front());
        return;
    }
    if (paths.empty() || !IsWindowEnabled(window))
        return;
    SetForegroundWindow(window);
    if (Modified && !SaveProject(false))
        return;
    OpenOrImport(paths.front());
}

void FormMain::RememberSettingsIn(const std::string& keyPath) {
    m_settings = std::make_unique<SettingsStore>(keyPath);
    recentProjects = m_settings->ReadRecent();
    ShowRecentProjects();
    RestorePlacement();
    SetLooks(m_settings->ReadLook(kShadedLook), m_settings->ReadLook(kEdgesLook));
}

void FormMain::SetLooks(bool shaded, bool edges) {
    viewport->Shaded = shaded;
    viewport->ShowEdges = edges;
    shadedItem->checked = shaded;
    edgesItem->checked = edges;
    shadedItem->ApplyCheck();
    edgesItem->ApplyCheck();
    shadedButton->checked = shaded;
    edgesButton->checked = edges;
    SendMessageW(mainToolBar->window, TB_CHECKBUTTON, shadedButton->id, shaded);
    SendMessageW(mainToolBar->window, TB_CHECKBUTTON, edgesButton->id, edges);
    if (m_settings) {
        m_settings->WriteLook(kShadedLook, shaded);
        m_settings->WriteLook(kEdgesLook, edges);
    }
    viewport->Redraw();
}

// The entries sit between the export commands and Exit, with a line below them; the
// platform menu appends, so Exit leaves and comes back after them.
void FormMain::ShowRecentProjects() {
    for (auto& item : recentItems)
        item->Remove();
    recentSeparator->Remove();
    exitItem->Remove();
    const std::vector<std::string>& paths = recentProjects.Paths();
    for (std::size_t i = 0; i < paths.size() && i < recentItems.size(); ++i) {
        recentItems[i]->text = ToWide(RecentMenuText(i + 1, paths[i]));
        recentItems[i]->Create();
    }
    if (!paths.empty())
        recentSeparator->Create();
    exitItem->Create();
}

// A project gone since it was listed leaves the list; nothing else changes. One that cannot
// be reached now (a drive unplugged, a share offline) stays, and Open says why.
void FormMain::OpenRecent(std::size_t position) {
    if (position >= recentProjects.Paths().size())
        return;
    const std::string path = recentProjects.Paths()[position];
    if (FileMissing(path)) {
        ShowError(this,
                  "Il progetto " + path +
                      " non esiste pi\xC3\xB9: viene tolto dall'elenco dei progetti recenti.",
                  kError);
        recentProjects.Remove(path);
        KeepRecentProjects();
        return;
    }
    if (Modified && !SaveProject(false))
        return;
    OpenProjectFile(path);
}

// Another window of the program may have listed projects since: the list is read again
// before this one joins it.
void FormMain::RememberProject(const std::string& path) {
    if (m_settings)
        recentProjects = m_settings->ReadRecent();
    recentProjects.Add(path);
    KeepRecentProjects();
}

void FormMain::KeepRecentProjects() {
    if (m_settings)
        m_settings->WriteRecent(recentProjects);
    ShowRecentProjects();
}

void FormMain::RestorePlacement() {
    const std::optional<WindowPlacement> kept = PlacementToRestore(
        m_settings->ReadPlacement(), WorkAreas(), minimumTrackWidth, minimumTrackHeight);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!kept || !GetWindowPlacement(window, &placement)) {
        StepAsideFromOtherEditors();
        return;
    }
    const ScreenRect& bounds = kept->bounds;
    placement.rcNormalPosition = RECT{bounds.left, bounds.top, bounds.right, bounds.bottom};
    placement.showCmd = kept->maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    placement.flags = 0;
    // Put on a monitor of another DPI, the window is laid out anew for it, but stays at the
    // size it was kept at rather than the one the system scales it to.
    m_placing = true;
    SetWindowPlacement(window, &placement);
    m_placing = false;
    StepAsideFromOtherEditors();
}

// Two editors started one after the other would otherwise open exactly one over the other,
// from the same kept placement or the same first one, and the first would seem gone. The
// step is a title bar and a frame, as Windows cascades its windows.
void FormMain::StepAsideFromOtherEditors() {
    if (IsZoomed(window) || IsIconic(window))
        return;
    wchar_t className[256] = {};
    RECT own = {};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetClassNameW(window, className, 256) == 0 || !GetWindowRect(window, &own) ||
        !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    EditorSearch search{window, className, {}};
    EnumWindows(AddOtherEditor, reinterpret_cast<LPARAM>(&search));
    const int dpi = WindowDpi(window);
    const int step = SystemMetric(SM_CYCAPTION, dpi) + SystemMetric(SM_CYSIZEFRAME, dpi) +
                     SystemMetric(SM_CXPADDEDBORDER, dpi);
    const ScreenRect placed = CascadedBounds(FromRect(own), search.found, step, FromRect(monitor.rcWork));
    if (placed.left != own.left || placed.top != own.top)
        SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A window closed while minimised comes back as it would have been restored.
void FormMain::KeepPlacement() {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!m_settings || !GetWindowPlacement(window, &placement))
        return;
    const bool maximised =
        placement.showCmd == SW_SHOWMAXIMIZED ||
        (placement.showCmd == SW_SHOWMINIMIZED && (placement.flags & WPF_RESTORETOMAXIMIZED) != 0);
    m_settings->WritePlacement({FromRect(placement.rcNormalPosition), maximised});
}

} // namespace MyApp
