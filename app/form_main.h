#pragma once

// The editor's main window: it owns the document, the preview and every control around it,
// and keeps them in step. Its lifecycle lives in form_main.cpp, its layout in
// form_main_layout.cpp, and what the controls do in form_main_commands.cpp.

#include "app/recent_projects.h"
#include "app/recovery_record.h"
#include "app/recovery_schedule.h"
#include "document/document_history.h"
#include "document/file_replace.h"
#include "document/mesh_document.h"
#include "toolkit/font.h"
#include "toolkit/form.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace KelUtility {
class Button;
class FormAbout;
class CurrencyBox;
class D3DPanel;
class GUIControl;
class Label;
class OnDemandListBox;
class Menu;
class MenuBar;
class NumericBox;
class PanelChildren;
class StatusBar;
class SubMenu;
class TextBox;
class Timer;
class ToolBar;
class ToolBarItem;
} // namespace KelUtility

namespace MyApp {

class FormIndici;
class RecoveryFolder;
class FormSemplifica;
class FormTrasforma;
class FormVertici;
class SettingsStore;

// What made a change of the document: the changes of one control in a row make one step of
// the history; a single step is one on its own.
enum class ChangeSource {
    SingleStep = DocumentHistory::kSingleStep,
    Width,
    Height,
    EyeX,
    EyeY,
    EyeZ,
    RotationX,
    RotationY,
    RotationZ,
    Faces,
    Texture,
    MovePad,
    Mouse,
};

// Which button holds a drag on the preview: the left turns, the right or the middle moves.
enum class PreviewButton { None, Left, Right, Middle };

class FormMain : public KelUtility::Form {
public:
    // The document keeps whole degrees; the preview turns by the single-precision factor
    // the documents were made with, in double arithmetic.
    static constexpr double kRadiansPerDegree = static_cast<double>(0.017453292f);
    // Every project file name ends so.
    static constexpr const char* kProjectExtension = ".kv3";
    // What the save dialog offers for a document that has no file name and no other name.
    static constexpr const char* kUntitledName = "progetto";

    FormMain(HINSTANCE instance, const std::string& title);
    ~FormMain() override;

    // Operations the main window adds, in this order.
    virtual void BuildLayout();
    virtual bool ConfirmClose();
    virtual void OnDialogDone(KelUtility::GUIElement* dialog);
    virtual void LayoutPanels();
    virtual void SyncTick();
    virtual bool FilterFormChar(int character);
    virtual bool FilterTextBoxChar(KelUtility::GUIElement* box, int character);
    virtual void FormKeyDown(int key);
    virtual void FormKeyUp(int key);
    virtual void OnCommand(KelUtility::GUIElement* menuItem);
    virtual void CloseOnEscape(int key);
    virtual void FormMouseUp(int mouseX, int mouseY);
    virtual void FormMouseDown(int mouseX, int mouseY);
    virtual void OnListDoubleClick(KelUtility::GUIElement* list);
    virtual void OnListKeyDown(KelUtility::GUIElement* list, int key);
    virtual void OnBoxKeyDown(KelUtility::GUIElement* box, int key);
    virtual void OnNumericLostFocus(KelUtility::GUIElement* box);
    virtual void OnNumericGotFocus(KelUtility::GUIElement* box);
    virtual void OnControlClick(KelUtility::GUIElement* element);
    virtual void FormActivated();
    virtual void FormDeactivated();

    void Destroyed() override;
    // The window now shows at `dpi`: everything is laid out anew for it.
    void ShowAtDpi(int dpi, const RECT& suggested);

