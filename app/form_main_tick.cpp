// The tick: every 500 ms the controls are read into the document and the preview, one
// field at a time, and every change goes into the history under the control that made it.

#include "app/form_main.h"

#include "document/model_pictures.h"
#include "toolkit/currency_box.h"
#include "toolkit/gui_control.h"
#include "toolkit/numeric_box.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_box.h"
#include "toolkit/text_conversion.h"
#include "toolkit/user_number_format.h"
#include "viewport/d3d_panel.h"

#include <algorithm>
#include <climits>

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
    ReadTextureAndFaces();
    if (viewport->UpdateMesh(document))
        NoteChange(ChangeSource::SingleStep);
    ReadSizes();
    ReadEye();
    ReadRotation();
    ShowValuesInEffect();
    viewport->Redraw();
    ReportTextureFailures();
    WriteRecoveryCopyWhenDue();
    m_ticking = false;
}

// Told from the tick rather than from the frame that found them, so that no message box
// opens inside a paint. While a name is typed each letter names another file: only the
// name in effect once the box is left is told of.
void FormMain::ReportTextureFailures() {
    if (GetFocus() == textureBox->window)
        return;
    for (const TextureFailure& failure : viewport->TakeTextureFailures()) {
        if (failure.name == document.TextureFile)
            ShowWarning(this, failure.text, "Texture");
    }
}

// What the boxes hold and the history has not seen yet joins it before a step is undone
// or a value is applied with Enter; the lists and the move pad are in it already.
void FormMain::ReadBoxes() {
    ReadTextureAndFaces();
    ReadSizes();
    ReadEye();
    ReadRotation();
}

// A text the spin cannot read leaves it at its minimum, and the tick has taken that. While
// the user types, a number below the range may still grow into it ("2" on the way to
// "200"), so it stays; an empty box is being typed into. A number above the range, or one
// that fills the box, can only be deleted: the box shows the value in effect at once.
void FormMain::ShowValuesInEffect() {
    const auto group = static_cast<wchar_t>(UserNumberFormat().GroupSeparator());
    for (NumericBox* spin : {widthSpin.get(), heightSpin.get(), rotationXSpin.get(),
                             rotationYSpin.get(), rotationZSpin.get(), facesSpin.get()}) {
        auto* box = static_cast<TextBox*>(spin->buddy);
        std::wstring digits = box->GetText();
        digits.erase(std::remove(digits.begin(), digits.end(), group), digits.end());
        if (digits.empty() || digits.find_first_not_of(L"0123456789") != std::wstring::npos)
            continue;
        // Past ten digits every number is beyond any range.
        const long long number = digits.size() > 10 ? LLONG_MAX : std::stoll(digits);
        const bool full = box->maxLength > 0 && static_cast<int>(digits.size()) >= box->maxLength;
        if (number > spin->maximum || (number < spin->minimum && full))
            ShowSpinValue(box);
    }
}

void FormMain::ShowSpinValue(GUIElement* box) {
    if (GetFocus() == box->window)
        OnNumericGotFocus(box);
    else
        OnNumericLostFocus(box);
}

void FormMain::ReadTextureAndFaces() {
    // An older project may keep the name in Latin-1; the box shows the same name in
    // UTF-8, which is no change.
    const std::string texture = textureBox->GetNarrowText();
    if (ToWide(texture) != ToWide(document.TextureFile)) {
        document.TextureFile = texture;
        viewport->TrustedTexture = texture;
        NoteChange(ChangeSource::Texture);
    }
    const int faces = facesSpin->GetValue();
    if (faces != document.FaceCount) {
        document.FaceCount = faces;
        NoteChange(ChangeSource::Faces);
    }
}

// Height first, then width; each change re-creates the preview at its new size.
void FormMain::ReadSizes() {
    const int newHeight = heightSpin->GetValue();
    if (newHeight != document.ViewHeight) {
        document.ViewHeight = viewportHeight = newHeight;
        viewport->SetSize(document.ViewWidth, newHeight);
        viewport->RebuildScene();
        NoteChange(ChangeSource::Height);
        LayoutPanels();
    }
    const int newWidth = widthSpin->GetValue();
    if (newWidth != document.ViewWidth) {
        document.ViewWidth = viewportWidth = newWidth;
        viewport->SetSize(newWidth, document.ViewHeight);
        viewport->RebuildScene();
        NoteChange(ChangeSource::Width);
        LayoutPanels();
    }
}

void FormMain::ReadEye() {
    const struct {
        CurrencyBox* box;
        double& stored;
        double& shown;
        ChangeSource source;
    } eye[] = {{eyeXBox.get(), document.EyeX, viewport->EyeX, ChangeSource::EyeX},
               {eyeYBox.get(), document.EyeY, viewport->EyeY, ChangeSource::EyeY},
               {eyeZBox.get(), document.EyeZ, viewport->EyeZ, ChangeSource::EyeZ}};
    // A box that shows the stored value rounded to its digits holds it unchanged.
    for (const auto& axis : eye) {
        if (!axis.box->Shows(axis.stored)) {
            axis.stored = axis.shown = axis.box->GetValue();
            NoteChange(axis.source);
        }
    }
}

void FormMain::ReadRotation() {
    const struct {
        NumericBox* spin;
        std::int32_t& stored;
        double& shown;
        ChangeSource source;
    } rotation[] = {{rotationXSpin.get(), document.RotX, viewport->Pitch, ChangeSource::RotationX},
                    {rotationYSpin.get(), document.RotY, viewport->Yaw, ChangeSource::RotationY},
                    {rotationZSpin.get(), document.RotZ, viewport->Roll, ChangeSource::RotationZ}};
    for (const auto& axis : rotation) {
        const int value = axis.spin->GetValue();
        if (value != axis.stored) {
            axis.stored = value;
            axis.shown = value * kRadiansPerDegree;
            NoteChange(axis.source);
        }
    }
}

} // namespace MyApp
