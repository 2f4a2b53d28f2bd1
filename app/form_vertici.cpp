#include "app/form_vertici.h"

#include "app/number_text.h"
#include "toolkit/button.h"
#include "toolkit/currency_box.h"
#include "toolkit/label.h"
#include "toolkit/panel_children.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/user_number_format.h"

using namespace KelUtility;

namespace MyApp {

FormVertici::FormVertici(Form* ownerForm, const std::string& title)
    : EntryDialog(ownerForm, title, -1) {
    Open();
}

FormVertici::~FormVertici() {
    if (created && !destroyed)
        Close();
}

// The controls, one line each, in the order they are made and shown.
void FormVertici::CreateControls() {
    AddLabel("X", 10, 12);
    xBox = MakeBox(45, 10, vertex.X, true);
    AddLabel("Y", 10, 37);
    yBox = MakeBox(45, 35, vertex.Y, true);
    AddLabel("Z", 10, 62);
    zBox = MakeBox(45, 60, vertex.Z, true);
    AddLabel("Colore", 110, 12, 50);
    colorSwatch = std::make_unique<PanelChildren>(this);
    colorSwatch->SetPosition(165, 10);
    colorSwatch->SetSize(24, 24);
    colorSwatch->border = true;
    colorSwatch->tabStop = false;
    colorSwatch->backColor = vertex.Color;
    colorSwatch->Create();
    colorButton = std::make_unique<Button>(this, "[..]");
    colorButton->font = font;
    colorButton->SetPosition(190, 9);
    colorButton->SetSize(30, 25);
    colorButton->OnClick = ButtonClicked;
    colorButton->Create();
    AddLabel("Tu", 235, 12);
    tuBox = MakeBox(270, 10, vertex.Tu, false);
    AddLabel("Tv", 235, 37);
    tvBox = MakeBox(270, 35, vertex.Tv, false);
    MakeButtons();
    xBox->Focus();
}

void FormVertici::AddLabel(const char* caption, int left, int top, int labelWidth) {
    auto label = std::make_unique<Label>(this, caption);
    label->font = font;
    label->SetPosition(left, top);
    label->SetSize(labelWidth, 22);
    label->Create();
    labels.push_back(std::move(label));
}

std::unique_ptr<CurrencyBox> FormVertici::MakeBox(int left, int top, double value, bool negatives) {
    auto box = std::make_unique<CurrencyBox>(this, value);
    box->font = font;
    box->SetPosition(left, top);
    box->SetSize(50, 22);
    box->allowNegative = negatives;
    box->Create();
    return box;
}

void FormVertici::LoadVertex(const MeshVertex& record, int row) {
    vertex = record;
    position = row;
    const NumberFormat format = UserNumberFormat();
    xBox->SetText(format.FormatDouble(vertex.X));
    yBox->SetText(format.FormatDouble(vertex.Y));
    zBox->SetText(format.FormatDouble(vertex.Z));
    tuBox->SetText(format.FormatDouble(vertex.Tu));
    tvBox->SetText(format.FormatDouble(vertex.Tv));
    colorSwatch->SetBackColor(vertex.Color);
    modify = true;
    ChildGotFocus(xBox.get()); // the box that has the focus: typing replaces its value
}

void FormVertici::ChildClick(GUIElement* element) {
    if (element == colorButton.get())
        PickColor();
    else
        EntryDialog::ChildClick(element);
}

// A cancelled colour dialog answers the colour it started with: nothing changes then.
void FormVertici::PickColor() {
    const std::uint32_t previous = vertex.Color;
    vertex.Color = KelUtility::ChooseColor(this, previous);
    if (vertex.Color != previous)
        colorSwatch->SetBackColor(vertex.Color);
}

// Texture coordinates are floats: a typed value beyond their range becomes the largest
// float of its sign rather than an infinity.
void FormVertici::TakeValues() {
    vertex.X = xBox->GetValue();
    vertex.Y = yBox->GetValue();
    vertex.Z = zBox->GetValue();
    vertex.Color = colorSwatch->backColor;
    vertex.Tu = NarrowToFloat(tuBox->GetValue());
    vertex.Tv = NarrowToFloat(tvBox->GetValue());
}

} // namespace MyApp
