#pragma once

// An up-down arrow control bound to a buddy text box: together they hold a whole number
// within a range. The arrows move the number by one; the position lives in the control.

#include "toolkit/child.h"

namespace KelUtility {

class NumericBox : public Child {
public:
    using ValueHandler = void (*)(GUIElement* box, int value);

    NumericBox(GUIElement* owner, GUIElement* buddyElement, int minimumValue, int maximumValue);

    void Create() override;
    // The position read back from the control. A buddy text the control cannot read is
    // read in the user's number format; the minimum when that gives no whole number within
    // the range either.
    int GetValue();
    // Stores the value as given; once created, moves the control and reports the value
    // clamped to the range.
    void SetValue(int newValue);
    // An arrow asked for a new position: reports it clamped to the range.
    void ArrowStep(long long requested);
    // Widens the buddy text box until it shows `text` whole beside the arrows, which move
    // right by as much.
    void WidenBuddyFor(const wchar_t* text);

    int minimum = 0;
    int maximum = 0;
    int value = 0;
    GUIElement* buddy = nullptr; // not owned
    ValueHandler OnValueChanged = nullptr;

private:
    void ReportValue(long long requested);
    int BuddyValue() const;
};

} // namespace KelUtility