    void SetModified(bool value);
    // Stores the path, with ".kv3" appended unless it already ends so (in any case).
    void SetFileName(const std::string& path);
    // The path with ".kv3" appended unless it already ends so; "" stays "".
    static std::string WithProjectExtension(const std::string& path);
    void BuildMenuBar();
    void FillVertexList(bool keepSelection);
    void FillIndexList(bool keepSelection);
    // Shows the document's mesh in the preview, anew.
    void RefreshScene();
    // Moves the mesh by a step: 1 left, 2 right, 3 up, 4 down; 0 does nothing.
    void ApplyMove(int direction);
    // Saves a modified document, asking first unless told not to (Yes, No or Cancel).
    // Without a file name the user picks one. True when the caller may go on: saved,
    // declined, or nothing to save; false when the save failed or the user cancelled the
    // question or the file dialog, so the work must be kept.
    bool SaveProject(bool noQuestion);
    void SaveProjectAs();
    // Open and Import, each through its file dialog.
    void OpenProject();
    void ImportProject();
    // The project at path becomes the document; false, after an error box, when it cannot.
    bool OpenProjectFile(const std::string& path);
    // A model of any format the editor reads becomes the document, modified and unnamed;
    // false, after an error box, when it cannot.
    bool ImportModelFile(const std::string& path);
    // Recovery copies (form_main_recovery.cpp): from now on the editor keeps a copy of
    // unsaved work in `folder`, and first offers back the work of an editor that ended
    // without saving it.
    void KeepRecoveryCopies(const std::string& folder);
    // A file handed to the program: a model is imported, by its extension; anything else
    // is opened as a project.
    void OpenOrImport(const std::string& path);
    // The first file dropped on the window, after the save question that Open asks.
    void OnFilesDropped(const std::vector<std::string>& paths);
    // From now on the recent projects and the window's placement are read from and kept
    // in this key of HKEY_CURRENT_USER; the window goes where it was, if it still can.
    void RememberSettingsIn(const std::string& keyPath);
    // Puts the document's values into the controls and the preview.
    void LoadControls();
    // The document has changed through `source`: the history takes the change, and the
    // modified mark and the undo commands follow.
    void NoteChange(ChangeSource source);
    // The same without the modified mark.
    void RecordStep(ChangeSource source);
    // A vertex or an index added, changed or deleted: a step, marked and shown at once.
    void TakeListChange();
    // Back or forward one step of the history, once the values the controls hold are in
    // it; the document, the controls and the preview show the state reached.
    void Undo();
    void Redo();
    // The mouse on the preview, in its client coordinates.
    void OnPreviewPress(PreviewButton button, int x, int y);
    void OnPreviewMove(int x, int y);
    void OnPreviewRelease(int x, int y);
    // A move without a button names the vertex nearest the pointer in the status bar.
    void OnPreviewHover(int x, int y);
    void OnPreviewLeft();
    void OnPreviewDoubleClick(int x, int y);
    // The selected row of `list` drawn highlighted: the vertex, or the triangle of the index.
    void ShowSelection(KelUtility::OnDemandListBox& list);
    // The same, for the next frame, once the lists changed while something is highlighted.
    void FollowSelection();
    // Wheel notches away from the user bring the eye nearer.
    void Zoom(double notches);
    // Rotation and move back to none, as one step.
    void ResetView();
    // The looks of the preview, the user's choice kept across runs with the settings.
    void SetLooks(bool shaded, bool edges);
    // The mesh moved to the middle and the eye along its line until it fits; one step.
    void FrameView();
    // The rotation that shows the mesh from one side (with the eye on -Z), then framed.
    void ShowSide(int rotX, int rotY);
    void ResetScroll();
    void ShowAbout();

    // The mesh tools (form_main_tools.cpp). A tool's menu entry runs it or opens its dialog;
    // false for any other entry.
    bool RunToolCommand(KelUtility::GUIElement* menuItem);
    // Whether the document draws a triangle a tool could work on; false with the message.
    bool HasTriangles(std::string& message) const;
    // Whether the closed dialog was a tool's: its OK runs the tool.
    bool TakeToolDialog(KelUtility::GUIElement* dialog);
    // Runs a tool on the document as one step: on success the lists, the boxes and the
    // preview show the result and a box titled `title` says what the tool did; otherwise
    // the box says why nothing changed.
    void RunMeshTool(const std::string& title,
                     const std::function<bool(std::string& report, std::string& message)>& tool);

