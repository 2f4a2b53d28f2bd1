#pragma once

// A single-selection list of text rows. The rows are kept by the element, so rows added
// before the window exists appear when it is made; a selection made by the user raises
// OnClick.

#include "toolkit/child.h"
#include "toolkit/command_element.h"

#include <vector>

namespace KelUtility {

class ListBox : public Child, public CommandElement {
public:
    explicit ListBox(GUIElement* owner);

    void Create() override;
    void AddItem(const std::string& rowText, const std::string& rowValue);
    // Many rows at once, as AddItem adds them one by one, with the list drawn once at the
    // end; texts and values pair up.
    void AddItems(const std::vector<std::string>& texts, const std::vector<std::string>& values);
    // Removes every row, the last first. False for an empty list, or when the window
    // refused to delete a row; that row and the ones before it then stay.
    bool Clear();
    // Removes the rows from `first` on, the last first; false as for Clear.
    bool RemoveFrom(std::size_t first);
    // Gives a row a new text in its place, keeping its value and the selection.
    void SetRowText(std::size_t row, const std::string& rowText);
    // -1 when no row is selected or the list has no window.
    int GetSelectedIndex();
    // Selects a row without raising OnClick.
    void SetSelectedIndex(int index);

    std::vector<std::wstring> rowTexts;
    std::vector<std::wstring> rowValues; // in step with rowTexts
    bool border = true;

private:
    void AddRowToWindow(const std::wstring& rowText);
};

} // namespace KelUtility
