#pragma once

// The "Semplifica" dialog: how many of the drawn triangles to keep, as a number or as a
// percentage; the owner simplifies the mesh once the window is gone.

#include "app/entry_dialog.h"

#include <cstddef>
#include <memory>

namespace KelUtility {
class CheckButton;
class CurrencyBox;
class Label;
} // namespace KelUtility

namespace MyApp {

class FormSemplifica : public EntryDialog {
public:
    FormSemplifica(KelUtility::Form* ownerForm, std::size_t triangles);
    ~FormSemplifica() override;

    void CreateControls() override;
    void ChildClick(KelUtility::GUIElement* element) override;

    std::size_t targetTriangles = 0;

    std::unique_ptr<KelUtility::Label> countLabel;
    std::unique_ptr<KelUtility::CheckButton> countOption;
    std::unique_ptr<KelUtility::CurrencyBox> countBox;
    std::unique_ptr<KelUtility::CheckButton> shareOption;
    std::unique_ptr<KelUtility::CurrencyBox> shareBox;

protected:
    bool TakeValues() override;

private:
    void ShowTargetWay();

    std::size_t m_triangles;
};

} // namespace MyApp