    // The FormMain an element belongs to: the first one up its parent chain, or none.
    static FormMain* Owning(KelUtility::GUIElement* element);
    // The first FormMain made; menu commands of elements outside any FormMain go to it.
    static FormMain* MainForm();

    MeshDocument document;
    DocumentHistory history;
    bool Modified = false;
    std::string ProjectPath;
    std::unique_ptr<KelUtility::FormAbout> aboutForm;

    std::unique_ptr<KelUtility::MenuBar> menuBar;
    std::unique_ptr<KelUtility::Menu> fileMenu;
    std::unique_ptr<KelUtility::Menu> editMenu;
    std::unique_ptr<KelUtility::Menu> viewMenu;
    std::unique_ptr<KelUtility::SubMenu> shadedItem;
    std::unique_ptr<KelUtility::SubMenu> edgesItem;
    std::unique_ptr<KelUtility::SubMenu> viewSeparatorItem;
    std::unique_ptr<KelUtility::SubMenu> frameItem;
    std::unique_ptr<KelUtility::SubMenu> sidesSeparatorItem;
    // Front, back, left, right, top, bottom.
    std::vector<std::unique_ptr<KelUtility::SubMenu>> sideItems;
    std::unique_ptr<KelUtility::Menu> toolsMenu;
    std::unique_ptr<KelUtility::SubMenu> cleanItem;
    std::unique_ptr<KelUtility::SubMenu> flipItem;
    std::unique_ptr<KelUtility::SubMenu> transformItem;
    std::unique_ptr<KelUtility::SubMenu> gpuOrderItem;
    std::unique_ptr<KelUtility::SubMenu> simplifyItem;
    std::unique_ptr<KelUtility::Menu> helpMenu;
    std::unique_ptr<KelUtility::SubMenu> newItem;
    std::unique_ptr<KelUtility::SubMenu> openItem;
    std::unique_ptr<KelUtility::SubMenu> importItem;
    std::unique_ptr<KelUtility::SubMenu> saveItem;
    std::unique_ptr<KelUtility::SubMenu> saveAsItem;
    std::unique_ptr<KelUtility::SubMenu> exportItem;
    std::unique_ptr<KelUtility::SubMenu> exportPictureItem;
    std::unique_ptr<KelUtility::SubMenu> exportMeshItem;
    std::unique_ptr<KelUtility::SubMenu> exportObjItem;
    std::unique_ptr<KelUtility::SubMenu> exportPlyItem;
    std::unique_ptr<KelUtility::SubMenu> exportStlItem;
    std::unique_ptr<KelUtility::SubMenu> exportGltfItem;
    std::unique_ptr<KelUtility::SubMenu> separatorItem;
    // The recent projects, newest first, and the line below them, shown only with entries.
    RecentProjects recentProjects;
    std::vector<std::unique_ptr<KelUtility::SubMenu>> recentItems;
    std::unique_ptr<KelUtility::SubMenu> recentSeparator;
    std::unique_ptr<KelUtility::SubMenu> exitItem;
    std::unique_ptr<KelUtility::SubMenu> undoItem;
    std::unique_ptr<KelUtility::SubMenu> redoItem;
    std::unique_ptr<KelUtility::SubMenu> editSeparatorItem;
    std::unique_ptr<KelUtility::SubMenu> addTriangleItem;
    std::unique_ptr<KelUtility::SubMenu> resetViewItem;
    std::unique_ptr<KelUtility::SubMenu> guideItem;
    std::unique_ptr<KelUtility::SubMenu> homeItem;
    std::unique_ptr<KelUtility::SubMenu> infoItem;

    std::unique_ptr<KelUtility::ToolBar> mainToolBar;
    std::unique_ptr<KelUtility::ToolBarItem> newButton;
    std::unique_ptr<KelUtility::ToolBarItem> openButton;
    std::unique_ptr<KelUtility::ToolBarItem> toolSeparator;
    std::unique_ptr<KelUtility::ToolBarItem> saveButton;
    std::unique_ptr<KelUtility::ToolBarItem> historySeparator;
    std::unique_ptr<KelUtility::ToolBarItem> undoButton;
    std::unique_ptr<KelUtility::ToolBarItem> redoButton;
    std::unique_ptr<KelUtility::ToolBarItem> looksSeparator;
    std::unique_ptr<KelUtility::ToolBarItem> shadedButton;
    std::unique_ptr<KelUtility::ToolBarItem> edgesButton;

