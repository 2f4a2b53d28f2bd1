#pragma once

// The dialog that adds or changes one index of the mesh: a box with an up-down spinner
// from 0 to 1300. It never touches the document; its owner reads indexValue and result
// once the window is gone.

#include "app/entry_dialog.h"

namespace KelUtility {
class Label;
class NumericBox;
class TextBox;
} // namespace KelUtility

namespace MyApp {

class FormIndici : public EntryDialog {
public:
    FormIndici(KelUtility::Form* ownerForm, const std::string& title);
    ~FormIndici() override;

    void CreateControls() override;
    void ChildLostFocus(KelUtility::GUIElement* element) override;

    // A modify dialog: shows the index stored at that row of the list.
    void LoadIndex(int value, int row);

    int indexValue = 0;
    std::unique_ptr<KelUtility::Label> label;
    std::unique_ptr<KelUtility::TextBox> indexBox;
    std::unique_ptr<KelUtility::NumericBox> indexSpin;

protected:
    bool TakeValues() override;
};

} // namespace MyApp
