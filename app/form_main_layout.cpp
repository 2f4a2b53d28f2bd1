#include "app/form_main.h"

#include "app/form_main_events.h"
#include "toolkit/button.h"
#include "toolkit/currency_box.h"
#include "toolkit/dpi.h"
#include "toolkit/gui_control.h"
#include "toolkit/label.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/menu.h"
#include "toolkit/menu_bar.h"
#include "toolkit/numeric_box.h"
#include "toolkit/panel_children.h"
#include "toolkit/status_bar.h"
#include "toolkit/sub_menu.h"
#include "toolkit/text_box.h"
#include "toolkit/timer.h"
#include "toolkit/tool_bar.h"
#include "toolkit/tool_bar_item.h"
#include "toolkit/user_number_format.h"
#include "viewport/d3d_panel.h"

#include <algorithm>

using namespace KelUtility;

namespace MyApp {
namespace {

constexpr int kMargin = 10;
constexpr int kContainerTop = 30;
constexpr int kBelowContainer = 240; // the controls panel and the status bar
constexpr int kControlsHeight = 200;
constexpr int kControlsScrollWidth = 1030;
constexpr COLORREF kContainerColor = 12632256;      // grey 192
constexpr COLORREF kContainerChildColor = 14474460; // grey 220
constexpr int kTickMilliseconds = 500;
constexpr int kLargeImagesDpi = 144;
constexpr int kListImages = 1008;
constexpr int kListImageCount = 10;
constexpr int kTrianglePicture = 3;
constexpr int kShadedPicture = 8;
constexpr int kEdgesPicture = 9;
// The status bar's part that names the vertex under the pointer.
constexpr int kVertexReadoutWidth = 280;
constexpr int kRowHeight = 22;
constexpr int kNumberBoxWidth = 60;
// Room for a grouped four-digit number beside the box's arrows, so that the box shows its
// whole number.
constexpr int kWideNumberBoxWidth = 80;
// And for a grouped seven-digit face count, up to the lists' column.
constexpr int kWidestNumberBoxWidth = 105;
// The eye boxes take the room their one-letter labels leave, up to the rotation group, so
// that a number in exponent form shows whole.
constexpr int kAxisLabelWidth = 10;
constexpr int kEyeBoxLeft = 326;
constexpr int kEyeBoxWidth = 103;
// The longest number an eye box shows, and the room its growth may take from the axis
// letters of the rotation beside it.
constexpr const wchar_t* kLongestEye = L"-8.88888e+888";
constexpr int kMostEyeGrowth = 18;
const char* const kBrowse = "[..]";

// Moves and sizes an element, live when its window exists.
void Place(GUIElement& element, int left, int top, int newWidth, int newHeight) {
    element.SetPosition(left, top);
    element.SetSize(newWidth, newHeight);
    if (element.created)
        SetWindowPos(element.window, nullptr, left, top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE ClientSizeOf(GUIElement& element) {
    RECT client = {};
    if (element.window == nullptr || !GetClientRect(element.window, &client))
        return SIZE{element.width, element.height};
    return SIZE{client.right, client.bottom};
}

template <class Element, class... Arguments>
std::unique_ptr<Element> Make(Font* font, Arguments&&... arguments) {
    auto element = std::make_unique<Element>(std::forward<Arguments>(arguments)...);
    element->font = font;
    return element;
}

std::unique_ptr<ToolBarItem> MakeToolItem(ToolBar& bar, const char* tip, int image) {
    auto item = std::make_unique<ToolBarItem>(&bar);
    item->tooltip = tip;
    item->imageIndex = image;
    item->OnClick = FormMainEvents::ControlClick;
    bar.AddItem(item.get());
    return item;
}

std::unique_ptr<ToolBarItem> MakeStripItem(ToolBar& bar, const char* tip, int offset) {
    std::unique_ptr<ToolBarItem> item = MakeToolItem(bar, tip, 0);
    item->bitmapResource = kListImages;
    item->imageCount = kListImageCount;
    item->imageOffset = offset;
    return item;
}

// The tool bars stay where they are put, at their own size.
void KeepInPlace(ToolBar& bar) {
    bar.autoResize = false;
    bar.alignTop = false;
    bar.flat = true;
}

} // namespace

void FormMain::BuildLayout() {
    document.ResetToSample();
    BuildMenuBar();
    BuildViewport();
    BuildControls();
    BuildMainToolBar();
    timer = std::make_unique<Timer>(this, kTickMilliseconds);
    timer->OnTick = FormMainEvents::Tick;
    statusBar = Make<StatusBar>(&m_font, this, ProjectPath);
    statusBar->Create();
    statusBar->SetRightPart(Px(kVertexReadoutWidth));
    FillIndexList(false);
    FillVertexList(false);
    RefreshScene();
    StartHistory();
    timer->Start();
}

// The controls panel at its widest, with the window's margins and frame.
constexpr int kLayoutWidth = kControlsScrollWidth + 2 * kMargin + 16;

int FormMain::LayoutDpi(int dpi, const RECT& area) const {
    return FittingDpi(dpi, WorkAreaWidth(area), kLayoutWidth);
}

int FormMain::LayoutWidth() const {
    return Px(kLayoutWidth);
}

RECT FormMain::WindowArea() const {
    RECT area = {};
    GetWindowRect(window, &area);
    return area;
}

int FormMain::Px(int length) const {
    return Scaled(length, m_dpi);
}

// The platform's standard images come at 16 and 24 pixels; the larger from 150 % up.
bool FormMain::LargeImages() const {
    return m_dpi >= kLargeImagesDpi;
}

void FormMain::BuildMenuBar() {
    menuBar = std::make_unique<MenuBar>(this);
    fileMenu = std::make_unique<Menu>(menuBar.get(), "&File");
    constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;
    constexpr BYTE kCtrlShift = FVIRTKEY | FCONTROL | FSHIFT;
    newItem = MenuItem(fileMenu.get(), "&Nuovo", "Ctrl+N", {{kCtrl, 'N'}});
    openItem = MenuItem(fileMenu.get(), "&Apri", "Ctrl+O", {{kCtrl, 'O'}});
    importItem = MenuItem(fileMenu.get(), "&Importa...", "Ctrl+I", {{kCtrl, 'I'}});
    saveItem = MenuItem(fileMenu.get(), "&Salva", "Ctrl+S", {{kCtrl, 'S'}});
    saveAsItem = MenuItem(fileMenu.get(), "Sa&lva come...", "Ctrl+Maiusc+S", {{kCtrlShift, 'S'}});
    exportItem = std::make_unique<SubMenu>(fileMenu.get(), "Esporta...");
    exportPictureItem = MenuItem(exportItem.get(), "Esporta come immagine...");
    exportMeshItem = MenuItem(exportItem.get(), "Esporta come File DIrectX (.X)...");
    exportObjItem = MenuItem(exportItem.get(), "Esporta come OBJ...");
    exportPlyItem = MenuItem(exportItem.get(), "Esporta come PLY...");
    exportStlItem = MenuItem(exportItem.get(), "Esporta come STL...");
    exportGltfItem = MenuItem(exportItem.get(), "Esporta come glTF (.glb)...");
    separatorItem = std::make_unique<SubMenu>(fileMenu.get(), "");
    for (std::size_t i = 0; i < RecentProjects::kLength; ++i)
        recentItems.push_back(MenuItem(fileMenu.get(), ""));
    recentSeparator = std::make_unique<SubMenu>(fileMenu.get(), "");
    exitItem = MenuItem(fileMenu.get(), "&Esci");
    editMenu = std::make_unique<Menu>(menuBar.get(), "&Modifica");
    undoItem = MenuItem(editMenu.get(), "&Annulla", "Ctrl+Z", {{kCtrl, 'Z'}});
    redoItem = MenuItem(editMenu.get(), "&Ripeti", "Ctrl+Y, Ctrl+Maiusc+Z",
                        {{kCtrl, 'Y'}, {kCtrlShift, 'Z'}});
    editSeparatorItem = std::make_unique<SubMenu>(editMenu.get(), "");
    resetViewItem = MenuItem(editMenu.get(), "Ripristina &vista");
    addTriangleItem = MenuItem(editMenu.get(), "Aggiungi &Triangolo...", "Ctrl+T", {{kCtrl, 'T'}});
    viewMenu = std::make_unique<Menu>(menuBar.get(), "&Visualizza");
    shadedItem = MenuItem(viewMenu.get(), "&Ombreggiato");
    edgesItem = MenuItem(viewMenu.get(), "&Spigoli");
    for (SubMenu* look : {shadedItem.get(), edgesItem.get()})
        look->checkable = true;
    viewSeparatorItem = std::make_unique<SubMenu>(viewMenu.get(), "");
    frameItem = MenuItem(viewMenu.get(), "&Inquadra");
    sidesSeparatorItem = std::make_unique<SubMenu>(viewMenu.get(), "");
    for (const char* side : {"Vista &frontale", "Vista &posteriore", "Vista da si&nistra",
                             "Vista da &destra", "Vista dall'&alto", "Vista dal &basso"})
        sideItems.push_back(MenuItem(viewMenu.get(), side));
    toolsMenu = std::make_unique<Menu>(menuBar.get(), "&Strumenti");
    cleanItem = MenuItem(toolsMenu.get(), "&Pulisci");
    flipItem = MenuItem(toolsMenu.get(), "&Inverti facce");
    transformItem = MenuItem(toolsMenu.get(), "&Trasforma...");
    gpuOrderItem = MenuItem(toolsMenu.get(), "&Ottimizza per la GPU");
    simplifyItem = MenuItem(toolsMenu.get(), "&Semplifica...");
    helpMenu = std::make_unique<Menu>(menuBar.get(), "&?");
    guideItem = MenuItem(helpMenu.get(), "&Guida", "F1", {{FVIRTKEY, VK_F1}});
    homeItem = MenuItem(helpMenu.get(), "&Home");
    infoItem = MenuItem(helpMenu.get(), "&Info...");
    for (SubMenu* disabled : {saveItem.get(), saveAsItem.get(), undoItem.get(), redoItem.get()})
        disabled->enabled = false;
    menuBar->Create();
    ShowRecentProjects();
    BuildAccelerators();
}

std::unique_ptr<SubMenu> FormMain::MenuItem(GUIElement* holder, const std::string& caption,
                                            const char* keyText,
                                            std::initializer_list<Shortcut> keys) {
    auto entry =
        std::make_unique<SubMenu>(holder, keyText == nullptr ? caption : caption + "\t" + keyText);
    entry->OnClick = FormMainEvents::MenuClick;
    for (const Shortcut& key : keys)
        m_shortcuts.push_back(ACCEL{key.modifiers, key.key, static_cast<WORD>(entry->id)});
    return entry;
}

// The keys go through the menu entries' own commands, so that a key does what its entry
// does, and nothing while the entry is disabled.
void FormMain::BuildAccelerators() {
    if (accelerators != nullptr)
        DestroyAcceleratorTable(accelerators);
    accelerators =
        CreateAcceleratorTableW(m_shortcuts.data(), static_cast<int>(m_shortcuts.size()));
}

void FormMain::BuildViewport() {
    const SIZE client = ClientSizeOf(*this);
    viewportContainer = std::make_unique<PanelChildren>(this);
    viewportContainer->SetPosition(Px(kMargin), Px(kContainerTop));
    viewportContainer->SetSize(std::max<int>(client.cx - 2 * Px(kMargin), 0),
                               std::max<int>(client.cy - Px(kBelowContainer), 0));
    viewportContainer->border = true;
    viewportContainer->backColor = kContainerColor;
    viewportContainer->childBackColor = kContainerChildColor;
    viewportContainer->childTextColor = 0;
    viewportContainer->OnKeyDown = FormMainEvents::FormKeyDown;
    viewportContainer->OnKeyPress = FormMainEvents::FormKeyPress;
    viewportContainer->Create();

    viewport = std::make_unique<D3DPanel>(viewportContainer.get());
    viewport->SetPosition(0, 0);
    viewport->SetSize(document.ViewWidth, document.ViewHeight);
    viewport->backColor = document.ShownBackColor();
    ShowView();
    viewport->UseCamera = false;
    viewport->OnMouseDown = FormMainEvents::PreviewMouseDown;
    viewport->OnMouseUp = FormMainEvents::PreviewMouseUp;
    viewport->OnRightMouseDown = FormMainEvents::PreviewRightMouseDown;
    viewport->OnRightMouseUp = FormMainEvents::PreviewMouseUp;
    viewport->OnMiddleMouseDown = FormMainEvents::PreviewMiddleMouseDown;
    viewport->OnMiddleMouseUp = FormMainEvents::PreviewMouseUp;
    viewport->OnMouseMove = FormMainEvents::PreviewMouseMove;
    viewport->OnMouseWheel = FormMainEvents::PreviewWheel;
    viewport->OnDoubleClick = FormMainEvents::PreviewDoubleClick;
    viewport->OnMouseLeave = FormMainEvents::PreviewMouseLeave;
    viewport->Create();
    viewportWidth = document.ViewWidth;
    viewportHeight = document.ViewHeight;
}

// The controls, one line each, in the order they are made and shown.
void FormMain::BuildControls() {
    const SIZE client = ClientSizeOf(*this);
    const int below = viewportContainer->GetPosition().y + viewportContainer->GetSize().cy;
    controlsPanel = std::make_unique<PanelChildren>(this);
    controlsPanel->SetPosition(Px(kMargin), below);
    controlsPanel->SetSize(std::max<int>(client.cx - 2 * Px(kMargin), 0), Px(kControlsHeight));
    controlsPanel->border = true;
    controlsPanel->colorChildren = false;
    controlsPanel->controlParent = true;
    controlsPanel->childTextColor = 0;
    controlsPanel->Create();

    AddLabel("Colore Sfondo:", 10, 38, 100);
    colorSwatch = MakeSwatch(115, 37);
    colorButton = MakeButton(140, 35);
    AddLabel("Larghezza:", 10, 73, 100);
    widthBox = MakeNumberBox(115, 70, document.ViewWidth, 4);
    widthSpin = MakeSpin(*widthBox, 50, 1300, document.ViewWidth);
    AddLabel("Altezza:", 10, 98, 100);
    heightBox = MakeNumberBox(115, 95, document.ViewHeight, 4);
    heightSpin = MakeSpin(*heightBox, 50, 1300, document.ViewHeight);
    AddLabel("Sposta:", 200, 12, 50);
    movePad = MakeMovePad(200, 35);
    AddLabel("Punto di Vista:", 315, 12, 110);
    AddLabel("X", 315, 37, kAxisLabelWidth);
    eyeXBox = MakeEyeBox(kEyeBoxLeft, 35, document.EyeX);
    AddLabel("Y", 315, 62, kAxisLabelWidth);
    eyeYBox = MakeEyeBox(kEyeBoxLeft, 60, document.EyeY);
    AddLabel("Z", 315, 87, kAxisLabelWidth);
    eyeZBox = MakeEyeBox(kEyeBoxLeft, 85, document.EyeZ);
    const int eyeGrowth = WidenEyeBoxes();
    AddLabel("Rotazione:", 430, 12, 130);
    AddLabel("X", 430 + eyeGrowth, 37, 30 - eyeGrowth);
    rotationXBox = MakeNumberBox(465, 35, document.RotX, 3);
    rotationXSpin = MakeSpin(*rotationXBox, 0, 360, document.RotX);
    AddLabel("Y", 430 + eyeGrowth, 62, 30 - eyeGrowth);
    rotationYBox = MakeNumberBox(465, 60, document.RotY, 3);
    rotationYSpin = MakeSpin(*rotationYBox, 0, 360, document.RotY);
    AddLabel("Z", 430 + eyeGrowth, 87, 30 - eyeGrowth);
    rotationZBox = MakeNumberBox(465, 85, document.RotZ, 3);
    rotationZSpin = MakeSpin(*rotationZBox, 0, 360, document.RotZ);
    AddLabel("Texture:", 545, 12, 130);
    textureBox = MakeTextureBox(545, 37);
    textureButton = MakeButton(675, 35);
    AddLabel("Poligoni:", 545, 67, 60);
    // As many faces as the device draws: an imported model may have far more than 1000.
    const int maxFaces = viewport->MaxDrawnFaces();
    facesBox = MakeNumberBox(610, 65, document.FaceCount,
                             static_cast<int>(std::to_string(maxFaces).size()));
    facesSpin = MakeSpin(*facesBox, 0, maxFaces, document.FaceCount);
    AddLabel("Vertici:", 720, 12, 60);
    vertexToolBar =
        MakeListToolBar(780, 10, vertexModifyButton, vertexAddButton, nullptr, vertexDeleteButton);
    vertexList = MakeList(720, 35, [this](std::size_t row) { return VertexRowText(row); });
    AddLabel("Indici:", 865, 12, 60);
    indexToolBar = MakeListToolBar(925, 10, indexModifyButton, indexAddButton, &indexTriangleButton,
                                   indexDeleteButton);
    indexList = MakeList(865, 35, [this](std::size_t row) { return IndexRowText(row); });
}

void FormMain::AddLabel(const std::string& caption, int left, int top, int labelWidth) {
    auto label = Make<Label>(&m_font, controlsPanel.get(), caption);
    label->SetPosition(Px(left), Px(top));
    label->SetSize(Px(labelWidth), Px(kRowHeight));
    label->Create();
    labels.push_back(std::move(label));
}

std::unique_ptr<PanelChildren> FormMain::MakeSwatch(int left, int top) {
    auto swatch = std::make_unique<PanelChildren>(controlsPanel.get());
    swatch->SetPosition(Px(left), Px(top));
    swatch->SetSize(Px(24), Px(24));
    swatch->border = true;
    swatch->tabStop = false;
    swatch->backColor = document.ShownBackColor();
    swatch->Create();
    return swatch;
}

std::unique_ptr<Button> FormMain::MakeButton(int left, int top) {
    auto button = Make<Button>(&m_font, controlsPanel.get(), kBrowse);
    button->SetPosition(Px(left), Px(top));
    button->SetSize(Px(30), Px(25));
    button->OnClick = FormMainEvents::ControlClick;
    button->Create();
    return button;
}

std::unique_ptr<TextBox> FormMain::MakeNumberBox(int left, int top, int value, int maxLength) {
    auto box = Make<TextBox>(&m_font, controlsPanel.get(), std::to_string(value));
    box->SetPosition(Px(left), Px(top));
    box->SetSize(Px(maxLength > 4   ? kWidestNumberBoxWidth
                    : maxLength > 3 ? kWideNumberBoxWidth
                                    : kNumberBoxWidth),
                 Px(kRowHeight));
    box->numbersOnly = true;
    box->maxLength = maxLength;
    box->OnKeyPress = FormMainEvents::NumericKeyPress;
    box->OnGotFocus = FormMainEvents::NumericGotFocus;
    box->OnLostFocus = FormMainEvents::NumericLostFocus;
    box->OnKeyDown = FormMainEvents::BoxKeyDown;
    box->Create();
    return box;
}

std::unique_ptr<NumericBox> FormMain::MakeSpin(TextBox& buddy, int minimum, int maximum,
                                               int value) {
    auto spin = std::make_unique<NumericBox>(controlsPanel.get(), &buddy, minimum, maximum);
    spin->value = value;
    spin->Create();
    return spin;
}

std::unique_ptr<GUIControl> FormMain::MakeMovePad(int left, int top) {
    auto pad = std::make_unique<GUIControl>(controlsPanel.get());
    pad->SetPosition(Px(left), Px(top));
    pad->dpi = m_dpi;
    pad->border = true;
    pad->OnDirection = FormMainEvents::Direction;
    pad->Create();
    return pad;
}

// The eye boxes grow, in the font of this DPI, until the longest number they show fits; the
// growth comes back in designed pixels for the labels that move aside.
int FormMain::WidenEyeBoxes() {
    int grown = 0;
    for (CurrencyBox* box : {eyeXBox.get(), eyeYBox.get(), eyeZBox.get()})
        grown = std::max(grown, box->WidenFor(kLongestEye));
    return std::min((grown * kDesignDpi + m_dpi - 1) / m_dpi, kMostEyeGrowth);
}

std::unique_ptr<CurrencyBox> FormMain::MakeEyeBox(int left, int top, double value) {
    auto box = Make<CurrencyBox>(&m_font, controlsPanel.get(), value);
    box->SetPosition(Px(left), Px(top));
    box->SetSize(Px(kEyeBoxWidth), Px(kRowHeight));
    box->allowNegative = true;
    box->OnKeyDown = FormMainEvents::BoxKeyDown;
    box->Create();
    return box;
}

std::unique_ptr<TextBox> FormMain::MakeTextureBox(int left, int top) {
    auto box = Make<TextBox>(&m_font, controlsPanel.get(), "");
    box->SetPosition(Px(left), Px(top));
    box->SetSize(Px(130), Px(kRowHeight));
    box->OnKeyDown = FormMainEvents::BoxKeyDown;
    box->Create();
    return box;
}

std::unique_ptr<ToolBar> FormMain::MakeListToolBar(int left, int top,
                                                   std::unique_ptr<ToolBarItem>& modify,
                                                   std::unique_ptr<ToolBarItem>& add,
                                                   std::unique_ptr<ToolBarItem>* addTriangle,
                                                   std::unique_ptr<ToolBarItem>& remove) {
    auto bar = std::make_unique<ToolBar>(controlsPanel.get());
    bar->SetPosition(Px(left), Px(top));
    bar->SetSize(Px(addTriangle != nullptr ? 94 : 70), Px(25));
    KeepInPlace(*bar);
    bar->largeImages = LargeImages();
    modify = MakeStripItem(*bar, "Modifica", 0);
    add = MakeStripItem(*bar, "Aggiungi", 1);
    if (addTriangle != nullptr)
        *addTriangle = MakeStripItem(*bar, "Aggiungi Triangolo", kTrianglePicture);
    remove = MakeStripItem(*bar, "Cancella", 2);
    bar->Create();
    return bar;
}

std::unique_ptr<OnDemandListBox> FormMain::MakeList(int left, int top,
                                                   std::function<std::string(std::size_t)> rowText) {
    auto list = Make<OnDemandListBox>(&m_font, controlsPanel.get());
    list->RowText = std::move(rowText);
    list->SetPosition(Px(left), Px(top));
    list->SetSize(Px(130), Px(120));
    list->OnDoubleClick = FormMainEvents::ListDoubleClick;
    list->OnKeyDown = FormMainEvents::ListKeyDown;
    list->OnClick = FormMainEvents::ControlClick;
    list->Create();
    return list;
}

void FormMain::BuildMainToolBar() {
    mainToolBar = std::make_unique<ToolBar>(this);
    mainToolBar->SetPosition(Px(kMargin), Px(3));
    mainToolBar->SetSize(Px(220), Px(25));
    KeepInPlace(*mainToolBar);
    mainToolBar->largeImages = LargeImages();
    newButton = MakeToolItem(*mainToolBar, "Nuovo", STD_FILENEW);
    openButton = MakeToolItem(*mainToolBar, "Apri", STD_FILEOPEN);
    toolSeparator = MakeToolItem(*mainToolBar, "", 0);
    toolSeparator->buttonStyle = TBSTYLE_SEP;
    toolSeparator->OnClick = nullptr;
    saveButton = MakeToolItem(*mainToolBar, "Salva", STD_FILESAVE);
    historySeparator = MakeToolItem(*mainToolBar, "", 0);
    historySeparator->buttonStyle = TBSTYLE_SEP;
    historySeparator->OnClick = nullptr;
    undoButton = MakeToolItem(*mainToolBar, "Annulla", STD_UNDO);
    redoButton = MakeToolItem(*mainToolBar, "Ripeti", STD_REDOW);
    looksSeparator = MakeToolItem(*mainToolBar, "", 0);
    looksSeparator->buttonStyle = TBSTYLE_SEP;
    looksSeparator->OnClick = nullptr;
    shadedButton = MakeStripItem(*mainToolBar, "Ombreggiato", kShadedPicture);
    edgesButton = MakeStripItem(*mainToolBar, "Spigoli", kEdgesPicture);
    for (ToolBarItem* look : {shadedButton.get(), edgesButton.get()})
        look->buttonStyle = BTNS_CHECK;
    // Made again at a new DPI, the buttons show the looks in force.
    shadedButton->checked = viewport != nullptr && viewport->Shaded;
    edgesButton->checked = viewport != nullptr && viewport->ShowEdges;
    for (ToolBarItem* disabled : {saveButton.get(), undoButton.get(), redoButton.get()})
        disabled->enabled = false;
    mainToolBar->Create();
}

// The values typed and not yet taken go into the document first; the lists keep their
// selected rows, and the control that had the focus passes it to the one made in its place.
// The old font goes once nothing uses it.
void FormMain::RebuildControls() {
    SyncTick();
    const int vertexRow = vertexList->GetSelectedIndex();
    const int indexRow = indexList->GetSelectedIndex();
    const bool modified = Modified;
    const int focused = FocusedControl();
    DestroyWindow(mainToolBar->window);
    DestroyWindow(controlsPanel->window);
    ResetControls();
    controlsPanel.reset();
    const HFONT previousFont = m_font.handle;
    m_font.handle = nullptr;
    m_font.height = FittedFontHeight();
    Place(*viewportContainer, Px(kMargin), Px(kContainerTop), viewportContainer->GetSize().cx,
          viewportContainer->GetSize().cy);
    BuildControls();
    BuildMainToolBar();
    SendMessageW(statusBar->window, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Handle()), TRUE);
    statusBar->SetRightPart(Px(kVertexReadoutWidth));
    LoadControls();
    vertexList->SetSelectedIndex(vertexRow);
    indexList->SetSelectedIndex(indexRow);
    Modified = false;
    SetModified(modified);
    UpdateHistoryCommands();
    FollowSelection();
    LayoutPanels();
    RestoreFocus(focused);
    if (previousFont != nullptr)
        DeleteObject(previousFont);
}

// The position of the focused control among the controls panel's windows, in the order
// they are made; -1 when the focus is elsewhere.
int FormMain::FocusedControl() const {
    const HWND focus = GetFocus();
    int position = 0;
    for (HWND child = GetWindow(controlsPanel->window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT), ++position) {
        if (child == focus || IsChild(child, focus))
            return position;
    }
    return -1;
}

void FormMain::RestoreFocus(int position) {
    if (position < 0)
        return;
    HWND child = GetWindow(controlsPanel->window, GW_CHILD);
    for (int i = 0; i < position && child != nullptr; ++i)
        child = GetWindow(child, GW_HWNDNEXT);
    if (child != nullptr)
        SetFocus(child);
}

void FormMain::ShowView() {
    viewport->EyeX = document.EyeX;
    viewport->EyeY = document.EyeY;
    viewport->EyeZ = document.EyeZ;
    viewport->Pitch = document.RotX * kRadiansPerDegree;
    viewport->Yaw = document.RotY * kRadiansPerDegree;
    viewport->Roll = document.RotZ * kRadiansPerDegree;
    viewport->MoveX = document.MoveX;
    viewport->MoveY = document.MoveY;
    viewport->MoveZ = document.MoveZ;
}

void FormMain::LayoutPanels() {
    if (!viewportContainer || !controlsPanel || !statusBar)
        return;
    const SIZE client = ClientSizeOf(*this);
    const int top = viewportContainer->GetPosition().y;
    viewportContainer->SetSize(std::max<int>(client.cx - 2 * Px(kMargin), 0),
                               std::max<int>(client.cy - Px(kBelowContainer), 0));
    SIZE bar = statusBar->GetSize();
    if (bar.cx != client.cx)
        statusBar->SetSize(client.cx, bar.cy);
    bar = statusBar->GetSize();
    Place(*statusBar, 0, client.cy - bar.cy, bar.cx, bar.cy);
    Place(*controlsPanel, Px(kMargin), top + client.cy - Px(kBelowContainer),
          std::max<int>(client.cx - 2 * Px(kMargin), 0),
          std::max<int>(Px(kBelowContainer) - top - bar.cy, 0));
    layoutPending = true;
}

// A panel narrower or lower than what it holds gets the bar that reaches the rest. Each
// bar takes room from the other direction, so the height is read after the horizontal bar
// is settled, and the width again once the vertical one is.
void FormMain::UpdateScrollBars() {
    for (int pass = 0; pass < 2; ++pass) {
        if (ClientSizeOf(*viewportContainer).cx < viewportWidth) {
            viewportContainer->SetHScroll(true);
            viewportContainer->SetHScrollMax(viewportWidth);
        } else {
            viewportContainer->ScrollHomeH();
            viewportContainer->SetHScroll(false);
        }
        if (ClientSizeOf(*viewportContainer).cy < viewportHeight) {
            viewportContainer->SetVScroll(true);
            viewportContainer->SetVScrollMax(viewportHeight);
        } else {
            viewportContainer->ScrollHomeV();
            viewportContainer->SetVScroll(false);
        }
    }
    if (ClientSizeOf(*controlsPanel).cx >= Px(kControlsScrollWidth)) {
        controlsPanel->ScrollHomeH();
        controlsPanel->SetHScroll(false);
    } else {
        controlsPanel->SetHScroll(true);
        controlsPanel->SetHScrollMax(Px(kControlsScrollWidth));
    }
}

void FormMain::FillVertexList(bool keepSelection) {
    FillList(*vertexList, document.Vertices.size(), keepSelection);
}

void FormMain::FillIndexList(bool keepSelection) {
    FillList(*indexList, document.Indices.size(), keepSelection);
}

std::size_t FormMain::DocumentRows(const OnDemandListBox& list) const {
    return &list == vertexList.get() ? document.Vertices.size() : document.Indices.size();
}

std::string FormMain::VertexRowText(std::size_t row) const {
    const MeshVertex& vertex = document.Vertices[row];
    const NumberFormat format = UserNumberFormat();
    return std::to_string(row + 1) + ") " + format.FormatDouble(vertex.X) + " " + format.FormatDouble(vertex.Y) +
           " " + format.FormatDouble(vertex.Z);
}

std::string FormMain::IndexRowText(std::size_t row) const {
    return std::to_string(row + 1) + ") " + std::to_string(document.Indices[row]);
}

// The remembered row, or the last one when none was remembered or it is gone.
void FormMain::FillList(OnDemandListBox& list, std::size_t count, bool keepSelection) {
    const int kept = keepSelection ? list.GetSelectedIndex() : -1;
    const int rows = static_cast<int>(count);
    list.ShowRows(count, kept >= 0 && kept < rows ? kept : rows - 1);
    UpdateListCommands();
}

void FormMain::RefreshScene() {
    viewport->SetBackColor(document.ShownBackColor());
    viewport->SetScene({}, {}, {}, {}, {}, {}, {ToSceneMesh(document)});
    viewport->Redraw();
}

} // namespace MyApp
