#include "toolkit/numeric_box.h"

#include "toolkit/element_registry.h"
#include "toolkit/text_box.h"
#include "toolkit/user_number_format.h"

#include <cmath>
#include <commctrl.h>

namespace KelUtility {

NumericBox::NumericBox(GUIElement* owner, GUIElement* buddyElement, int minimumValue,
                       int maximumValue)
    : Child(owner), minimum(minimumValue), maximum(maximumValue), value(minimumValue),
      buddy(buddyElement) {
    typeName = "numericbox";
    width = 0;
    height = 0;
}

void NumericBox::Create() {
    if (created)
        return;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    // The control has no place of its own: it starts at the origin with no size, and the
    // platform moves it against its buddy.
    CreateControlWindow(UPDOWN_CLASSW, BaseStyle() | UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, RECT{},
                        nullptr);
    created = true;
    if (buddy != nullptr) {
        buddy->Create();
        SendMessageW(window, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy->window), 0);
    }
    SendMessageW(window, UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    SendMessageW(window, UDM_SETPOS32, 0, value);
    FinishCreate();
}

int NumericBox::GetValue() {
    if (!created)
        return value;
    BOOL failed = FALSE;
    const int position = static_cast<int>(
        SendMessageW(window, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    value = failed ? BuddyValue() : position;
    return value;
}

// The control reads its buddy with a group separator of its own choosing (Wine's is always
// a comma), so a number grouped the user's way, as the program writes it, may not read:
// "1.300" under an Italian locale would otherwise become the minimum.
int NumericBox::BuddyValue() const {
    if (buddy == nullptr)
        return minimum;
    const double read = UserNumberFormat().Parse(buddy->GetNarrowText());
    if (read != std::floor(read) || read < minimum || read > maximum)
        return minimum;
    return static_cast<int>(read);
}

void NumericBox::SetValue(int newValue) {
    value = newValue;
    if (!created)
        return;
    SendMessageW(window, UDM_SETPOS32, 0, value);
    ReportValue(value);
}

void NumericBox::ArrowStep(long long requested) { ReportValue(requested); }

void NumericBox::ReportValue(long long requested) {
    const long long within = requested > maximum ? maximum : requested;
    const int clamped = static_cast<int>(within < minimum ? minimum : within);
    const std::uint64_t self = serial;
    if (OnValueChanged != nullptr) {
        OnValueChanged(this, clamped);
        if (!ElementRegistry::IsAlive(this, self))
            return;
    }
    if (OnChange != nullptr)
        OnChange(this);
}

void NumericBox::WidenBuddyFor(const wchar_t* text) {
    auto* box = dynamic_cast<TextBox*>(buddy);
    if (!created || box == nullptr)
        return;
    const int grown = box->WidenFor(text);
    if (grown <= 0)
        return;
    const POINT at = GetPosition();
    SetWindowPos(window, nullptr, at.x + grown, at.y, 0, 0,
                 SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    x = at.x + grown;
}

} // namespace KelUtility
