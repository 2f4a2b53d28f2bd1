#pragma once

// The dialog that adds or changes one vertex of the mesh: X, Y and Z, a colour picked from
// the colour dialog, and the texture coordinates Tu and Tv. It never touches the
// document; its owner reads vertex and result once the window is gone.

#include "app/entry_dialog.h"
#include "document/mesh_vertex.h"

#include <array>
#include <string>
#include <vector>

namespace KelUtility {
class Button;
class CurrencyBox;
class Label;
class PanelChildren;
} // namespace KelUtility

namespace MyApp {

class FormVertici : public EntryDialog {
public:
    FormVertici(KelUtility::Form* ownerForm, const std::string& title);
    ~FormVertici() override;

    void CreateControls() override;
    void ChildClick(KelUtility::GUIElement* element) override;

    // A modify dialog: shows the vertex stored at that row of the list.
    void LoadVertex(const MeshVertex& record, int row);

    MeshVertex vertex{0, 0, 0, kWhite, 0, 0};
    std::vector<std::unique_ptr<KelUtility::Label>> labels;
    std::unique_ptr<KelUtility::CurrencyBox> xBox;
    std::unique_ptr<KelUtility::CurrencyBox> yBox;
    std::unique_ptr<KelUtility::CurrencyBox> zBox;
    std::unique_ptr<KelUtility::PanelChildren> colorSwatch;
    std::unique_ptr<KelUtility::Button> colorButton;
    std::unique_ptr<KelUtility::CurrencyBox> tuBox;
    std::unique_ptr<KelUtility::CurrencyBox> tvBox;

protected:
    bool TakeValues() override;

private:
    static constexpr std::uint32_t kWhite = 0x00FFFFFF;

    // In pixels; a label without a width gets the usual one.
    void AddLabel(const char* caption, int left, int top, int labelWidth = 0);
    std::unique_ptr<KelUtility::CurrencyBox> MakeBox(int left, int top, double value,
                                                     bool negatives);
    void PickColor();
    // What the boxes show, X, Y, Z, Tu and Tv.
    std::array<double, 5> BoxValues();
    static std::uint32_t ShownColor(std::uint32_t color) { return color & kWhite; }

    int m_boxWidth = 0;
    int m_secondColumn = 0;
    std::array<double, 5> m_shownValues{};
};

} // namespace MyApp
