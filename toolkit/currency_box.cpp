#include "toolkit/currency_box.h"

#include "toolkit/user_number_format.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace KelUtility {
namespace {

constexpr int kMaximumLength = 9;
constexpr int kTab = 9;
constexpr int kBackspace = 8;
constexpr int kFirstPrintable = 0x20;

bool IsDigit(int character) { return character >= '0' && character <= '9'; }

bool IsExponentMark(int character) { return character == 'e' || character == 'E'; }

bool HasExponent(const std::wstring& text) {
    return text.find_first_of(L"eE") != std::wstring::npos;
}

bool HasDigit(const std::wstring& text) {
    return text.find_first_of(L"0123456789") != std::wstring::npos;
}

double Finite(double value) {
    if (std::isnan(value))
        return 0.0;
    if (std::isinf(value))
        return value > 0 ? DBL_MAX : -DBL_MAX;
    return value;
}

} // namespace

CurrencyBox::CurrencyBox(GUIElement* owner, double initialValue)
    : TextBox(owner, ""), m_format(UserNumberFormat()) {
    SetValue(initialValue);
    allowNegative = false;
    numbersOnly = false;
    ApplyStyle();
    SetMaxLength(kMaximumLength);
    decimalSeparator = static_cast<wchar_t>(m_format.DecimalSeparator());
    groupSeparator = static_cast<wchar_t>(m_format.GroupSeparator());
}

std::wstring CurrencyBox::TextWithoutSelection(std::size_t& caret) {
    std::wstring text = GetText();
    DWORD start = static_cast<DWORD>(text.size());
    DWORD end = start;
    if (created)
        SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
    start = std::min<DWORD>(start, static_cast<DWORD>(text.size()));
    end = std::min<DWORD>(std::max(start, end), static_cast<DWORD>(text.size()));
    caret = start;
    return text.erase(start, end - start);
}

// A minus goes in front of the text whatever the caret's place; the digits stay selected
// so that typing replaces them.
bool CurrencyBox::AcceptsMinus(const std::wstring& rest) {
    if (rest.empty())
        return true;
    SetText(L"-" + rest);
    SendMessageW(window, EM_SETSEL, 1, -1);
    return false;
}

// A sign of the exponent goes right after the exponent mark, once.
bool CurrencyBox::AcceptsExponentSign(const std::wstring& rest, std::size_t caret) const {
    if (caret == 0 || caret > rest.size())
        return false;
    const bool signFollows =
        caret < rest.size() && (rest[caret] == L'-' || rest[caret] == L'+');
    return IsExponentMark(rest[caret - 1]) && !signFollows;
}

// A separator or an exponent mark is taken once; the decimal part goes before the exponent.
bool CurrencyBox::AcceptsMark(int character, const std::wstring& rest) const {
    if (character == decimalSeparator)
        return rest.find(decimalSeparator) == std::wstring::npos && !HasExponent(rest);
    if (IsExponentMark(character))
        return !HasExponent(rest) && HasDigit(rest);
    return false;
}

// Each test looks at the text the character would leave, the selection it replaces taken
// out: typing over a selected number is typing a new one. A refused character beeps, as
// the platform's own edit boxes do at their limit, so that a dropped key never passes
// unnoticed; a group separator is refused too, because the box writes its groups itself.
// Control characters other than backspace (the copy and paste shortcuts among them) are
// dropped quietly.
bool CurrencyBox::KeyPress(int character) {
    if (character == kTab)
        return false;
    if (character == kBackspace)
        return true;
    std::size_t caret = 0;
    const std::wstring rest = TextWithoutSelection(caret);
    if ((character == '-' || character == '+') && AcceptsExponentSign(rest, caret))
        return true;
    if (character == '-' && allowNegative && (rest.empty() || rest[0] != L'-'))
        return AcceptsMinus(rest);
    if (IsDigit(character))
        return OnKeyPress == nullptr || OnKeyPress(this, character);
    if (AcceptsMark(character, rest))
        return true;
    if (character >= kFirstPrintable)
        MessageBeep(MB_OK);
    return false;
}

void CurrencyBox::GotFocus() {
    if (created)
        SendMessageW(window, EM_SETSEL, 0, -1);
    TextBox::GotFocus();
}

void CurrencyBox::LostFocus() {
    SetValue(GetValue());
    TextBox::LostFocus();
}

double CurrencyBox::GetValue() {
    return m_format.Parse(GetNarrowText());
}

void CurrencyBox::SetValue(double value) {
    SetText(m_format.FormatDouble(Finite(value)));
}

} // namespace KelUtility
