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

// Whether a text can still become a number as the user goes on typing: a minus (when
// allowed), digits with the box's own groups, a decimal part, and an exponent after at
// least one digit.
bool CurrencyBox::IsNumberSoFar(const std::wstring& text) const {
    std::size_t at = 0;
    const auto skipDigits = [&](bool groups) {
        std::size_t digits = 0;
        for (; at < text.size(); ++at) {
            if (IsDigit(text[at]))
                ++digits;
            else if (!groups || text[at] != groupSeparator)
                break;
        }
        return digits;
    };
    if (at < text.size() && text[at] == L'-' && allowNegative)
        ++at;
    std::size_t digits = skipDigits(true);
    if (at < text.size() && text[at] == decimalSeparator) {
        ++at;
        digits += skipDigits(false);
    }
    if (at < text.size() && IsExponentMark(text[at]) && digits > 0) {
        ++at;
        if (at < text.size() && (text[at] == L'-' || text[at] == L'+'))
            ++at;
        skipDigits(false);
    }
    return at == text.size();
}

// Each key is judged by the text it would leave, the selection it replaces taken out and
// the character put where the caret is: typing over a selected number is typing a new one,
// and a mark in a place no number has it is refused. A minus typed anywhere goes in front.
// A refused character beeps, as the platform's own edit boxes do at their limit, so that a
// dropped key never passes unnoticed; a group separator is refused too, because the box
// writes its groups itself. Control characters other than backspace (the copy and paste
// shortcuts among them) are dropped quietly.
bool CurrencyBox::KeyPress(int character) {
    if (character == kTab)
        return false;
    if (character == kBackspace)
        return true;
    std::size_t caret = 0;
    const std::wstring rest = TextWithoutSelection(caret);
    std::wstring typed = rest;
    typed.insert(caret, 1, static_cast<wchar_t>(character));
    const bool exponentSign = caret > 0 && IsExponentMark(rest[caret - 1]);
    if (character == '-' && allowNegative && !exponentSign && (rest.empty() || rest[0] != L'-'))
        return AcceptsMinus(rest);
    if (character != groupSeparator && IsNumberSoFar(typed))
        return !IsDigit(character) || OnKeyPress == nullptr || OnKeyPress(this, character);
    if (character >= kFirstPrintable)
        MessageBeep(MB_OK);
    return false;
}

// The number is edited without its groups, which the user cannot type; leaving the box
// writes them back.
void CurrencyBox::GotFocus() {
    if (created) {
        std::wstring text = GetText();
        const std::size_t length = text.size();
        text.erase(std::remove(text.begin(), text.end(), groupSeparator), text.end());
        if (text.size() != length)
            SetText(text);
        SendMessageW(window, EM_SETSEL, 0, -1);
    }
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

bool CurrencyBox::Shows(double value) {
    const double shown = GetValue();
    return shown == value || shown == m_format.Parse(m_format.FormatDouble(Finite(value)));
}

} // namespace KelUtility
