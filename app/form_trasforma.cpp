#include "app/form_trasforma.h"

#include "toolkit/check_button.h"
#include "toolkit/combo_box.h"
#include "toolkit/currency_box.h"
#include "toolkit/label.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_conversion.h"

using namespace KelUtility;

namespace MyApp {
namespace {

constexpr int kMargin = 10;
constexpr int kRowHeight = 22;
constexpr int kClientWidth = 530;
constexpr int kClientHeight = 235;
constexpr int kValueColumn = 250;
constexpr int kValueWidth = 200;

// In the order of QuarterTurn; a turn about X or Z says which side comes up, so that a
// model lying down is stood up in one choice.
const std::vector<std::string> kTurns = {
    "Nessuno",
    "X +90\xC2\xB0 (-Z va in alto)",
    "X -90\xC2\xB0 (+Z va in alto)",
    "Y +90\xC2\xB0",
    "Y -90\xC2\xB0",
    "Z +90\xC2\xB0 (+X va in alto)",
    "Z -90\xC2\xB0 (-X va in alto)"};

} // namespace

FormTrasforma::FormTrasforma(Form* ownerForm, const std::vector<MeshVertex>& vertices)
    : EntryDialog(ownerForm, "Trasforma", -1), m_vertices(vertices),
      m_largestSide(LargestSide(vertices)) {
    SetClientWidth(Px(kClientWidth));
    SetClientHeight(Px(kClientHeight));
    Open();
}

FormTrasforma::~FormTrasforma() {
    if (created && !destroyed)
        Close();
}

// One row each: the turn, the two ways of scaling, the move, the centring.
void FormTrasforma::CreateControls() {
    AddLabel("Quarto di giro", Px(kMargin), Px(12));
    turnBox = std::make_unique<ComboBox>(this, kTurns);
    turnBox->font = font;
    turnBox->SetPosition(Px(kValueColumn), Px(10));
    turnBox->SetSize(Px(kClientWidth - kValueColumn - kMargin), Px(kRowHeight + 2));
    turnBox->Create();
    const int optionWidth = Px(kValueColumn - kMargin - 5);
    factorOption = MakeOption("Scala di un fattore", Px(kMargin), Px(45), optionWidth, true);
    factorBox = MakeNumberBox(Px(kValueColumn), Px(45), Px(kValueWidth), 1, true);
    sideOption = MakeOption("Lato maggiore lungo", Px(kMargin), Px(75), optionWidth, false);
    sideBox = MakeNumberBox(Px(kValueColumn), Px(75), Px(kValueWidth), m_largestSide, false);
    factorOption->SetChecked(true);
    // A point or an empty mesh has no side to measure.
    sideOption->SetEnabled(m_largestSide > 0);
    AddLabel("Sposta", Px(kMargin), Px(112));
    const char* axes[3] = {"X", "Y", "Z"};
    const int boxWidth = Px(95);
    for (int axis = 0; axis < 3; ++axis) {
        const int left = Px(80) + axis * (boxWidth + Px(35));
        AddLabel(axes[axis], left, Px(112));
        moveBoxes[axis] = MakeNumberBox(left + Px(17), Px(110), boxWidth, 0, true);
    }
    centreCheck = std::make_unique<CheckButton>(this, "Centra sull'origine prima di spostare",
                                                CheckButton::Kind::Check);
    centreCheck->font = font;
    centreCheck->SetPosition(Px(kMargin), Px(145));
    centreCheck->SetSize(Px(kClientWidth - 2 * kMargin), Px(kRowHeight));
    centreCheck->OnClick = ButtonClicked;
    centreCheck->Create();
    MakeButtons();
    ShowScaleWay();
    turnBox->Focus();
}

void FormTrasforma::AddLabel(const char* caption, int left, int top) {
    auto label = std::make_unique<Label>(this, caption);
    label->font = font;
    label->SetPosition(left, top);
    label->SetSize(TextWidth(ToWide(caption).c_str()) + Px(4), Px(kRowHeight));
    label->Create();
    m_labels.push_back(std::move(label));
}

void FormTrasforma::ChildClick(GUIElement* element) {
    if (element == factorOption.get() || element == sideOption.get())
        ShowScaleWay();
    else
        EntryDialog::ChildClick(element);
}

void FormTrasforma::ShowScaleWay() {
    factorBox->SetEnabled(factorOption->IsChecked());
    sideBox->SetEnabled(sideOption->IsChecked());
}

// A factor of zero would flatten the mesh and a side must be a length: the box says so and
// keeps the focus. A negative factor is a mirror, which the transform makes with the faces
// turned the right way out.
bool FormTrasforma::TakeValues() {
    const bool bySide = sideOption->IsChecked();
    CurrencyBox& scaleBox = bySide ? *sideBox : *factorBox;
    if (!WarnIfEmpty(scaleBox, bySide ? "Lato maggiore lungo" : "Scala di un fattore"))
        return false;
    const char* axes[3] = {"Sposta X", "Sposta Y", "Sposta Z"};
    for (int axis = 0; axis < 3; ++axis) {
        if (!WarnIfEmpty(*moveBoxes[axis], axes[axis]))
            return false;
    }
    const double scale = scaleBox.GetValue();
    if (bySide ? !(scale > 0) : scale == 0) {
        ShowWarning(this, bySide ? "Il lato maggiore deve essere maggiore di zero."
                                 : "Il fattore di scala non pu\xC3\xB2 essere zero.",
                    "Attenzione");
        scaleBox.Focus();
        return false;
    }
    transform.turn = static_cast<QuarterTurn>(std::max(turnBox->GetSelectedIndex(), 0));
    transform.factor = bySide ? 1 : factorBox->GetValue();
    transform.largestSide = bySide ? sideBox->GetValue() : 0;
    transform.centre = centreCheck->IsChecked();
    transform.moveX = moveBoxes[0]->GetValue();
    transform.moveY = moveBoxes[1]->GetValue();
    transform.moveZ = moveBoxes[2]->GetValue();
    // Tried on a copy first, so that a result the mesh cannot take keeps the dialog open
    // with what the user typed.
    MeshDocument trial;
    trial.Vertices = m_vertices;
    std::string message;
    if (!TransformMesh(trial, transform, message)) {
        ShowWarning(this, message, "Attenzione");
        return false;
    }
    return true;
}

} // namespace MyApp
