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
    // The vertices are the mesh's now: the second way of scaling starts from their largest
    // side, and OK tries the transform on them before it closes. They must outlive the dialog.
    FormTrasforma(KelUtility::Form* ownerForm, const std::vector<MeshVertex>& vertices);
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
    // Only the box of the chosen way of scaling takes input.
    void ShowScaleWay();

    const std::vector<MeshVertex>& m_vertices;
    double m_largestSide;
    std::vector<std::unique_ptr<KelUtility::Label>> m_labels;
};

} // namespace MyApp
