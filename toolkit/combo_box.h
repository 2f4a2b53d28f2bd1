#pragma once

// A drop-down list to choose one of a few fixed entries.

#include "toolkit/child.h"

#include <string>
#include <vector>

namespace KelUtility {

class ComboBox : public Child {
public:
    ComboBox(GUIElement* owner, std::vector<std::string> entries);

    // The element's height is the closed box's; the list drops below it, as tall as its
    // entries.
    void Create() override;

    // The chosen entry, from 0; -1 for none.
    int GetSelectedIndex() const;
    void SetSelectedIndex(int index);

private:
    std::vector<std::string> m_entries;
    int m_selected = 0; // until the window exists
};

} // namespace KelUtility
