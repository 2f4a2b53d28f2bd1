#pragma once

// A check box, or a round option button of which one in its group is chosen. The platform
// turns the mark over on a click and moves it within a group; the click is then raised as a
// button's.

#include "toolkit/button.h"

namespace KelUtility {

class CheckButton : public Button {
public:
    enum class Kind { Check, Option };

    CheckButton(GUIElement* owner, const std::string& caption, Kind kind);

    void Create() override;

    bool IsChecked() const;
    void SetChecked(bool value);

    // The first option of a group; the group runs to the next first.
    bool firstOfGroup = false;

private:
    Kind m_kind;
    bool m_checked = false; // until the window exists
};

} // namespace KelUtility
