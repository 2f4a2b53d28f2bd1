#include "app/form_vertici.h"

#include "toolkit/button.h"
#include "toolkit/currency_box.h"
#include "toolkit/label.h"
#include "toolkit/panel_children.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/user_number_format.h"

#include <cfloat>
#include <cmath>

using namespace KelUtility;

namespace MyApp {
namespace {

// The longest text the six-digit format writes, in the widest digits, with room for the
// box's frame and margins.
constexpr const wchar_t* kWidestNumber = L"-8,88888e+888";
constexpr int kBoxFrame = 10;
constexpr int kColumnGap = 15;
constexpr int kLabelColumn = 35;
constexpr int kLabelWidth = 30;
constexpr int kRowHeight = 22;

} // namespace

// The boxes are as wide as the longest number they can show, in the dialog's font, with
// the margins a box keeps for that font (half a character on each side); the colour and
// the texture coordinates share the second column.
FormVertici::FormVertici(Form* ownerForm, const std::string& title)
    : EntryDialog(ownerForm, title, -1) {
    m_boxWidth = TextWidth(kWidestNumber) + TextWidth(L"0") + Px(kBoxFrame);
    m_secondColumn = Px(kLabelColumn + 10) + m_boxWidth + Px(kColumnGap);
    SetClientWidth(m_secondColumn + Px(kLabelColumn) + m_boxWidth + Px(10));
    Open();
}

FormVertici::~FormVertici() {
    if (created && !destroyed)
        Close();
}

// The controls, one line each, in the order they are made and shown.
void FormVertici::CreateControls() {
    AddLabel("X", Px(10), Px(12));
    xBox = MakeBox(Px(45), Px(10), vertex.X, true);
    AddLabel("Y", Px(10), Px(37));
    yBox = MakeBox(Px(45), Px(35), vertex.Y, true);
    AddLabel("Z", Px(10), Px(62));
    zBox = MakeBox(Px(45), Px(60), vertex.Z, true);
    const int column = m_secondColumn;
    AddLabel("Colore", column, Px(12), Px(50));
    colorSwatch = std::make_unique<PanelChildren>(this);
    colorSwatch->SetPosition(column + Px(55), Px(10));
    colorSwatch->SetSize(Px(24), Px(24));
    colorSwatch->border = true;
    colorSwatch->tabStop = false;
    colorSwatch->backColor = ShownColor(vertex.Color);
    colorSwatch->Create();
    colorButton = std::make_unique<Button>(this, "[..]");
    colorButton->font = font;
    colorButton->SetPosition(column + Px(80), Px(9));
    colorButton->SetSize(Px(30), Px(25));
    colorButton->OnClick = ButtonClicked;
    colorButton->Create();
    AddLabel("Tu", column, Px(37));
    tuBox = MakeBox(column + Px(kLabelColumn), Px(35), vertex.Tu, false);
    AddLabel("Tv", column, Px(62));
    tvBox = MakeBox(column + Px(kLabelColumn), Px(60), vertex.Tv, false);
    MakeButtons();
    m_shownValues = BoxValues();
    xBox->Focus();
}

void FormVertici::AddLabel(const char* caption, int left, int top, int labelWidth) {
    auto label = std::make_unique<Label>(this, caption);
    label->font = font;
    label->SetPosition(left, top);
    label->SetSize(labelWidth > 0 ? labelWidth : Px(kLabelWidth), Px(kRowHeight));
    label->Create();
    labels.push_back(std::move(label));
}

std::unique_ptr<CurrencyBox> FormVertici::MakeBox(int left, int top, double value, bool negatives) {
    return MakeNumberBox(left, top, m_boxWidth, value, negatives);
}

void FormVertici::LoadVertex(const MeshVertex& record, int row) {
    vertex = record;
    position = row;
    xBox->SetValue(vertex.X);
    yBox->SetValue(vertex.Y);
    zBox->SetValue(vertex.Z);
    tuBox->SetValue(vertex.Tu);
    tvBox->SetValue(vertex.Tv);
    m_shownValues = BoxValues();
    colorSwatch->SetBackColor(ShownColor(vertex.Color));
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
        colorSwatch->SetBackColor(ShownColor(vertex.Color));
}

std::array<double, 5> FormVertici::BoxValues() {
    return {xBox->GetValue(), yBox->GetValue(), zBox->GetValue(), tuBox->GetValue(),
            tvBox->GetValue()};
}

// A box left empty is named and keeps the dialog open, as in every dialog. A box still
// showing the number it was given keeps the value exactly, digits beyond the
// six shown included, even when its text lost its groups as it took the focus. A typed value
// beyond the range of a float is refused: the preview draws floats and every export writes
// them, so the vertex would hold a number no file could keep (the texture coordinates are
// floats themselves). The colour is the one picked, not the swatch's, which shows only a
// colour word's 24 bits.
bool FormVertici::TakeValues() {
    const std::array<double, 5> values = BoxValues();
    const auto typed = [&](std::size_t box) { return values[box] != m_shownValues[box]; };
    const std::array<CurrencyBox*, 5> boxes = {xBox.get(), yBox.get(), zBox.get(), tuBox.get(),
                                               tvBox.get()};
    const char* names[5] = {"X", "Y", "Z", "Tu", "Tv"};
    for (std::size_t box = 0; box < boxes.size(); ++box) {
        if (!WarnIfEmpty(*boxes[box], names[box]))
            return false;
    }
    for (std::size_t box = 0; box < boxes.size(); ++box) {
        if (!typed(box) || std::fabs(values[box]) <= FLT_MAX)
            continue;
        const std::string largest = UserNumberFormat().FormatDouble(FLT_MAX);
        ShowWarning(this,
                    std::string(box < 3 ? "X, Y e Z" : "Tu e Tv") +
                        " devono essere compresi tra -" + largest + " e " + largest + ".",
                    "Attenzione");
        boxes[box]->Focus();
        return false;
    }
    if (typed(0))
        vertex.X = values[0];
    if (typed(1))
        vertex.Y = values[1];
    if (typed(2))
        vertex.Z = values[2];
    if (typed(3))
        vertex.Tu = static_cast<float>(values[3]);
    if (typed(4))
        vertex.Tv = static_cast<float>(values[4]);
    return true;
}

} // namespace MyApp
