// How the main window keeps the history: every change of the document is noted under the
// control that made it, and an undo or a redo shows the state it reaches in every control,
// the lists and the preview, touching only what changed.

#include "app/form_main.h"

#include "toolkit/currency_box.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/numeric_box.h"
#include "toolkit/panel_children.h"
#include "toolkit/redraw_pause.h"
#include "toolkit/sub_menu.h"
#include "toolkit/text_box.h"
#include "toolkit/tool_bar.h"
#include "toolkit/tool_bar_item.h"
#include "viewport/d3d_panel.h"

#include <algorithm>

using namespace KelUtility;

namespace MyApp {
namespace {

// Only a box that shows another value is written: a write costs a change notice and a
// paint, and an undo usually changes one value of many.
void ShowIn(NumericBox& box, int value) {
    if (box.GetValue() != value)
        box.SetValue(value);
}

void ShowIn(CurrencyBox& box, double value) {
    if (!box.Shows(value))
        box.SetValue(value);
}

} // namespace

void FormMain::NoteChange(ChangeSource source) {
    RecordStep(source);
    SetModified(!history.AtSaved());
}

void FormMain::RecordStep(ChangeSource source) {
    if (history.Record(document, static_cast<int>(source), DocumentHistory::Clock::now())) {
        UpdateHistoryCommands();
        // A new step is never the saved state, whatever the modified mark says yet.
        m_recoverySchedule.NoteChange(RecoverySchedule::Clock::now());
    }
}

// The modified mark comes at once, so that a New or an Open right after asks to save; the
// preview's copy of the mesh follows at once, so that pointing never meets a vertex gone.
void FormMain::TakeListChange() {
    NoteChange(ChangeSource::SingleStep);
    viewport->UpdateMesh(document);
    FollowSelection();
    viewport->Redraw();
}

void FormMain::Undo() {
    MoveInHistory(HistoryMove::Back);
}

void FormMain::Redo() {
    MoveInHistory(HistoryMove::Forward);
}

void FormMain::MoveInHistory(HistoryMove move) {
    ReadBoxes();
    history.EndRun();
    const bool back = move == HistoryMove::Back;
    if (back ? !history.CanUndo() : !history.CanRedo())
        return;
    ShowRestored(back ? history.Undo(document) : history.Redo(document));
    SetModified(!history.AtSaved());
    NoteUnsavedChange();
    UpdateHistoryCommands();
}

// The preview's copy of the mesh is made again only when the mesh changed: on a large
// mesh that costs more than the frame.
void FormMain::ShowRestored(const HistoryChange& change) {
    const bool meshChanged = change.vertices.changed || change.indices.changed ||
                             facesSpin->GetValue() != document.FaceCount ||
                             textureBox->GetNarrowText() != document.TextureFile;
    {
        const RedrawPause pause(controlsPanel->window);
        if (change.values)
            ShowValues();
        if (change.vertices.changed)
            ShowRows(*vertexList, change.vertices);
        if (change.indices.changed)
            ShowRows(*indexList, change.indices);
    }
    if (meshChanged)
        viewport->UpdateMesh(document);
    if (change.vertices.changed || change.indices.changed)
        FollowSelection();
    viewport->Redraw();
}

// A size the preview does not have yet re-creates it, as a size typed in its box does.
void FormMain::ShowValues() {
    colorSwatch->SetBackColor(document.ShownBackColor());
    viewport->SetBackColor(document.ShownBackColor());
    ShowIn(*widthSpin, document.ViewWidth);
    ShowIn(*heightSpin, document.ViewHeight);
    ShowIn(*eyeXBox, document.EyeX);
    ShowIn(*eyeYBox, document.EyeY);
    ShowIn(*eyeZBox, document.EyeZ);
    ShowIn(*rotationXSpin, document.RotX);
    ShowIn(*rotationYSpin, document.RotY);
    ShowIn(*rotationZSpin, document.RotZ);
    if (textureBox->GetNarrowText() != document.TextureFile) {
        textureBox->SetText(document.TextureFile);
        textureBox->SetToolTip(document.TextureFile);
    }
    ShowIn(*facesSpin, document.FaceCount);
    ShowView();
    // A size beyond the spins' range, which only a hand-made file holds, is shown as the
    // spins hold it; the next tick takes that into the document.
    const int shownWidth = widthSpin->GetValue();
    const int shownHeight = heightSpin->GetValue();
    if (shownWidth != viewportWidth || shownHeight != viewportHeight) {
        viewportWidth = shownWidth;
        viewportHeight = shownHeight;
        viewport->SetSize(viewportWidth, viewportHeight);
        viewport->RebuildScene();
        LayoutPanels();
    }
}

// The rows are drawn from the document, so a changed list only needs its count; the
// selection goes to the first row that changed.
void FormMain::ShowRows(OnDemandListBox& list, const ListChange& change) {
    const std::size_t count = DocumentRows(list);
    list.ShowRows(count, count > 0 ? static_cast<int>(std::min(change.first, count - 1)) : -1);
    UpdateListCommands();
}

void FormMain::UpdateHistoryCommands() {
    if (!undoButton)
        return;
    undoItem->SetEnabled(history.CanUndo());
    redoItem->SetEnabled(history.CanRedo());
    if (undoButton->enabled == history.CanUndo() && redoButton->enabled == history.CanRedo())
        return;
    undoButton->SetEnabled(history.CanUndo());
    redoButton->SetEnabled(history.CanRedo());
    mainToolBar->RefreshButtons();
}

} // namespace MyApp