    std::unique_ptr<KelUtility::PanelChildren> viewportContainer;
    std::unique_ptr<KelUtility::D3DPanel> viewport;
    std::unique_ptr<KelUtility::PanelChildren> controlsPanel;
    int viewportWidth = 0;
    int viewportHeight = 0;

    // The controls panel, in the order they are made.
    std::vector<std::unique_ptr<KelUtility::Label>> labels;
    std::unique_ptr<KelUtility::PanelChildren> colorSwatch;
    std::unique_ptr<KelUtility::Button> colorButton;
    std::unique_ptr<KelUtility::TextBox> widthBox;
    std::unique_ptr<KelUtility::NumericBox> widthSpin;
    std::unique_ptr<KelUtility::TextBox> heightBox;
    std::unique_ptr<KelUtility::NumericBox> heightSpin;
    std::unique_ptr<KelUtility::GUIControl> movePad;
    std::unique_ptr<KelUtility::CurrencyBox> eyeXBox;
    std::unique_ptr<KelUtility::CurrencyBox> eyeYBox;
    std::unique_ptr<KelUtility::CurrencyBox> eyeZBox;
    std::unique_ptr<KelUtility::TextBox> rotationXBox;
    std::unique_ptr<KelUtility::NumericBox> rotationXSpin;
    std::unique_ptr<KelUtility::TextBox> rotationYBox;
    std::unique_ptr<KelUtility::NumericBox> rotationYSpin;
    std::unique_ptr<KelUtility::TextBox> rotationZBox;
    std::unique_ptr<KelUtility::NumericBox> rotationZSpin;
    std::unique_ptr<KelUtility::TextBox> textureBox;
    std::unique_ptr<KelUtility::Button> textureButton;
    std::unique_ptr<KelUtility::TextBox> facesBox;
    std::unique_ptr<KelUtility::NumericBox> facesSpin;
    std::unique_ptr<KelUtility::ToolBar> vertexToolBar;
    std::unique_ptr<KelUtility::ToolBarItem> vertexModifyButton;
    std::unique_ptr<KelUtility::ToolBarItem> vertexAddButton;
    std::unique_ptr<KelUtility::ToolBarItem> vertexDeleteButton;
    std::unique_ptr<KelUtility::OnDemandListBox> vertexList;
    std::unique_ptr<KelUtility::ToolBar> indexToolBar;
    std::unique_ptr<KelUtility::ToolBarItem> indexModifyButton;
    std::unique_ptr<KelUtility::ToolBarItem> indexAddButton;
    std::unique_ptr<KelUtility::ToolBarItem> indexTriangleButton;
    std::unique_ptr<KelUtility::ToolBarItem> indexDeleteButton;
    std::unique_ptr<KelUtility::OnDemandListBox> indexList;

    // The last dialogs opened; only these are heard when they close.
    std::unique_ptr<FormVertici> vertexDialog;
    std::unique_ptr<FormIndici> indexDialog;
    std::unique_ptr<FormTrasforma> transformDialog;
    std::unique_ptr<FormSemplifica> simplifyDialog;

    std::unique_ptr<KelUtility::Timer> timer;
    bool layoutPending = false;
    std::unique_ptr<KelUtility::StatusBar> statusBar;

private:
    static constexpr int kFontHeight = 14;
    enum class EntryMode { Add, Modify, AddTriangle };
    enum class HistoryMove { Back, Forward };

