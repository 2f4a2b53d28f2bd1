#include "app/form_semplifica.h"

#include "document/reported_number.h"
#include "toolkit/check_button.h"
#include "toolkit/currency_box.h"
#include "toolkit/label.h"
#include "toolkit/system_dialogs.h"

#include <algorithm>
#include <cmath>
#include <string>

using namespace KelUtility;

namespace MyApp {
namespace {

constexpr int kMargin = 10;
constexpr int kRowHeight = 22;
constexpr int kValueColumn = 200;
constexpr int kValueWidth = 180;

} // namespace

FormSemplifica::FormSemplifica(Form* ownerForm, std::size_t triangles)
    : EntryDialog(ownerForm, "Semplifica", -1), m_triangles(triangles) {
    Open();
}

FormSemplifica::~FormSemplifica() {
    if (created && !destroyed)
        Close();
}

// Half the triangles is the first proposal, in both ways.
void FormSemplifica::CreateControls() {
    countLabel = std::make_unique<Label>(this, "Triangoli ora: " + ReportedCount(m_triangles));
    countLabel->font = font;
    countLabel->SetPosition(Px(kMargin), Px(12));
    countLabel->SetSize(Px(380), Px(kRowHeight));
    countLabel->Create();
    const int optionWidth = Px(kValueColumn - kMargin - 5);
    countOption = MakeOption("Triangoli", Px(kMargin), Px(42), optionWidth, true);
    countBox = MakeNumberBox(Px(kValueColumn), Px(42), Px(kValueWidth),
                             static_cast<double>((m_triangles + 1) / 2), false);
    shareOption = MakeOption("Percentuale", Px(kMargin), Px(72), optionWidth, false);
    shareBox = MakeNumberBox(Px(kValueColumn), Px(72), Px(kValueWidth), 50, false);
    countOption->SetChecked(true);
    MakeButtons();
    ShowTargetWay();
    countBox->Focus();
}

void FormSemplifica::ChildClick(GUIElement* element) {
    if (element == countOption.get() || element == shareOption.get())
        ShowTargetWay();
    else
        EntryDialog::ChildClick(element);
}

void FormSemplifica::ShowTargetWay() {
    countBox->SetEnabled(countOption->IsChecked());
    shareBox->SetEnabled(shareOption->IsChecked());
}

// The target is a whole number of triangles, at least one and at most those there are; a
// share may have decimals. A box left without a number is named, as every dialog names it.
bool FormSemplifica::TakeValues() {
    const bool byShare = shareOption->IsChecked();
    CurrencyBox& box = byShare ? *shareBox : *countBox;
    const double value = box.GetValue();
    const double limit = byShare ? 100 : static_cast<double>(m_triangles);
    const bool whole = byShare || value == std::floor(value);
    if (!WarnIfEmpty(box, byShare ? "Percentuale" : "Triangoli"))
        return false;
    if (!(value > 0) || value > limit || !whole) {
        ShowWarning(this,
                    byShare ? "La percentuale deve essere maggiore di zero e al massimo 100."
                            : "I triangoli devono essere un numero intero, almeno 1 e al massimo " +
                                  ReportedCount(m_triangles) + ".",
                    "Attenzione");
        box.Focus();
        return false;
    }
    // A small share of a small mesh keeps at least one triangle.
    const double target =
        byShare ? std::max(1.0, std::round(value / 100 * static_cast<double>(m_triangles))) : value;
    targetTriangles = static_cast<std::size_t>(target);
    return true;
}

} // namespace MyApp
