#pragma once

// The "Trasforma" dialog: a quarter turn about an axis, a scale by a factor or to a
// largest side, a centring on the origin and a move, which the owner writes into the
// mesh's vertices once the window is gone.

#include "app/entry_dialog.h"
#include "document/mesh_transform.h"

#include <memory>
#include <vector>

namespace KelUtility {
class CheckButton;
class ComboBox;
class CurrencyBox;
class Label;
} // namespace KelUtility

namespace MyApp {

class FormTrasforma : public EntryDialog {
public:
    // `largestSide`: the mesh's now, which the second way of scaling starts from.
    FormTrasforma(KelUtility::Form* ownerForm, double largestSide);
    ~FormTrasforma() override;

    void CreateControls() override;
    void ChildClick(KelUtility::GUIElement* element) override;

    MeshTransform transform;

    std::unique_ptr<KelUtility::ComboBox> turnBox;
    std::unique_ptr<KelUtility::CheckButton> factorOption;
    std::unique_ptr<KelUtility::CurrencyBox> factorBox;
    std::unique_ptr<KelUtility::CheckButton> sideOption;
    std::unique_ptr<KelUtility::CurrencyBox> sideBox;
    std::unique_ptr<KelUtility::CurrencyBox> moveBoxes[3];
    std::unique_ptr<KelUtility::CheckButton> centreCheck;

protected:
    bool TakeValues() override;

private:
    void AddLabel(const char* caption, int left, int top);
    std::unique_ptr<KelUtility::CurrencyBox> MakeBox(int left, int top, int boxWidth, double value,
                                                     bool negatives);
    std::unique_ptr<KelUtility::CheckButton> MakeOption(const char* caption, int top, bool first);
    // Only the box of the chosen way of scaling takes input.
    void ShowScaleWay();

    double m_largestSide;
    std::vector<std::unique_ptr<KelUtility::Label>> m_labels;
};

} // namespace MyApp
