// The tick: every 500 ms the controls are read into the document and the preview, one
// field at a time, and every change marks the document modified.

#include "app/form_main.h"

#include "toolkit/currency_box.h"
#include "toolkit/gui_control.h"
#include "toolkit/numeric_box.h"
#include "toolkit/text_box.h"
#include "toolkit/text_conversion.h"
#include "viewport/d3d_panel.h"

using namespace KelUtility;

namespace MyApp {

// A message box or a nested message loop raised from inside a tick can deliver the next
// one; it is dropped.
void FormMain::SyncTick() {
    if (m_ticking)
        return;
    m_ticking = true;
    if (layoutPending) {
        layoutPending = false;
        UpdateScrollBars();
    }
    ApplyMove(movePad->pressedDirection);
    viewport->MoveX = document.MoveX;
    viewport->MoveY = document.MoveY;
    viewport->MoveZ = document.MoveZ;
    // An older project may keep the name in Latin-1; the box shows the same name in
    // UTF-8, which is no change.
    const std::string texture = textureBox->GetNarrowText();
    if (ToWide(texture) != ToWide(document.TextureFile)) {
        document.TextureFile = texture;
        SetModified(true);
    }
    const int faces = facesSpin->GetValue();
    if (faces != document.FaceCount) {
        document.FaceCount = faces;
        SetModified(true);
    }
    if (viewport->UpdateMesh(ToSceneMesh(document)))
        SetModified(true);
    ReadSizes();
    ReadEye();
    ReadRotation();
    viewport->Redraw();
    m_ticking = false;
}

// Height first, then width; each change re-creates the preview at its new size.
void FormMain::ReadSizes() {
    const int newHeight = heightSpin->GetValue();
    if (newHeight != document.ViewHeight) {
        document.ViewHeight = viewportHeight = newHeight;
        viewport->SetSize(document.ViewWidth, newHeight);
        viewport->RebuildScene();
        SetModified(true);
        LayoutPanels();
    }
    const int newWidth = widthSpin->GetValue();
    if (newWidth != document.ViewWidth) {
        document.ViewWidth = viewportWidth = newWidth;
        viewport->SetSize(newWidth, document.ViewHeight);
        viewport->RebuildScene();
        SetModified(true);
        LayoutPanels();
    }
}

void FormMain::ReadEye() {
    const struct {
        CurrencyBox* box;
        double& stored;
        double& shown;
    } eye[] = {{eyeXBox.get(), document.EyeX, viewport->EyeX},
               {eyeYBox.get(), document.EyeY, viewport->EyeY},
               {eyeZBox.get(), document.EyeZ, viewport->EyeZ}};
    for (const auto& axis : eye) {
        const double value = axis.box->GetValue();
        if (value != axis.stored) {
            axis.stored = axis.shown = value;
            SetModified(true);
        }
    }
}

void FormMain::ReadRotation() {
    const struct {
        NumericBox* spin;
        std::int32_t& stored;
        double& shown;
    } rotation[] = {{rotationXSpin.get(), document.RotX, viewport->Pitch},
                    {rotationYSpin.get(), document.RotY, viewport->Yaw},
                    {rotationZSpin.get(), document.RotZ, viewport->Roll}};
    for (const auto& axis : rotation) {
        const int value = axis.spin->GetValue();
        if (value != axis.stored) {
            axis.stored = value;
            axis.shown = value * kRadiansPerDegree;
            SetModified(true);
        }
    }
}

} // namespace MyApp
