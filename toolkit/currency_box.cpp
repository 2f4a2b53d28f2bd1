#include "toolkit/currency_box.h"

#include "toolkit/user_number_format.h"

#include <algorithm>

namespace KelUtility {
namespace {

constexpr int kMaximumLength = 9;
constexpr int kTab = 9;
constexpr int kBackspace = 8;

bool IsDigit(int character) { return character >= '0' && character <= '9'; }

// Typed characters arrive as code units; a separator such as the no-break space is a byte
// above 0x7F, which a plain char holds as a negative number.
bool IsCharacter(int typed, char separator) {
    return typed == static_cast<unsigned char>(separator);
}

} // namespace

CurrencyBox::CurrencyBox(GUIElement* owner, double initialValue)
    : TextBox(owner, ""), m_format(UserNumberFormat()) {
    SetText(m_format.FormatDouble(initialValue));
    allowNegative = false;
    numbersOnly = false;
    ApplyStyle();
    SetMaxLength(kMaximumLength);
    const TypedSeparators separators = TypedSeparatorsOf(m_format);
    decimalSeparator = separators.decimal;
    groupSeparator = separators.group;
}

// A minus goes in front of the text whatever the caret's place; the digits stay selected
// so that typing replaces them.
bool CurrencyBox::AcceptsMinus(const std::string& current) {
    if (current.empty())
        return true;
    SetText("-" + current);
    SendMessageW(window, EM_SETSEL, 1, -1);
    return false;
}

bool CurrencyBox::KeyPress(int character) {
    if (character == kTab)
        return false;
    if (character == kBackspace)
        return true;
    const std::string current = GetNarrowText();
    if (allowNegative && character == '-' && (current.empty() || current[0] != '-'))
        return AcceptsMinus(current);
    if (IsCharacter(character, decimalSeparator) &&
        current.find(decimalSeparator) == std::string::npos)
        return true;
    if (IsCharacter(character, groupSeparator) &&
        current.find(groupSeparator) == std::string::npos)
        return true;
    if (!IsDigit(character))
        return false;
    return OnKeyPress == nullptr || OnKeyPress(this, character);
}

void CurrencyBox::GotFocus() {
    if (created)
        SendMessageW(window, EM_SETSEL, 0, -1);
    TextBox::GotFocus();
}

void CurrencyBox::LostFocus() {
    SetText(m_format.FormatDouble(GetValue()));
    TextBox::LostFocus();
}

double CurrencyBox::GetValue() {
    std::string current = GetNarrowText();
    if (current.empty())
        return 0.0;
    current.erase(std::remove(current.begin(), current.end(), groupSeparator), current.end());
    return m_format.Parse(current);
}

} // namespace KelUtility
