#pragma once

// A text box for a real number written the way the user's locale writes it. Typing lets
// through digits, one decimal separator, an exponent and, when allowed, a leading minus,
// and refuses every other character with a beep; the box selects its text when it gets
// the focus and rewrites it in the locale's format when it loses it. What it shows always
// reads back as the number it holds.

#include "toolkit/number_format.h"
#include "toolkit/text_box.h"

namespace KelUtility {

class CurrencyBox : public TextBox {
public:
    CurrencyBox(GUIElement* owner, double initialValue);

    bool KeyPress(int character) override;
    void GotFocus() override;
    void LostFocus() override;

    // The number the text shows, read as the box's format writes it; 0 for an empty text
    // or one that holds no number.
    double GetValue();
    // Shows the value in the box's format. A value beyond the range of a double shows as
    // the largest finite one of its sign, and one that is no number as 0, so the box never
    // shows a text it could not read back.
    void SetValue(double value);
    // Whether the box still shows what SetValue(value) would show: then it holds that value,
    // digits beyond the ones shown included, whatever the text's groups.
    bool Shows(double value);

    bool allowNegative = false;
    wchar_t decimalSeparator = L'.';
    // Written by the box between groups of digits; never typed.
    wchar_t groupSeparator = L',';

private:
    // The text as it will be once a typed character replaces the selection, and the place
    // where that character goes.
    std::wstring TextWithoutSelection(std::size_t& caret);
    bool AcceptsMinus(const std::wstring& rest);
    bool IsNumberSoFar(const std::wstring& text) const;

    NumberFormat m_format;
};

} // namespace KelUtility