    void WireFormHandlers();
    void BuildViewport();
    void BuildControls();
    void BuildMainToolBar();
    void UpdateScrollBars();
    void FillList(KelUtility::OnDemandListBox& list, std::size_t count, bool keepSelection);
    void CloseOwnedWindows();
    void TearDown();
    void ResetControls();
    // The window's DPI is `dpi`: the controls are made anew for it when it is another one.
    void FollowDpi(int dpi);
    // The window's DPI, or less on a monitor too narrow for the whole layout at that DPI.
    int LayoutDpi(int dpi, const RECT& area) const;
    // The window's width that holds the whole layout at the layout's DPI.
    int LayoutWidth() const;
    RECT WindowArea() const;
    void RebuildControls();
    int FocusedControl() const;
    void RestoreFocus(int position);

    std::string AskProjectPath();
    // The save dialog with the name offered; the answer always ends with `extension`,
    // added after any other, and replacing that file was asked for. "" when cancelled.
    std::string AskSavePath(const std::string& offered, const std::vector<std::string>& filter,
                            const std::string& extension);
    // True when nothing is at path or the user agreed to replace it.
    bool ConfirmReplace(const std::string& path);
    void TakeDamagedProject(const std::string& path, const ProjectProblem& problem);
    void ShowRecentProjects();
    void OpenRecent(std::size_t position);
    // The path joins the recent projects, in the menu and in the settings.
    void RememberProject(const std::string& path);
    void KeepRecentProjects();
    void RestorePlacement();
    // One step down and right of another editor's window at the same place.
    void StepAsideFromOtherEditors();
    void KeepPlacement();
    // Writes the project; `texture` is its texture as the preview found it before the
    // project took its present name.
    bool WriteProject(const std::string& texture);
    // Whether Save may write over the project's file when another program changed it since
    // it was opened or saved: only when the user says so.
    bool MayWriteOverProject();
    // The project's file as it was opened or saved, to tell a change made by others.
    void StampProject();
    // A texture kept from inside a model gets a copy beside the project, which the
    // project names; one found beside the project's old folder keeps being found.
    void KeepTextureBesideProject(const std::string& texture);
    void NameTexture(const std::string& name);
    // The document as the exports write it: its texture as the preview finds it.
    MeshDocument DocumentToExport() const;
    std::string ShownTexture() const;
    void ExportPicture();
    void OpenPage(const std::string& address);
    void OpenGuide();
    void ExportMesh();
    void ExportModelAs(const std::string& defaultName, const std::vector<std::string>& filter);
    void PickBackground();
    void PickTexture();
    int SelectedRow(KelUtility::OnDemandListBox& list);
    void OpenVertexDialog(EntryMode mode);
    void OpenIndexDialog(EntryMode mode);
    void ShowDialog(KelUtility::Form& dialog);
    void DeleteSelected(KelUtility::OnDemandListBox& list);
    // The spinner of a number box, or none.
    KelUtility::NumericBox* SpinOf(KelUtility::GUIElement* box);
    // A fresh history that starts at the document as it is, unmodified.
    void StartHistory();
    void TakeIndices(const FormIndici& dialog);
    void ReadTextureAndFaces();
    // Tells the user of the textures the preview could not load, each once.
    void ReportTextureFailures();
    void ReadSizes();
    void ReadEye();
    void ReadRotation();
    // Every value the tick reads from a box, without the preview's frame.
    void ReadBoxes();
    // A number box whose number its spin cannot take, and no further digit could make one
    // it takes, shows the value in effect instead.
    void ShowValuesInEffect();
    // The spin's value in its box: plainly and selected while the box has the focus.
    void ShowSpinValue(KelUtility::GUIElement* box);
    void MoveInHistory(HistoryMove move);
    void Orbit(int dx, int dy);
    void Pan(int dx, int dy);
    void Pick(int x, int y);
    std::optional<std::size_t> VertexUnder(int x, int y, float radius);
    void ShowRestored(const HistoryChange& change);
    // The document's values (not its lists) in the controls and the preview.
    void ShowValues();
    // The document's eye, rotation and move in the preview.
    void ShowView();
    void ShowRows(KelUtility::OnDemandListBox& list, const ListChange& change);
    // The text of a row of the vertex or the index list, as it is drawn.
    std::string VertexRowText(std::size_t row) const;
    std::string IndexRowText(std::size_t row) const;
    // The number of rows of the document's list that the list shows.
    std::size_t DocumentRows(const KelUtility::OnDemandListBox& list) const;
    void UpdateHistoryCommands();
    // Modify and Delete of a list are enabled exactly while it has rows.
    void UpdateListCommands();
    // A list button's command, when the button is enabled.
    void Invoke(KelUtility::ToolBarItem* button);
    void BuildAccelerators();
    // A menu entry with its accelerator keys, shown after a tab in its text.
    struct Shortcut {
        BYTE modifiers;
        WORD key;
    };
    std::unique_ptr<KelUtility::SubMenu> MenuItem(KelUtility::GUIElement* holder,
                                                  const std::string& caption,
                                                  const char* keyText = nullptr,
                                                  std::initializer_list<Shortcut> keys = {});

