#pragma once

// A single-selection list of text rows that keeps no rows: the platform list holds only
// their number, and each row's text is asked of RowText when the row is drawn or read.
// Filling, emptying or renumbering it costs the same for twelve rows and for 65,535. It
// answers LB_GETTEXT and LB_GETTEXTLEN with those texts, as a list of strings does, so
// that what reads a list's rows (a test, a screen reader) reads these. A selection made by
// the user raises OnClick.

#include "toolkit/child.h"
#include "toolkit/command_element.h"

#include <functional>
#include <string>

namespace KelUtility {

class OnDemandListBox : public Child, public CommandElement {
public:
    explicit OnDemandListBox(GUIElement* owner);

    void Create() override;
    // The rows are 0 to count - 1 from now on; the selection stays where it is still a
    // row. A new count draws the rows shown again (their numbers may have moved).
    void SetRowCount(std::size_t count);
    std::size_t RowCount() const { return m_rowCount; }
    // A new count and selection (-1 for none) shown in one drawing afterwards, without the
    // list painting each step on the way; every row in view is drawn again, for texts that
    // changed.
    void ShowRows(std::size_t count, int selected);
    // -1 when no row is selected or the list has no window.
    int GetSelectedIndex();
    // Selects a row without raising OnClick; -1 selects none.
    void SetSelectedIndex(int index);

    // The text of a row, in UTF-8.
    std::function<std::string(std::size_t row)> RowText;
    bool border = true;

    // For the window procedure: a row drawn, and the text messages answered.
    void DrawRow(const DRAWITEMSTRUCT& item);
    LRESULT AnswerTextMessage(UINT message, WPARAM row, LPARAM buffer);

private:
    std::wstring WideRowText(std::size_t row) const;
    void FitRowHeight();

    std::size_t m_rowCount = 0;
};

} // namespace KelUtility
