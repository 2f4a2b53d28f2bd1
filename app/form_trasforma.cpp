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
constexpr int kClientWidth = 470;
constexpr int kClientHeight = 235;
constexpr int kValueColumn = 250;
constexpr int kValueWidth = 200;

// In the order of QuarterTurn.
const std::vector<std::string> kTurns = {
    "Nessuno",           "Attorno a X, +90\xC2\xB0", "Attorno a X, -90\xC2\xB0",
    "Attorno a Y, +90\xC2\xB0", "Attorno a Y, -90\xC2\xB0", "Attorno a Z, +90\xC2\xB0",
    "Attorno a Z, -90\xC2\xB0"};

} // namespace

FormTrasforma::FormTrasforma(Form* ownerForm, double largestSide)
    : EntryDialog(ownerForm, "Trasforma", -1), m_largestSide(largestSide) {
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
    turnBox->SetSize(Px(kValueWidth), Px(kRowHeight + 2));
    turnBox->Create();
    factorOption = MakeOption("Scala di un fattore", Px(45), true);
    factorBox = MakeBox(Px(kValueColumn), Px(45), Px(kValueWidth), 1, false);
    sideOption = MakeOption("Lato maggiore lungo", Px(75), false);
    sideBox = MakeBox(Px(kValueColumn), Px(75), Px(kValueWidth), m_largestSide, false);
    factorOption->SetChecked(true);
    AddLabel("Sposta", Px(kMargin), Px(112));
    const char* axes[3] = {"X", "Y", "Z"};
    const int boxWidth = Px(95);
    for (int axis = 0; axis < 3; ++axis) {
        const int left = Px(80) + axis * (boxWidth + Px(35));
        AddLabel(axes[axis], left, Px(112));
        moveBoxes[axis] = MakeBox(left + Px(17), Px(110), boxWidth, 0, true);
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

std::unique_ptr<CurrencyBox> FormTrasforma::MakeBox(int left, int top, int boxWidth, double value,
                                                    bool negatives) {
    auto box = std::make_unique<CurrencyBox>(this, value);
    box->font = font;
    box->SetPosition(left, top);
    box->SetSize(boxWidth, Px(kRowHeight));
    box->allowNegative = negatives;
    box->Create();
    return box;
}

std::unique_ptr<CheckButton> FormTrasforma::MakeOption(const char* caption, int top, bool first) {
    auto option = std::make_unique<CheckButton>(this, caption, CheckButton::Kind::Option);
    option->font = font;
    option->firstOfGroup = first;
    option->SetPosition(Px(kMargin), top);
    option->SetSize(Px(kValueColumn - kMargin - 5), Px(kRowHeight));
    option->OnClick = ButtonClicked;
    option->Create();
    return option;
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

// A scale that is not above zero would flatten or mirror the mesh: the box says so and
// keeps the focus.
bool FormTrasforma::TakeValues() {
    const bool bySide = sideOption->IsChecked();
    CurrencyBox& scaleBox = bySide ? *sideBox : *factorBox;
    if (!(scaleBox.GetValue() > 0)) {
        ShowWarning(this, bySide ? "Il lato maggiore deve essere maggiore di zero."
                                 : "Il fattore di scala deve essere maggiore di zero.",
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
    return true;
}

} // namespace MyApp
