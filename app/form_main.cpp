#include "app/form_main.h"

#include "app/form_indici.h"
#include "app/recovery_folder.h"
#include "app/form_semplifica.h"
#include "app/form_trasforma.h"
#include "app/form_main_events.h"
#include "app/form_vertici.h"
#include "app/settings_store.h"
#include "document/model_import.h"
#include "document/model_pictures.h"
#include "document/reported_number.h"
#include "toolkit/button.h"
#include "toolkit/currency_box.h"
#include "toolkit/dpi.h"
#include "toolkit/form_about.h"
#include "toolkit/gui_control.h"
#include "toolkit/label.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/menu.h"
#include "toolkit/menu_bar.h"
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

using namespace KelUtility;

namespace MyApp {
namespace {

// Pictures found inside models are kept under the user's local application data, where
// they survive the session without cluttering the user's own folders.
std::string UserPictureFolder() {
    return LocalDataFolder("Kel Morvane\\Texture");
}

constexpr double kScreenShare = 0.9;
constexpr int kProgramIcon = 1005;
// Below this the tool bar, a strip of the preview, the controls panel with its scroll bar
// and the status bar would no longer all fit.
constexpr int kMinimumWidth = 480;
constexpr int kMinimumHeight = 420;

FormMain* g_mainForm = nullptr;

// The longest label, for measuring the font against the room the layout gives it.
const wchar_t* const kLongestLabel = L"Colore Sfondo:";

// D3DX reads a .x model only with a device: the main window's preview lends its own.
bool ReadXWithPreview(const std::string& path, ModelTriangles& model, std::string& message,
                      std::size_t maxTriangles) {
    FormMain* main = FormMain::MainForm();
    if (main == nullptr || !main->viewport) {
        message = "Anteprima non disponibile: impossibile leggere un file .x.";
        return false;
    }
    return main->viewport->ReadXModel(path, model, message, maxTriangles);
}

bool EndsWithProjectExtension(const std::string& path) {
    const std::string extension = FormMain::kProjectExtension;
    if (path.size() <= extension.size())
        return false;
    std::string ending = path.substr(path.size() - extension.size());
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending == extension;
}

} // namespace

// The window is laid out for the screen's DPI, which the font must know before it is made;
// it is wide enough for the whole layout where the screen is.
FormMain::FormMain(HINSTANCE instance, const std::string& title) : Form(instance) {
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    m_dpi = LayoutDpi(ScreenDpi(), screen);
    m_font.height = FittedFontHeight();
    font = &m_font;
    SetPosition(0, 0);
    const int shareWidth = static_cast<int>(screen.right * kScreenShare);
    SetSize(std::min(std::max(shareWidth, LayoutWidth()), WorkAreaWidth(screen)),
            static_cast<int>(screen.bottom * kScreenShare));
    SetText(title);
    minimizeBox = true;
    resizable = true;
    minimumTrackWidth = Px(kMinimumWidth);
    minimumTrackHeight = Px(kMinimumHeight);
    WireFormHandlers();
    Create(); // builds the layout from the created event
    // The screen's DPI is the one the user signed in with; the window's may differ since.
    FollowDpi(LayoutDpi(WindowDpi(window), WindowArea()));
    SetIcon(kProgramIcon);
    LayoutPanels();
    if (g_mainForm == nullptr) {
        g_mainForm = this;
        SetXModelReader(ReadXWithPreview);
        SetPictureFolder(UserPictureFolder());
        // The numbers of every message and report are written as the boxes write theirs.
        SetReportedNumberFormat(UserNumberFormat);
    }
}

// The font's height scaled with the DPI, less where the scaled font would write wider than
// the scaled room: fonts do not grow evenly from one size to another.
int FormMain::FittedFontHeight() {
    Font designed(ToNarrow(m_font.faceName), kFontHeight);
    const int room = Px(designed.TextWidth(kLongestLabel));
    int height = Px(kFontHeight);
    for (; height > kFontHeight; --height) {
        Font scaled(ToNarrow(m_font.faceName), height);
        if (scaled.TextWidth(kLongestLabel) <= room)
            break;
    }
    return height;
}

// The controls are made anew for the new DPI, with a font made for it, and the window
// goes where the system proposes.
void FormMain::ShowAtDpi(int dpi, const RECT& suggested) {
    FollowDpi(LayoutDpi(dpi, suggested));
    if (m_placing)
        return;
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormMain::FollowDpi(int dpi) {
    if (dpi == m_dpi || dpi <= 0)
        return;
    m_dpi = dpi;
    minimumTrackWidth = Px(kMinimumWidth);
    minimumTrackHeight = Px(kMinimumHeight);
    RebuildControls();
}

// From here on nothing reaches this window's operations: the close request asks nothing,
// and the window and the timer go while every element behind them still exists.
FormMain::~FormMain() {
    OnCreated = nullptr;
    OnClosing = nullptr;
    OnResize = nullptr;
    OnKeyPress = nullptr;
    if (timer)
        timer->Stop();
    if (created && !destroyed)
        SendMessageW(window, WM_CLOSE, 0, 0);
    created = false;
    TearDown();
    if (g_mainForm == this)
        g_mainForm = nullptr;
}

void FormMain::WireFormHandlers() {
    OnCreated = FormMainEvents::Created;
    OnClosing = FormMainEvents::Closing;
    OnResize = FormMainEvents::Resized;
    OnKeyPress = FormMainEvents::FormKeyPress;
    OnKeyDown = FormMainEvents::FormKeyDown;
    OnKeyUp = FormMainEvents::FormKeyUp;
    OnMouseDown = FormMainEvents::FormMouseDown;
    OnMouseUp = FormMainEvents::FormMouseUp;
    OnActivate = FormMainEvents::FormActivated;
    OnDeactivate = FormMainEvents::FormDeactivated;
    OnDropFiles = FormMainEvents::FilesDropped;
    OnDpiChanged = FormMainEvents::DpiChanged;
}

// The elements go in this order; each child's window is already gone with the form's.
void FormMain::TearDown() {
    aboutForm.reset();
    menuBar.reset();
    fileMenu.reset();
    editMenu.reset();
    viewMenu.reset();
    helpMenu.reset();
    for (auto* item :
         {&newItem,       &openItem,          &importItem,      &saveItem,      &saveAsItem,
          &exportItem,    &exportPictureItem, &exportMeshItem,  &exportObjItem, &exportPlyItem,
          &exportStlItem, &exportGltfItem,    &separatorItem,   &exitItem,      &undoItem,
          &redoItem,      &editSeparatorItem, &addTriangleItem, &resetViewItem, &guideItem,
          &homeItem,      &infoItem,          &recentSeparator, &shadedItem,  &edgesItem,
          &viewSeparatorItem, &frameItem, &sidesSeparatorItem})
        item->reset();
    recentItems.clear();
    sideItems.clear();
    viewportContainer.reset();
    timer.reset();
    ResetControls();
    vertexDialog.reset();
    indexDialog.reset();
    statusBar.reset();
    viewport.reset();
    controlsPanel.reset();
}

// The elements of the tool bar and the controls panel, whose windows are gone.
void FormMain::ResetControls() {
    mainToolBar.reset();
    vertexToolBar.reset();
    indexToolBar.reset();
    for (auto* item :
         {&newButton, &openButton, &toolSeparator, &saveButton, &historySeparator, &undoButton,
          &redoButton, &looksSeparator, &shadedButton, &edgesButton, &vertexModifyButton,
          &vertexAddButton, &vertexDeleteButton, &indexModifyButton, &indexAddButton, &indexTriangleButton, &indexDeleteButton})
        item->reset();
    labels.clear();
    colorSwatch.reset();
    colorButton.reset();
    widthBox.reset();
    widthSpin.reset();
    heightBox.reset();
    heightSpin.reset();
    movePad.reset();
    eyeXBox.reset();
    eyeYBox.reset();
    eyeZBox.reset();
    rotationXBox.reset();
    rotationXSpin.reset();
    rotationYBox.reset();
    rotationYSpin.reset();
    rotationZBox.reset();
    rotationZSpin.reset();
    textureBox.reset();
    textureButton.reset();
    facesBox.reset();
    facesSpin.reset();
    vertexList.reset();
    indexList.reset();
}

// The windows that point at this one close first, with their result unchanged, and the
// timer, which belongs to the window, is killed while the window still exists.
// A normal exit leaves no recovery copy: the user saved the work or gave it up.
void FormMain::Destroyed() {
    if (m_recovery)
        m_recovery->Discard();
    CloseOwnedWindows();
    if (timer)
        timer->Stop();
    Form::Destroyed();
}

void FormMain::CloseOwnedWindows() {
    const KelUtility::Form* owned[] = {aboutForm.get(), vertexDialog.get(), indexDialog.get(),
                                       transformDialog.get(), simplifyDialog.get()};
    for (const KelUtility::Form* form : owned) {
        if (form != nullptr && form->created && !form->destroyed)
            SendMessageW(form->window, WM_CLOSE, 0, 0);
    }
}

FormMain* FormMain::Owning(GUIElement* element) {
    for (GUIElement* e = element; e != nullptr; e = e->parent) {
        if (auto* main = dynamic_cast<FormMain*>(e))
            return main;
    }
    return nullptr;
}

FormMain* FormMain::MainForm() {
    return g_mainForm;
}

void FormMain::SetModified(bool value) {
    Modified = value;
    if (!value)
        DiscardRecoveryCopy();
    if (!saveButton || saveButton->enabled == value)
        return;
    saveItem->SetEnabled(value);
    saveButton->SetEnabled(value);
    mainToolBar->RefreshButtons();
}

std::string FormMain::WithProjectExtension(const std::string& path) {
    return path.empty() || EndsWithProjectExtension(path) ? path : path + kProjectExtension;
}

void FormMain::SetFileName(const std::string& path) {
    ProjectPath = WithProjectExtension(path);
    viewport->TextureFolder = FolderOf(ProjectPath);
    saveAsItem->SetEnabled(!ProjectPath.empty());
    statusBar->SetText(ProjectPath);
}

bool FormMain::FilterFormChar(int) {
    return true;
}

void FormMain::FormKeyDown(int) {}

void FormMain::FormKeyUp(int) {}

void FormMain::CloseOnEscape(int key) {
    if (key == VK_ESCAPE)
        SendMessageW(window, WM_CLOSE, 0, 0);
}

void FormMain::FormMouseUp(int, int) {}

void FormMain::FormMouseDown(int, int) {}

void FormMain::FormActivated() {}

void FormMain::FormDeactivated() {}

} // namespace MyApp
