#include "app/form_indici.h"

#include "toolkit/button.h"
#include "toolkit/label.h"
#include "toolkit/numeric_box.h"
#include "toolkit/text_box.h"

using namespace KelUtility;

namespace MyApp {
namespace {

// Every value a 16-bit index holds.
constexpr int kLargestIndex = 65535;
constexpr int kTypedDigits = 5;
// The spinner writes the largest index grouped, inside the box beside its arrows.
constexpr const wchar_t* kWidestIndex = L"65,535";
constexpr int kBoxFrame = 10;

} // namespace

FormIndici::FormIndici(Form* ownerForm, const std::string& title)
    : EntryDialog(ownerForm, title, 0) {
    Open();
}

FormIndici::~FormIndici() {
    if (created && !destroyed)
        Close();
}

void FormIndici::CreateControls() {
    label = std::make_unique<Label>(this, "Indice");
    label->font = font;
    label->SetPosition(10, 12);
    label->SetSize(50, 22);
    label->Create();

    indexBox = std::make_unique<TextBox>(this, std::to_string(indexValue));
    indexBox->font = font;
    indexBox->SetPosition(65, 10);
    indexBox->numbersOnly = true;
    indexBox->SetMaxLength(kTypedDigits);
    indexBox->SetSize(TextWidth(kWidestIndex) + GetSystemMetrics(SM_CXVSCROLL) + kBoxFrame, 22);
    indexBox->OnKeyPress = KeyPressed;
    indexBox->OnGotFocus = BoxGotFocus;
    indexBox->OnLostFocus = BoxLostFocus;
    indexBox->Create();

    indexSpin = std::make_unique<NumericBox>(this, indexBox.get(), 0, kLargestIndex);
    indexSpin->SetValue(indexValue);
    indexSpin->Create();

    MakeButtons();
    indexBox->Focus();
}

// The box always shows the spinner's position once it is left: a text the spinner cannot
// read becomes its minimum.
void FormIndici::ChildLostFocus(GUIElement* element) {
    if (element == indexBox.get())
        indexBox->SetText(std::to_string(indexSpin->GetValue()));
}

void FormIndici::LoadIndex(int value, int row) {
    position = row;
    indexValue = value;
    indexSpin->SetValue(value);
    modify = true;
    ChildGotFocus(indexBox.get()); // the box that has the focus: typing replaces its value
}

bool FormIndici::TakeValues() {
    indexValue = indexSpin->GetValue();
    return true;
}

} // namespace MyApp
