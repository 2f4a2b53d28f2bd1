#pragma once

// The dialog that adds or changes indices of the mesh: one box with an up-down spinner per
// index, so one box adds or changes one index and three add a triangle. A box takes the
// indices of the vertex list; OK refuses one past it, unless it is the stored index a
// modify dialog was given and the user left alone. It never touches the document; its
// owner reads indexValues (indexValue for one box) and result once the window is gone.

#include "app/entry_dialog.h"

#include <vector>

namespace KelUtility {
class Label;
class NumericBox;
class TextBox;
} // namespace KelUtility

namespace MyApp {

class FormIndici : public EntryDialog {
public:
    // The most vertices 16-bit indices reach: a dialog not told the vertex count takes
    // every 16-bit index.
    static constexpr int kMostVertices = 65536;
    static constexpr int kTriangle = 3;

    // The boxes take 0 to vertexCount - 1; boxes is how many indices the dialog gives at
    // once, 1 or kTriangle (at most three rows fit above the buttons).
    FormIndici(KelUtility::Form* ownerForm, const std::string& title,
               int vertexCount = kMostVertices, int boxes = 1);
    ~FormIndici() override;

    void CreateControls() override;
    void ChildLostFocus(KelUtility::GUIElement* element) override;

    // A modify dialog: shows the index stored at that row of the list in the first box,
    // even one past the vertex list.
    void LoadIndex(int value, int row);

    // One value per box, in order; indexValue is the first box's.
    std::vector<int> indexValues;
    int indexValue = 0;
    // One row per box. The vectors keep their size for the dialog's life, so indexBox and
    // indexSpin, the first row's, stay valid.
    std::vector<std::unique_ptr<KelUtility::Label>> labels;
    std::vector<std::unique_ptr<KelUtility::TextBox>> indexBoxes;
    std::vector<std::unique_ptr<KelUtility::NumericBox>> indexSpins;
    std::unique_ptr<KelUtility::TextBox>& indexBox;
    std::unique_ptr<KelUtility::NumericBox>& indexSpin;

protected:
    bool TakeValues() override;

private:
    void MakeRow(std::size_t row, const std::string& caption, int labelWidth);
    // The index a box holds, read past the spinner's range.
    int TypedIndex(std::size_t row);
    std::string RangeMessage() const;

    int m_vertexCount;
    int m_storedIndex = -1; // the index a modify dialog was given, or none
};

} // namespace MyApp
