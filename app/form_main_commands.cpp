// What the main window's menus, tool bars, buttons, boxes and lists do.

#include "app/form_main.h"

#include "app/form_indici.h"
#include "app/form_main_events.h"
#include "app/form_vertici.h"
#include "app/program_title.h"
#include "document/file_failure.h"
#include "document/model_import.h"
#include "document/model_pictures.h"
#include "document/reported_number.h"
#include "document/text_file.h"
#include "toolkit/busy_cursor.h"
#include "toolkit/button.h"
#include "toolkit/currency_box.h"
#include "toolkit/form_about.h"
#include "toolkit/gui_control.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/numeric_box.h"
#include "toolkit/panel_children.h"
#include "toolkit/status_bar.h"
#include "toolkit/sub_menu.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_box.h"
#include "toolkit/text_conversion.h"
#include "toolkit/timer.h"
#include "toolkit/tool_bar.h"
#include "toolkit/tool_bar_item.h"
#include "toolkit/user_number_format.h"
#include "viewport/d3d_panel.h"

#include <algorithm>
#include <cctype>
#include <new>

using namespace KelUtility;

namespace MyApp {
namespace {

constexpr double kMoveStep = 0.1;
constexpr int kAboutPicture = 1006;
constexpr int kAboutPictureWidth = 164;
constexpr int kAboutPictureHeight = 50;

const std::string kExtension = FormMain::kProjectExtension;
const std::vector<std::string> kProjectFilter = {"File Morvane (*" + kExtension + ")",
                                                 "*" + kExtension};
const std::vector<std::string> kPictureFilter = {"File PNG (*.png)", "*.png"};
const std::vector<std::string> kMeshFilter = {"File DirectX (*.x)", "*.x"};
const std::vector<std::string> kModelFilter = {
    "Tutti i modelli",          "*.obj;*.ply;*.stl;*.gltf;*.glb;*.x",
    "File OBJ (*.obj)",         "*.obj",
    "File PLY (*.ply)",         "*.ply",
    "File STL (*.stl)",         "*.stl",
    "File glTF (*.gltf;*.glb)", "*.gltf;*.glb",
    "File DirectX (*.x)",       "*.x"};
const std::vector<std::string> kTextureFilter = {
    "File Immagine", "*.bmp;*.dds;*.dib;*.hdr;*.jpg;*.pfm;*.png;*.ppm;*.tga"};

const char* const kError = "Errore";
const char* const kExported = "Esportazione effettuata correttamente.";
const char* const kNotWritten = "Errore durante la scrittura del file.";
const char* const kNoSelection = "E' necessario selezionare un elemento dalla lista.";

// A failure's message, with the reason below it when one is known.
std::string Explained(const std::string& message, const std::string& reason) {
    return reason.empty() ? message : message + "\n" + reason;
}

bool EndsWithInAnyCase(const std::string& text, const std::string& ending) {
    return text.size() > ending.size() &&
           std::equal(ending.rbegin(), ending.rend(), text.rbegin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// ".ply" of the filter {"File PLY (*.ply)", "*.ply"}.
std::string ExtensionOf(const std::vector<std::string>& filter) {
    return filter.size() > 1 ? filter[1].substr(1) : "";
}

// A modified entry whose row has gone meanwhile is not put anywhere else.
template <class Entry>
void TakeEntry(std::vector<Entry>& entries, const EntryDialog& dialog, Entry entry) {
    if (!dialog.modify)
        entries.push_back(entry);
    else if (dialog.position >= 0 && static_cast<std::size_t>(dialog.position) < entries.size())
        entries[static_cast<std::size_t>(dialog.position)] = entry;
}

} // namespace

void FormMain::OnCommand(GUIElement* menuItem) {
    if (menuItem == newItem.get()) {
        if (Modified && !SaveProject(false))
            return;
        document = MeshDocument();
        ResetScroll();
        LoadControls();
        SetFileName("");
        m_untitledName = kUntitledName;
        StartHistory();
    } else if (menuItem == openItem.get()) {
        if (Modified && !SaveProject(false))
            return;
        OpenProject();
    } else if (menuItem == importItem.get()) {
        if (Modified && !SaveProject(false))
            return;
        ImportProject();
    } else if (menuItem == saveItem.get()) {
        SaveProject(true);
    } else if (menuItem == saveAsItem.get()) {
        SaveProjectAs();
    } else if (menuItem == exportPictureItem.get()) {
        ExportPicture();
    } else if (menuItem == exportMeshItem.get()) {
        ExportMesh();
    } else if (menuItem == exportObjItem.get()) {
        ExportModelAs("mesh.obj", {"File OBJ (*.obj)", "*.obj"});
    } else if (menuItem == exportPlyItem.get()) {
        ExportModelAs("mesh.ply", {"File PLY (*.ply)", "*.ply"});
    } else if (menuItem == exportStlItem.get()) {
        ExportModelAs("mesh.stl", {"File STL (*.stl)", "*.stl"});
    } else if (menuItem == exportGltfItem.get()) {
        ExportModelAs("mesh.glb", {"File glTF binario (*.glb)", "*.glb"});
    } else if (menuItem == undoItem.get()) {
        Undo();
    } else if (menuItem == redoItem.get()) {
        Redo();
    } else if (menuItem == resetViewItem.get()) {
        ResetView();
    } else if (menuItem == shadedItem.get()) {
        SetLooks(!viewport->Shaded, viewport->ShowEdges);
    } else if (menuItem == edgesItem.get()) {
        SetLooks(viewport->Shaded, !viewport->ShowEdges);
    } else if (menuItem == frameItem.get()) {
        FrameView();
    } else if (auto side = std::find_if(sideItems.begin(), sideItems.end(),
                                        [&](const auto& item) { return item.get() == menuItem; });
               side != sideItems.end()) {
        // Front, back, left, right, top, bottom: the turn that brings that side to the eye.
        constexpr int kSides[6][2] = {{0, 0}, {0, 180}, {0, 270}, {0, 90}, {270, 0}, {90, 0}};
        const auto which = static_cast<std::size_t>(side - sideItems.begin());
        ShowSide(kSides[which][0], kSides[which][1]);
    } else if (menuItem == addTriangleItem.get()) {
        OpenIndexDialog(EntryMode::AddTriangle);
    } else if (RunToolCommand(menuItem)) {
    } else if (auto recent = std::find_if(recentItems.begin(), recentItems.end(),
                                          [&](const auto& item) { return item.get() == menuItem; });
               recent != recentItems.end()) {
        OpenRecent(static_cast<std::size_t>(recent - recentItems.begin()));
    } else if (menuItem == exitItem.get()) {
        SendMessageW(window, WM_CLOSE, 0, 0);
    } else if (menuItem == guideItem.get()) {
        OpenGuide();
    } else if (menuItem == homeItem.get()) {
        OpenPage(kHomePage);
    } else if (menuItem == infoItem.get()) {
        ShowAbout();
    }
}

// The user may save, decline or meet a save error. Unlike the other questions, a save that
// fails keeps the window open, so that the work is not lost: the user can save elsewhere.
bool FormMain::ConfirmClose() {
    UnregisterHotKeys();
    if (!AskYesNo("Vuoi realmente uscire?", "Uscita") || (Modified && !SaveProject(false))) {
        RegisterHotKeys();
        return false;
    }
    KeepPlacement();
    timer->Stop();
    return true;
}

bool FormMain::SaveProject(bool noQuestion) {
    if (!Modified)
        return true;
    if (!noQuestion) {
        switch (AskYesNoCancel(this, "Si desidera salvare le modifiche del file?", "Salva")) {
        case Answer::No:
            DiscardRecoveryCopy(); // the user gave the changes up
            return true;
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            break;
        }
    }
    // A read-only file is one its owner keeps from changes; the work can still go to
    // another file.
    if (!ProjectPath.empty() && IsReadOnlyFile(ProjectPath)) {
        if (AskYesNo(this,
                     "Il progetto " + ProjectPath +
                         " \xC3\xA8 di sola lettura e non viene sovrascritto.\nVuoi salvarlo "
                         "con un altro nome?",
                     "Salva"))
            SaveProjectAs();
        return !Modified;
    }
    if (!ProjectPath.empty() && !MayWriteOverProject())
        return false;
    const std::string previous = ProjectPath;
    const std::string texture = ShownTexture();
    if (ProjectPath.empty())
        SetFileName(AskProjectPath());
    if (ProjectPath.empty())
        return false;
    if (WriteProject(texture))
        return true;
    SetFileName(previous);
    return false;
}

// Another editor or program may have saved the file since: its work is not lost without a
// word.
bool FormMain::MayWriteOverProject() {
    const std::optional<FileStamp> now = StampOf(ProjectPath);
    if (ProjectPath != m_stampedPath || !m_projectStamp || !now || *now == *m_projectStamp)
        return true;
    return AskYesNoDefaultNo(this,
                             "Il progetto " + ProjectPath +
                                 " \xC3\xA8 stato modificato da un altro programma dopo "
                                 "l'ultima apertura o salvataggio.\nSovrascriverlo con questa "
                                 "versione?",
                             "Salva");
}

void FormMain::StampProject() {
    m_stampedPath = ProjectPath;
    m_projectStamp = StampOf(ProjectPath);
}

// A name the project could not be written under is not kept: the document still belongs
// where it was.
// A cancelled dialog changes nothing: the project keeps its name.
void FormMain::SaveProjectAs() {
    const std::string chosen = AskProjectPath();
    if (chosen.empty())
        return;
    const std::string previous = ProjectPath;
    const std::string texture = ShownTexture();
    SetFileName(chosen);
    if (!WriteProject(texture))
        SetFileName(previous);
}

std::string FormMain::AskProjectPath() {
    return AskSavePath(m_untitledName + kExtension, kProjectFilter, kExtension);
}

// The dialog adds the extension to a bare name before it asks about overwriting; a name
// with another extension gets it after that one here, so the question is asked here for
// the name that will be written.
std::string FormMain::AskSavePath(const std::string& offered,
                                  const std::vector<std::string>& filter,
                                  const std::string& extension) {
    const std::string chosen = SaveFileDialog(this, "Salva", "", offered, filter);
    if (chosen.empty() || EndsWithInAnyCase(chosen, extension))
        return chosen;
    const std::string path = chosen + extension;
    return ConfirmReplace(path) ? path : "";
}

bool FormMain::ConfirmReplace(const std::string& path) {
    return !KelUtility::FileExists(path) ||
           AskYesNo(this, path + " esiste gi\xC3\xA0.\nSostituirlo?", "Salva");
}

// A project that is not written keeps naming its texture as before.
bool FormMain::WriteProject(const std::string& texture) {
    const std::string named = document.TextureFile;
    KeepTextureBesideProject(texture);
    TextFile file(ProjectPath);
    file.WriteText([this](const TextSink& take) { return document.WriteText(take); });
    if (file.Failed) {
        if (document.TextureFile != named)
            NameTexture(named);
        ShowError(this,
                  "Errore durante il salvataggio.\n" + FileAndReason(ProjectPath, file.Reason),
                  kError);
        return false;
    }
    history.MarkSaved();
    SetModified(false);
    StampProject();
    RememberProject(ProjectPath);
    return true;
}

// A copy that fails leaves the name as it was: the project still shows its texture on
// this machine, and the user learns why it does not travel with it. A name found beside
// the project's old folder that the new one would not find (or would find another picture
// by) is kept as the whole path of the picture the user saw, and is still opened as it was.
void FormMain::KeepTextureBesideProject(const std::string& texture) {
    if (!IsKeptPicture(texture)) {
        if (texture != document.TextureFile && ShownTexture() != texture) {
            NameTexture(texture);
            viewport->TrustedTexture = texture;
        }
        return;
    }
    std::string name;
    std::string problem;
    if (!CopyPictureBeside(ProjectPath, texture, name, problem)) {
        ShowWarning(this,
                    "La texture non \xC3\xA8 stata copiata accanto al progetto: " + problem +
                        ".\nIl progetto la cerca dove si trova ora.",
                    "Salva");
        return;
    }
    NameTexture(name);
}

// The project names its texture anew: a step of the history, shown in its box.
void FormMain::NameTexture(const std::string& name) {
    document.TextureFile = name;
    textureBox->SetText(name);
    textureBox->SetToolTip(name);
    RecordStep(ChangeSource::Texture);
    viewport->UpdateMesh(document);
}

MeshDocument FormMain::DocumentToExport() const {
    MeshDocument exported = document;
    exported.TextureFile = ShownTexture();
    return exported;
}

// The file the preview shows as the texture, by the same rule (D3DPanel::TextureFileOf); it
// asks the file system, so it serves saves and exports, not the tick.
std::string FormMain::ShownTexture() const {
    const NameScope scope = document.TextureFile == viewport->TrustedTexture ? NameScope::UsersWord
                                                                             : NameScope::Project;
    return ProjectTexture(FolderOf(ProjectPath), document.TextureFile, scope).path;
}

void FormMain::OpenProject() {
    const std::string path = OpenFileDialog(this, "Apri", "", kProjectFilter);
    if (!path.empty())
        OpenProjectFile(path);
}

void FormMain::ImportProject() {
    const std::string path = OpenFileDialog(this, "Importa", "", kModelFilter);
    if (!path.empty())
        ImportModelFile(path);
}

void FormMain::ExportModelAs(const std::string& defaultName,
                             const std::vector<std::string>& filter) {
    // Nothing to write is said before a file is asked for.
    if (!DrawsTriangles(document)) {
        ShowWarning(this, "Il modello non contiene triangoli da esportare.", "Esporta");
        return;
    }
    std::string message;
    if (!ExportableValues(document, message)) {
        ShowError(this, message, kError);
        return;
    }
    // The entry chosen decides the format, whatever extension was typed: the name written
    // ends with the format's, which is what ExportModel goes by.
    const std::string extension = ExtensionOf(filter);
    const std::string path = AskSavePath(defaultName, filter, extension);
    if (path.empty() || (extension == ".obj" && !ConfirmReplace(MaterialPathFor(path))))
        return;
    // A texture carried by a glTF file may have to be decoded and converted, which can take
    // seconds: the export runs off the window's thread, on a copy of the document.
    bool written = false;
    try {
        RunOffWindowThread(
            [&, toExport = DocumentToExport()] { written = ExportModel(toExport, path, message); });
    } catch (const std::bad_alloc&) {
        written = false;
        message = FileAndReason(path, "memoria insufficiente");
    }
    if (!written)
        ShowError(this, Explained(kNotWritten, message), kError);
    else if (message.empty())
        ShowMessage(this, kExported, "Esporta");
    else
        ShowWarning(this, std::string(kExported) + "\n" + message, "Esporta");
}

void FormMain::ExportPicture() {
    const std::string path = AskSavePath("mesh.png", kPictureFilter, ".png");
    if (path.empty())
        return;
    if (viewport->SavePicture(path))
        ShowMessage(this, kExported, "Esporta");
    else
        ShowError(this, Explained(kNotWritten, viewport->LastFileError), kError);
}

// The .x file keeps floats as the other formats do, and is refused on the same terms.
void FormMain::ExportMesh() {
    std::string message;
    if (!ExportableValues(document, message)) {
        ShowError(this, message, kError);
        return;
    }
    const std::string path = AskSavePath("mesh.x", kMeshFilter, ".x");
    if (path.empty())
        return;
    std::int32_t error = 0;
    if (viewport->SaveMeshToX(path, error, ToSceneMesh(DocumentToExport())))
        ShowMessage(this, kExported, "Esporta");
    else if (error == 2)
        ShowError(this, Explained(kNotWritten, viewport->LastFileError), kError);
    else
        ShowError(this, "Definizione Mesh non completata.", kError);
}

void FormMain::ShowAbout() {
    aboutForm.reset();
    aboutForm = std::make_unique<FormAbout>(this);
    aboutForm->pictureResource = kAboutPicture;
    aboutForm->pictureWidth = kAboutPictureWidth;
    aboutForm->pictureHeight = kAboutPictureHeight;
    aboutForm->titleText = std::string(kProductName) + " " + kVersion;
    aboutForm->rightsText = kRightsLine;
    aboutForm->noticeText = kLicenceNotice;
    aboutForm->homePage = kHomePage;
    Focus();
    aboutForm->Show();
}

// Without a browser that answers, the user learns where the page is.
void FormMain::OpenPage(const std::string& address) {
    if (!ShellOpen(address))
        ShowError(this, "Impossibile aprire la pagina " + address + ".", kError);
}

// The manual ships beside the program; a missing one is named, so the user knows what is
// gone.
void FormMain::OpenGuide() {
    const std::string guide = GuidePath();
    if (!KelUtility::FileExists(guide))
        ShowError(this, "La guida " + guide + " non \xC3\xA8 stata trovata.", kError);
    else
        OpenPage(guide);
}

void FormMain::OnControlClick(GUIElement* element) {
    if (element == newButton.get())
        OnCommand(newItem.get());
    else if (element == openButton.get())
        OnCommand(openItem.get());
    else if (element == saveButton.get())
        OnCommand(saveItem.get());
    else if (element == undoButton.get())
        Undo();
    else if (element == redoButton.get())
        Redo();
    else if (element == shadedButton.get())
        OnCommand(shadedItem.get());
    else if (element == edgesButton.get())
        OnCommand(edgesItem.get());
    else if (element == colorButton.get())
        PickBackground();
    else if (element == textureButton.get())
        PickTexture();
    else if (element == vertexAddButton.get())
        OpenVertexDialog(EntryMode::Add);
    else if (element == vertexModifyButton.get())
        OpenVertexDialog(EntryMode::Modify);
    else if (element == vertexDeleteButton.get())
        DeleteSelected(*vertexList);
    else if (element == indexAddButton.get())
        OpenIndexDialog(EntryMode::Add);
    else if (element == indexTriangleButton.get())
        OpenIndexDialog(EntryMode::AddTriangle);
    else if (element == indexModifyButton.get())
        OpenIndexDialog(EntryMode::Modify);
    else if (element == indexDeleteButton.get())
        DeleteSelected(*indexList);
    else if (element == vertexList.get() || element == indexList.get())
        ShowSelection(*static_cast<OnDemandListBox*>(element));
}

void FormMain::OnListDoubleClick(GUIElement* list) {
    if (list == vertexList.get())
        Invoke(vertexModifyButton.get());
    else if (list == indexList.get())
        Invoke(indexModifyButton.get());
}

// A key or a double click does nothing where the button it stands for is disabled: an
// empty list has nothing to modify or delete.
void FormMain::Invoke(ToolBarItem* button) {
    if (button->enabled)
        OnControlClick(button);
}

void FormMain::UpdateListCommands() {
    if (!vertexToolBar || !indexToolBar)
        return;
    const struct {
        ToolBar& bar;
        OnDemandListBox& list;
        ToolBarItem& modify;
        ToolBarItem& remove;
    } lists[] = {{*vertexToolBar, *vertexList, *vertexModifyButton, *vertexDeleteButton},
                 {*indexToolBar, *indexList, *indexModifyButton, *indexDeleteButton}};
    for (const auto& entry : lists) {
        const bool rows = entry.list.RowCount() > 0;
        if (entry.modify.enabled == rows && entry.remove.enabled == rows)
            continue;
        entry.modify.SetEnabled(rows);
        entry.remove.SetEnabled(rows);
        entry.bar.RefreshButtons();
    }
}

// Insert adds, Enter or F2 modifies the selected entry, Delete deletes it, as the tool bar
// buttons above the list do.
void FormMain::OnListKeyDown(GUIElement* list, int key) {
    const bool vertices = list == vertexList.get();
    switch (key) {
    case VK_INSERT:
        Invoke(vertices ? vertexAddButton.get() : indexAddButton.get());
        break;
    case VK_RETURN:
    case VK_F2:
        Invoke(vertices ? vertexModifyButton.get() : indexModifyButton.get());
        break;
    case VK_DELETE:
        Invoke(vertices ? vertexDeleteButton.get() : indexDeleteButton.get());
        break;
    default:
        break;
    }
}

// Enter takes the box's value at once, as the tick would, and the box keeps the focus,
// showing the value taken.
void FormMain::OnBoxKeyDown(GUIElement* box, int key) {
    if (key != VK_RETURN)
        return;
    SyncTick();
    if (SpinOf(box) != nullptr)
        ShowSpinValue(box);
}

void FormMain::PickBackground() {
    const COLORREF chosen = ChooseColor(this, document.ShownBackColor());
    if (chosen == document.ShownBackColor())
        return;
    document.BackColor = chosen;
    NoteChange(ChangeSource::SingleStep);
    viewport->SetBackColor(chosen);
    colorSwatch->SetBackColor(chosen);
    viewport->Redraw();
}

void FormMain::PickTexture() {
    const std::string path = OpenFileDialog(this, "Apri", "", kTextureFilter);
    if (path.empty())
        return;
    viewport->TrustedTexture = path;
    textureBox->SetText(path);
    textureBox->SetToolTip(path);
}

// The selected row, or -1 after telling the user that one is needed.
int FormMain::SelectedRow(OnDemandListBox& list) {
    const int row = list.GetSelectedIndex();
    if (row < 0)
        ShowWarning(this, kNoSelection, "Attenzione");
    return row;
}

// A vertex past the last one a 16-bit index reaches could never be part of a face: the
// add is refused before anything is typed, with the limit an import is held to.
void FormMain::OpenVertexDialog(EntryMode mode) {
    const bool modify = mode == EntryMode::Modify;
    if (!modify && document.Vertices.size() >= kMaxModelVertices) {
        const std::string limit = ReportedCount(kMaxModelVertices);
        ShowWarning(this,
                    "Il modello ha gi\xC3\xA0 " + limit +
                        " vertici: un altro andrebbe oltre il limite di " + limit + ".",
                    "Attenzione");
        return;
    }
    const int row = modify ? SelectedRow(*vertexList) : -1;
    if (modify && row < 0)
        return;
    vertexDialog.reset();
    vertexDialog =
        std::make_unique<FormVertici>(this, modify ? "Modifica Vertice" : "Aggiungi Vertice");
    if (modify)
        vertexDialog->LoadVertex(document.Vertices[static_cast<std::size_t>(row)], row);
    ShowDialog(*vertexDialog);
}

void FormMain::OpenIndexDialog(EntryMode mode) {
    const bool modify = mode == EntryMode::Modify;
    const int row = modify ? SelectedRow(*indexList) : -1;
    if (modify && row < 0)
        return;
    const char* title = modify                           ? "Modifica Indice"
                        : mode == EntryMode::AddTriangle ? "Aggiungi Triangolo"
                                                         : "Aggiungi Indice";
    indexDialog.reset();
    indexDialog =
        std::make_unique<FormIndici>(this, title, static_cast<int>(document.Vertices.size()),
                                     mode == EntryMode::AddTriangle ? FormIndici::kTriangle : 1);
    if (modify)
        indexDialog->LoadIndex(document.Indices[static_cast<std::size_t>(row)], row);
    ShowDialog(*indexDialog);
}

void FormMain::ShowDialog(Form& dialog) {
    dialog.OnDestroyed = FormMainEvents::DialogClosed;
    dialog.CenterOnScreen();
    dialog.Show();
}

void FormMain::DeleteSelected(OnDemandListBox& list) {
    const int row = SelectedRow(list);
    const bool vertex = &list == vertexList.get();
    const std::string question = vertex ? "Si desidera cancellare l'elemento selezionato?\n"
                                          "Anche i triangoli che lo usano saranno cancellati."
                                        : "Si desidera cancellare l'elemento selezionato?";
    if (row < 0 || !AskYesNo(this, question, "Conferma"))
        return;
    if (vertex) {
        // The tick takes the face count from its box, so the box follows the document.
        document.RemoveVertex(static_cast<std::size_t>(row));
        facesSpin->SetValue(document.FaceCount);
        FillVertexList(true);
        FillIndexList(true);
    } else {
        document.Indices.erase(document.Indices.begin() + row);
        FillIndexList(true);
    }
    TakeListChange();
}

// Only the dialog opened last is heard, and only its "OK" changes the document; the
// change is a step of the history at once, and marked at the next tick, when the preview
// sees it.
void FormMain::OnDialogDone(GUIElement* dialog) {
    if (vertexDialog && dialog == vertexDialog.get() &&
        vertexDialog->result == EntryDialog::kConfirmed) {
        TakeEntry(document.Vertices, *vertexDialog, vertexDialog->vertex);
        FillVertexList(vertexDialog->modify);
    } else if (indexDialog && dialog == indexDialog.get() &&
               indexDialog->result == EntryDialog::kConfirmed) {
        TakeIndices(*indexDialog);
    } else {
        TakeToolDialog(dialog);
        return;
    }
    TakeListChange();
}

// A list drawn three by three first gets the indices of the triangles it drew, and only
// those: an undrawn vertex triple never becomes a face. The new triangle is drawn when the
// face count counted every triangle before it. It goes after the last whole triangle, so
// that the indices of one still being entered one by one neither take its corners nor
// lose their own.
void FormMain::TakeIndices(const FormIndici& dialog) {
    if (dialog.indexValues.size() == 1) {
        TakeEntry(document.Indices, dialog, static_cast<std::uint16_t>(dialog.indexValues[0]));
        FillIndexList(dialog.modify);
        return;
    }
    if (document.Indices.empty()) {
        const std::size_t drawn = std::min<std::size_t>(
            document.Vertices.size() / 3, static_cast<std::size_t>(std::max(document.FaceCount, 0)));
        for (std::size_t vertex = 0; vertex < 3 * drawn; ++vertex)
            document.Indices.push_back(static_cast<std::uint16_t>(vertex));
    }
    const bool countedAll =
        static_cast<std::size_t>(std::max(document.FaceCount, 0)) >= document.Indices.size() / 3;
    const std::size_t wholeTriangles = document.Indices.size() - document.Indices.size() % 3;
    auto at = document.Indices.begin() + static_cast<std::ptrdiff_t>(wholeTriangles);
    for (int value : dialog.indexValues)
        at = document.Indices.insert(at, static_cast<std::uint16_t>(value)) + 1;
    if (countedAll) {
        document.FaceCount = static_cast<std::int32_t>(document.Indices.size() / 3);
        facesSpin->SetValue(document.FaceCount);
    }
    FillIndexList(false);
}

// Tab and Enter would only beep in a one-line box.
bool FormMain::FilterTextBoxChar(GUIElement*, int character) {
    return character != VK_TAB && character != VK_RETURN;
}

NumericBox* FormMain::SpinOf(GUIElement* box) {
    for (NumericBox* spin : {widthSpin.get(), heightSpin.get(), rotationXSpin.get(),
                             rotationYSpin.get(), rotationZSpin.get(), facesSpin.get()}) {
        if (spin != nullptr && spin->buddy == box)
            return spin;
    }
    return nullptr;
}

void FormMain::OnNumericGotFocus(GUIElement* box) {
    if (NumericBox* spin = SpinOf(box)) {
        box->SetText(std::to_string(spin->GetValue()));
        SendMessageW(box->window, EM_SETSEL, 0, -1);
    }
}

// The sizes are shown grouped the way the user writes numbers; the angles and the face
// count plainly.
void FormMain::OnNumericLostFocus(GUIElement* box) {
    NumericBox* spin = SpinOf(box);
    if (spin == nullptr)
        return;
    const int value = spin->GetValue();
    const bool size = spin == widthSpin.get() || spin == heightSpin.get();
    box->SetText(size ? UserNumberFormat().FormatInteger(value) : std::to_string(value));
}

void FormMain::ApplyMove(int direction) {
    switch (direction) {
    case 1:
        document.MoveX -= kMoveStep;
        break;
    case 2:
        document.MoveX += kMoveStep;
        break;
    case 3:
        document.MoveY += kMoveStep;
        break;
    case 4:
        document.MoveY -= kMoveStep;
        break;
    default:
        return;
    }
    NoteChange(ChangeSource::MovePad);
}

void FormMain::StartHistory() {
    history.Reset(document);
    SetModified(false);
    UpdateHistoryCommands();
}

// A new document's texture name comes from its file, and is opened on that file's word.
void FormMain::LoadControls() {
    viewport->TrustedTexture.clear();
    viewport->HighlightedVertex = viewport->HighlightedTriangle = -1;
    statusBar->SetPartText(1, "");
    ShowValues();
    FillIndexList(false);
    FillVertexList(false);
    viewport->UpdateMesh(document);
    viewport->RebuildScene();
}

void FormMain::ResetScroll() {
    viewportContainer->ScrollHomeH();
    viewportContainer->ScrollHomeV();
    LayoutPanels();
}

} // namespace MyApp
