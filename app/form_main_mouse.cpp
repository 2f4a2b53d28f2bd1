// The preview under the mouse: a left drag turns the mesh, the wheel brings the eye nearer
// or farther, a right drag moves the mesh. Every gesture changes the document's own values,
// shows them in their boxes and redraws at once, and is one step of the history. A click
// picks the vertex or the triangle under the pointer, and the status bar names the vertex
// nearest the pointer.

#include "app/form_main.h"

#include "document/model_import.h"
#include "toolkit/currency_box.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/numeric_box.h"
#include "toolkit/status_bar.h"
#include "toolkit/sub_menu.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/user_number_format.h"
#include "viewport/d3d_panel.h"
#include "viewport/depth_range.h"

#include <algorithm>
#include <cmath>

using namespace KelUtility;

namespace MyApp {
namespace {

constexpr int kFullTurn = 360;
constexpr double kZoomStep = 0.9;
constexpr double kNearestEye = 1.0;
// A press and release within this many pixels is a click, not a drag.
constexpr int kClickSlack = 2;
// How far from a vertex on screen a click still picks it.
constexpr int kPickRadius = 8;
constexpr float kAnyDistance = 1e9f;

int Wrapped(int degrees) {
    return ((degrees % kFullTurn) + kFullTurn) % kFullTurn;
}

} // namespace

// A gesture is a step of its own, even right after a turn of the wheel; what the boxes
// hold joins the history first, so that the gesture does not write over it.
void FormMain::OnPreviewPress(PreviewButton button, int x, int y) {
    ReadBoxes();
    history.EndRun();
    m_drag = button;
    m_pressAt = m_lastAt = POINT{x, y};
    m_dragMoved = false;
    m_doubleClick = false;
    SetCapture(viewport->window);
}

// The second press of a double click starts a drag as any press does; released where it
// was, on a vertex, it opens the vertex.
void FormMain::OnPreviewDoubleClick(int x, int y) {
    OnPreviewPress(PreviewButton::Left, x, y);
    m_doubleClick = true;
}

// A drag whose capture went elsewhere (another window took the mouse) is over.
void FormMain::OnPreviewMove(int x, int y) {
    if (m_drag == PreviewButton::None)
        return;
    if (GetCapture() != viewport->window)
        return OnPreviewRelease(x, y);
    const int dx = x - m_lastAt.x;
    const int dy = y - m_lastAt.y;
    if (std::abs(x - m_pressAt.x) > Px(kClickSlack) || std::abs(y - m_pressAt.y) > Px(kClickSlack))
        m_dragMoved = true;
    if (!m_dragMoved || (dx == 0 && dy == 0))
        return;
    m_lastAt = POINT{x, y};
    if (m_drag == PreviewButton::Left)
        Orbit(dx, dy);
    else
        Pan(dx, dy);
}

// The gesture's run ends with it, so the next one is a step of its own.
void FormMain::OnPreviewRelease(int x, int y) {
    if (m_drag == PreviewButton::None)
        return;
    const bool click = m_drag == PreviewButton::Left && !m_dragMoved;
    const bool contextClick = m_drag == PreviewButton::Right && !m_dragMoved;
    m_drag = PreviewButton::None;
    if (GetCapture() == viewport->window)
        ReleaseCapture();
    history.EndRun();
    if (contextClick &&
        KelUtility::ShowContextMenu(viewport.get(), x, y, {"Ripristina &vista"}) == 0)
        OnCommand(resetViewItem.get());
    if (!click)
        return;
    Pick(x, y);
    const std::optional<std::size_t> vertex =
        VertexUnder(x, y, static_cast<float>(Px(kPickRadius)));
    if (m_doubleClick && vertex)
        OpenVertexDialog(EntryMode::Modify);
}

void FormMain::OnPreviewLeft() {
    statusBar->SetPartText(1, "");
}

// The vertex nearest the pointer, wherever it is on the preview. Windows that appear or move
// under a pointer at rest send moves of their own, the preview's even when the pointer is
// elsewhere: only a pointer really over the preview names a vertex.
void FormMain::OnPreviewHover(int x, int y) {
    if (m_drag != PreviewButton::None)
        return OnPreviewMove(x, y);
    POINT pointer = {};
    const bool over = GetCursorPos(&pointer) && WindowFromPoint(pointer) == viewport->window;
    const std::optional<std::size_t> vertex =
        over ? VertexUnder(x, y, kAnyDistance) : std::nullopt;
    if (!vertex) {
        statusBar->SetPartText(1, "");
        return;
    }
    const MeshVertex& at = document.Vertices[*vertex];
    const NumberFormat format = UserNumberFormat();
    statusBar->SetPartText(1, "Vertice " + std::to_string(*vertex + 1) + ": " +
                                  format.FormatDouble(at.X) + " " + format.FormatDouble(at.Y) +
                                  " " + format.FormatDouble(at.Z));
}

// The preview's copy of the mesh follows the document at each change; a number it does
// not hold any more is no vertex.
std::optional<std::size_t> FormMain::VertexUnder(int x, int y, float radius) {
    const std::optional<std::size_t> vertex = viewport->VertexAt(x, y, radius);
    return vertex && *vertex < document.Vertices.size() ? vertex : std::nullopt;
}

// The vertex nearest the pointer becomes the selected row of the vertex list; else the
// triangle under it selects its first index (its first corner in a list drawn without
// indices); a click on nothing changes nothing.
void FormMain::Pick(int x, int y) {
    if (const std::optional<std::size_t> vertex =
            VertexUnder(x, y, static_cast<float>(Px(kPickRadius)))) {
        vertexList->SetSelectedIndex(static_cast<int>(*vertex));
        ShowSelection(*vertexList);
        return;
    }
    const std::optional<std::size_t> triangle = viewport->TriangleAt(x, y);
    if (!triangle)
        return;
    OnDemandListBox& list = document.Indices.empty() ? *vertexList : *indexList;
    if (3 * *triangle >= list.RowCount())
        return;
    list.SetSelectedIndex(static_cast<int>(3 * *triangle));
    ShowSelection(list);
}

void FormMain::ShowSelection(OnDemandListBox& list) {
    const int row = list.GetSelectedIndex();
    if (&list == vertexList.get())
        viewport->HighlightedVertex = row;
    else
        viewport->HighlightedTriangle = row >= 0 ? row / 3 : -1;
    viewport->Redraw();
}

// Only what the user chose is highlighted; after a change of the lists it follows their
// selection.
void FormMain::FollowSelection() {
    if (viewport->HighlightedVertex >= 0)
        viewport->HighlightedVertex = vertexList->GetSelectedIndex();
    if (viewport->HighlightedTriangle >= 0) {
        const int row = indexList->GetSelectedIndex();
        viewport->HighlightedTriangle = row >= 0 ? row / 3 : -1;
    }
}

// Dragging right turns the mesh's front to the right, dragging down tilts its top towards
// the eye, a degree a pixel.
void FormMain::Orbit(int dx, int dy) {
    document.RotY = Wrapped(document.RotY - dx);
    document.RotX = Wrapped(document.RotX - dy);
    rotationXSpin->SetValue(document.RotX);
    rotationYSpin->SetValue(document.RotY);
    ShowView();
    NoteChange(ChangeSource::Mouse);
    viewport->Redraw();
}

// The mesh follows the pointer: its centre stays under it, at its own depth.
void FormMain::Pan(int dx, int dy) {
    const std::optional<std::pair<double, double>> step = viewport->PanFor(dx, dy);
    if (!step)
        return;
    document.MoveX += step->first;
    document.MoveY += step->second;
    ShowView();
    NoteChange(ChangeSource::Mouse);
    viewport->Redraw();
}

// A tenth of the distance a notch, along the eye's line to the origin, and never nearer
// than the near plane allows: the preview's usual 1, or the nearer plane a large mesh
// needs. The document keeps the eye as its boxes show it, so that the tick finds no change.
void FormMain::Zoom(double notches) {
    ReadBoxes();
    const double distance = std::hypot(document.EyeX, document.EyeY, document.EyeZ);
    if (notches == 0 || distance <= 0)
        return;
    double wanted = distance * std::pow(kZoomStep, notches);
    const double along = wanted / distance;
    const D3DXVECTOR3 eye(static_cast<float>(document.EyeX * along),
                          static_cast<float>(document.EyeY * along),
                          static_cast<float>(document.EyeZ * along));
    const double nearest =
        std::max(kNearestEye, static_cast<double>(viewport->LookAtDepth(eye).nearPlane));
    // An eye already nearer stays where it is rather than be pushed out by a turn inwards.
    wanted = std::max(wanted, std::min(nearest, distance));
    if (wanted == distance)
        return;
    const double scale = wanted / distance;
    for (const auto& [box, eye] :
         {std::pair{eyeXBox.get(), &document.EyeX}, std::pair{eyeYBox.get(), &document.EyeY},
          std::pair{eyeZBox.get(), &document.EyeZ}}) {
        box->SetValue(*eye * scale);
        *eye = box->GetValue();
    }
    ShowView();
    NoteChange(ChangeSource::Mouse);
    viewport->Redraw();
}

void FormMain::FrameView() {
    ReadBoxes();
    history.EndRun();
    FrameMesh(document);
    ShowValues();
    NoteChange(ChangeSource::SingleStep);
    viewport->Redraw();
}

// The eye goes onto the -Z line, at its distance, and the framing brings it as near as
// the mesh lets it.
void FormMain::ShowSide(int rotX, int rotY) {
    ReadBoxes();
    history.EndRun();
    document.RotX = rotX;
    document.RotY = rotY;
    document.RotZ = 0;
    document.EyeZ = -std::max(std::hypot(document.EyeX, document.EyeY, document.EyeZ), 1.0);
    document.EyeX = document.EyeY = 0;
    FrameMesh(document);
    ShowValues();
    NoteChange(ChangeSource::SingleStep);
    viewport->Redraw();
}

void FormMain::ResetView() {
    ReadBoxes();
    history.EndRun();
    document.RotX = document.RotY = document.RotZ = 0;
    document.MoveX = document.MoveY = document.MoveZ = 0;
    for (NumericBox* spin : {rotationXSpin.get(), rotationYSpin.get(), rotationZSpin.get()})
        spin->SetValue(0);
    ShowView();
    NoteChange(ChangeSource::SingleStep);
    viewport->Redraw();
}

} // namespace MyApp
