#include "app/form_indici.h"

#include "toolkit/button.h"
#include "toolkit/label.h"
#include "toolkit/numeric_box.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_box.h"
#include "toolkit/text_conversion.h"
#include "toolkit/user_number_format.h"

#include <algorithm>
#include <cmath>
#include <commctrl.h>

using namespace KelUtility;

namespace MyApp {
namespace {

constexpr int kMostBoxes = 3;
constexpr int kTypedDigits = 5;
// A pasted text can hold a number no int holds; it reads as the largest that can be typed.
constexpr double kLargestTyped = 99999;
// The spinner writes the largest index grouped, inside the box beside its arrows.
constexpr const wchar_t* kWidestIndex = L"65,535";
constexpr int kBoxFrame = 10;
constexpr int kRowHeight = 22;
constexpr int kRowStep = 30;
constexpr int kMargin = 10;
constexpr int kLabelGap = 5;

std::size_t BoxCount(int boxes) {
    return static_cast<std::size_t>(std::clamp(boxes, 1, kMostBoxes));
}

} // namespace

FormIndici::FormIndici(Form* ownerForm, const std::string& title, int vertexCount, int boxes)
    : EntryDialog(ownerForm, title, 0), indexValues(BoxCount(boxes), 0), labels(indexValues.size()),
      indexBoxes(indexValues.size()), indexSpins(indexValues.size()), indexBox(indexBoxes.front()),
      indexSpin(indexSpins.front()), m_vertexCount(std::clamp(vertexCount, 0, kMostVertices)) {
    Open();
}

FormIndici::~FormIndici() {
    if (created && !destroyed)
        Close();
}

void FormIndici::CreateControls() {
    std::vector<std::string> captions(indexBoxes.size(), "Indice");
    if (captions.size() > 1) {
        for (std::size_t row = 0; row < captions.size(); ++row)
            captions[row] += " " + std::to_string(row + 1);
    }
    int labelWidth = 0;
    for (const std::string& caption : captions)
        labelWidth = std::max(labelWidth, TextWidth(ToWide(caption).c_str()));
    for (std::size_t row = 0; row < captions.size(); ++row)
        MakeRow(row, captions[row], labelWidth);
    MakeButtons();
    indexBox->Focus();
}

// The spinners stop at the last vertex, so the arrows never offer an index that OK refuses.
void FormIndici::MakeRow(std::size_t row, const std::string& caption, int labelWidth) {
    const int top = Px(kMargin + kRowStep * static_cast<int>(row));
    auto& label = labels[row];
    label = std::make_unique<Label>(this, caption);
    label->font = font;
    label->SetPosition(Px(kMargin), top + Px(2));
    label->SetSize(labelWidth, Px(kRowHeight));
    label->Create();

    auto& box = indexBoxes[row];
    box = std::make_unique<TextBox>(this, std::to_string(indexValues[row]));
    box->font = font;
    box->SetPosition(Px(kMargin) + labelWidth + Px(kLabelGap), top);
    box->numbersOnly = true;
    box->SetMaxLength(kTypedDigits);
    box->SetSize(TextWidth(kWidestIndex) + ScrollBarWidth() + Px(kBoxFrame),
                 Px(kRowHeight));
    box->OnKeyPress = KeyPressed;
    box->OnGotFocus = BoxGotFocus;
    box->OnLostFocus = BoxLostFocus;
    box->Create();

    auto& spin = indexSpins[row];
    spin = std::make_unique<NumericBox>(this, box.get(), 0, std::max(m_vertexCount - 1, 0));
    spin->SetValue(indexValues[row]);
    spin->Create();
    spin->WidenBuddyFor(kWidestIndex);
}

// A box shows the index it holds as plain digits once it is left; a text that holds none
// becomes 0.
void FormIndici::ChildLostFocus(GUIElement* element) {
    for (std::size_t row = 0; row < indexBoxes.size(); ++row) {
        if (element == indexBoxes[row].get())
            indexBoxes[row]->SetText(std::to_string(TypedIndex(row)));
    }
}

// The spinner reads only numbers within its range, and takes any other for its minimum;
// the text is read again here, so that an index typed past the list is refused on OK
// rather than turned into 0.
int FormIndici::TypedIndex(std::size_t row) {
    NumericBox& spin = *indexSpins[row];
    BOOL failed = FALSE;
    const auto position = static_cast<int>(
        SendMessageW(spin.window, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    if (!failed)
        return position;
    const double read = UserNumberFormat().Parse(indexBoxes[row]->GetNarrowText());
    if (read < 0 || read != std::floor(read))
        return spin.minimum;
    return static_cast<int>(std::min(read, kLargestTyped));
}

void FormIndici::LoadIndex(int value, int row) {
    position = row;
    indexValue = value;
    indexValues.front() = value;
    m_storedIndex = value;
    indexSpin->SetValue(value);
    // The spinner moves to its last vertex at most; the box shows what is stored.
    if (value > indexSpin->maximum)
        indexBox->SetText(std::to_string(value));
    modify = true;
    ChildGotFocus(indexBox.get()); // the box that has the focus: typing replaces its value
}

std::string FormIndici::RangeMessage() const {
    if (m_vertexCount == 0)
        return "La mesh non ha vertici.";
    return "L'indice deve essere compreso tra 0 e " + std::to_string(m_vertexCount - 1) + ".";
}

// An index past the vertex list is refused, except the stored one left as it was: the
// dialog never changes what the user did not touch.
bool FormIndici::TakeValues() {
    std::vector<int> values;
    for (std::size_t row = 0; row < indexBoxes.size(); ++row) {
        const int value = TypedIndex(row);
        const bool untouched = row == 0 && value == m_storedIndex;
        if (value >= m_vertexCount && !untouched) {
            ShowWarning(this, RangeMessage(), "Attenzione");
            indexBoxes[row]->Focus();
            ChildGotFocus(indexBoxes[row].get());
            return false;
        }
        values.push_back(value);
    }
    indexValues = values;
    indexValue = values.front();
    return true;
}

} // namespace MyApp
