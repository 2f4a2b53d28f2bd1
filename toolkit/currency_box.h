#pragma once

// A text box for a real number written the way the user's locale writes it. It lets
// through digits, one decimal separator, one group separator and, when allowed, a leading
// minus; it selects its text when it gets the focus and rewrites it in the locale's format
// when it loses it.

#include "toolkit/number_format.h"
#include "toolkit/text_box.h"

namespace KelUtility {

class CurrencyBox : public TextBox {
public:
    CurrencyBox(GUIElement* owner, double initialValue);

    bool KeyPress(int character) override;
    void GotFocus() override;
    void LostFocus() override;

    // 0 for an empty text or one that cannot be read as a number.
    double GetValue();

    bool allowNegative = false;
    char decimalSeparator = '.';
    char groupSeparator = ',';

private:
    bool AcceptsMinus(const std::string& current);

    NumberFormat m_format;
};

} // namespace KelUtility