    // A length designed at 96 DPI, at the window's DPI.
    int Px(int length) const;
    int FittedFontHeight();
    bool LargeImages() const;

    // One control of the controls panel each: made, set up, wired and shown.
    void AddLabel(const std::string& caption, int left, int top, int labelWidth);
    std::unique_ptr<KelUtility::PanelChildren> MakeSwatch(int left, int top);
    std::unique_ptr<KelUtility::Button> MakeButton(int left, int top);
    std::unique_ptr<KelUtility::TextBox> MakeNumberBox(int left, int top, int value, int maxLength);
    std::unique_ptr<KelUtility::NumericBox> MakeSpin(KelUtility::TextBox& buddy, int minimum,
                                                     int maximum, int value);
    std::unique_ptr<KelUtility::GUIControl> MakeMovePad(int left, int top);
    std::unique_ptr<KelUtility::CurrencyBox> MakeEyeBox(int left, int top, double value);
    int WidenEyeBoxes();
    std::unique_ptr<KelUtility::TextBox> MakeTextureBox(int left, int top);
    std::unique_ptr<KelUtility::ToolBar>
    MakeListToolBar(int left, int top, std::unique_ptr<KelUtility::ToolBarItem>& modify,
                    std::unique_ptr<KelUtility::ToolBarItem>& add,
                    std::unique_ptr<KelUtility::ToolBarItem>* addTriangle,
                    std::unique_ptr<KelUtility::ToolBarItem>& remove);
    std::unique_ptr<KelUtility::OnDemandListBox> MakeList(int left, int top,
                                                          std::function<std::string(std::size_t)> rowText);

    // A copy of the unsaved work is written when the schedule says so; the document takes
    // an offered copy as its own.
    void NoteUnsavedChange();
    void WriteRecoveryCopyWhenDue();
    void WriteRecoveryCopy();
    void ReportRecoveryFailure();
    void ReportRecoveryProblems();
    void OfferRecoveredWork();
    void TakeRecoveredWork(const FoundCopy& copy, MeshDocument recovered);
    // The user saved the work or gave it up: no copy is due and the editor's copy goes.
    void DiscardRecoveryCopy();

    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<RecoveryFolder> m_recovery;
    RecoverySchedule m_recoverySchedule;
    bool m_recoveryFailureShown = false;
    bool m_offeringRecovery = false;
    std::string m_droppedDuringOffer;
    bool m_ticking = false;
    std::vector<ACCEL> m_shortcuts;
    PreviewButton m_drag = PreviewButton::None;
    POINT m_pressAt = {};
    POINT m_lastAt = {};
    bool m_dragMoved = false;
    bool m_doubleClick = false;
    int m_dpi = 96;
    bool m_placing = false;
    // The name the save dialog offers while the document has none: an imported model's,
    // with its folder, where the dialog then opens.
    std::string m_untitledName = kUntitledName;
    std::string m_stampedPath;
    std::optional<FileStamp> m_projectStamp;
    KelUtility::Font m_font{"Lucida Console", kFontHeight};
};

} // namespace MyApp
