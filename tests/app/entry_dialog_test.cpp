// The vertex and index dialogs on real windows, driven by the platform's key and click
// messages. Typed numbers follow the user's locale: the number cases run once more under
// an Italian and an English user locale, named in KEL_EXPECT_LOCALE.

#include "app/form_indici.h"
#include "app/form_main.h"
#include "app/form_vertici.h"
#include "app/program_title.h"

#include "toolkit/button.h"
#include "toolkit/currency_box.h"
#include "toolkit/numeric_box.h"
#include "toolkit/panel_children.h"
#include "toolkit/text_box.h"

#include "tests/support/scripted_host.h"
#include "tests/support/win32_test_elements.h"

#include <cfloat>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace MyApp;
using KelUtility::GUIElement;

namespace {

using KelTest::Type;

void Click(GUIElement& button) {
    SendMessageW(button.window, BM_CLICK, 0, 0);
}

std::string Text(GUIElement& element) {
    return element.GetNarrowText();
}

// The decimal separator of the user locale the run names; '.' when it names none.
char Decimal() {
    wchar_t value[16] = {};
    GetEnvironmentVariableW(L"KEL_EXPECT_LOCALE", value, 16);
    return std::wstring(value) == L"it" ? ',' : '.';
}

class EntryDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner = std::make_unique<KelUtility::Form>(GetModuleHandleW(nullptr));
        owner->SetSize(500, 300);
        owner->Create();
    }

    KelTest::ScriptedHost host;
    std::unique_ptr<KelUtility::Form> owner;
};

} // namespace

TEST_F(EntryDialogTest, EnterInAnyBoxTakesTheTypedVertex) {
    FormVertici dialog(owner.get(), "Aggiungi Vertice");
    EXPECT_FALSE(IsWindowEnabled(owner->window)) << "the owner waits for the dialog";
    EXPECT_EQ(Text(*dialog.xBox), "0");
    EXPECT_EQ(dialog.colorSwatch->backColor, 0x00FFFFFFu);
    Type(*dialog.xBox, std::string("-1") + Decimal() + "5");
    Type(*dialog.zBox, std::string("2") + Decimal() + "25");
    dialog.tuBox->SetText(std::string("3") + Decimal() + "4e+38"); // pasted
    Type(*dialog.tvBox, "\r");
    EXPECT_FALSE(IsWindow(dialog.window));
    EXPECT_TRUE(IsWindowEnabled(owner->window));
    EXPECT_EQ(dialog.result, EntryDialog::kConfirmed);
    EXPECT_EQ(dialog.vertex.X, -1.5);
    EXPECT_EQ(dialog.vertex.Z, 2.25);
    EXPECT_EQ(dialog.vertex.Tu, 3.4e38f);
    EXPECT_EQ(dialog.vertex.Color, 0x00FFFFFFu);
}

TEST_F(EntryDialogTest, AModifyDialogShowsTheStoredVertexInTheUsersFormat) {
    FormVertici dialog(owner.get(), "Modifica Vertice");
    dialog.LoadVertex(MeshVertex{-8.88888e+288, 34567.8912, 0.5, 0x000080FF, 0.25f, 1}, 7);
    EXPECT_TRUE(KelTest::ShowsWholeText(dialog.xBox->window)) << Text(*dialog.xBox);
    EXPECT_EQ(Text(*dialog.zBox), std::string("0") + Decimal() + "5");
    EXPECT_EQ(Text(*dialog.tuBox), std::string("0") + Decimal() + "25");
    EXPECT_EQ(dialog.colorSwatch->backColor, 0x000080FFu);
    Type(*dialog.xBox, "9"); // replaces the shown value
    dialog.yBox->Focus(); // which writes the rounded Y without its groups
    Type(*dialog.yBox, "\r");
    EXPECT_EQ(dialog.result, EntryDialog::kConfirmed);
    EXPECT_TRUE(dialog.modify);
    EXPECT_EQ(dialog.position, 7);
    EXPECT_EQ(dialog.vertex, (MeshVertex{9, 34567.8912, 0.5, 0x000080FF, 0.25f, 1}));
}

TEST_F(EntryDialogTest, EveryOtherWayOutLeavesNoChoiceOrACancel) {
    const struct {
        const char* how;
        void (*close)(FormVertici&);
        int result;
    } ways[] = {
        {"Escape in a box", [](FormVertici& d) { Type(*d.yBox, "\x1b"); }, 0},
        {"the close box",
         [](FormVertici& d) { SendMessageW(d.window, WM_SYSCOMMAND, SC_CLOSE, 0); }, 0},
        {"Annulla", [](FormVertici& d) { Click(*d.cancelButton); }, 2},
    };
    for (const auto& way : ways) {
        FormVertici dialog(owner.get(), "Aggiungi Vertice");
        Type(*dialog.xBox, "7");
        way.close(dialog);
        EXPECT_FALSE(IsWindow(dialog.window)) << way.how;
        EXPECT_EQ(dialog.result, way.result) << way.how;
        EXPECT_EQ(dialog.vertex.X, 0) << way.how;
        EXPECT_TRUE(IsWindowEnabled(owner->window)) << way.how;
    }
}

TEST_F(EntryDialogTest, TheColourChangesOnlyWhenOneIsChosen) {
    FormVertici dialog(owner.get(), "Aggiungi Vertice");
    Click(*dialog.colorButton);
    EXPECT_EQ(host.colourDialogs, 1);
    EXPECT_EQ(dialog.colorSwatch->backColor, 0x00FFFFFFu) << "cancelled";
    host.colour = 0x00336699;
    Click(*dialog.colorButton);
    EXPECT_EQ(dialog.colorSwatch->backColor, 0x00336699u);
    Click(*dialog.okButton);
    EXPECT_EQ(dialog.vertex.Color, 0x00336699u);
}

TEST_F(EntryDialogTest, TheIndexBoxTakesEvery16BitIndex) {
    FormIndici dialog(owner.get(), "Aggiungi Indice");
    EXPECT_EQ(Text(*dialog.indexBox), "0");
    SendMessageW(dialog.indexBox->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(*dialog.indexBox, "655350");
    EXPECT_EQ(Text(*dialog.indexBox), "65535");

    dialog.LoadIndex(999, 4);
    const auto arrowUp = [&] {
        RECT arrows;
        GetClientRect(dialog.indexSpin->window, &arrows);
        const LPARAM top = MAKELPARAM(arrows.right / 2, 2);
        SendMessageW(dialog.indexSpin->window, WM_LBUTTONDOWN, MK_LBUTTON, top);
        SendMessageW(dialog.indexSpin->window, WM_LBUTTONUP, 0, top);
    };
    arrowUp();
    EXPECT_EQ(dialog.indexSpin->GetValue(), 1000);
    dialog.indexSpin->SetValue(65534);
    arrowUp();
    arrowUp();
    EXPECT_EQ(dialog.indexSpin->GetValue(), 65535);
    EXPECT_TRUE(KelTest::ShowsWholeText(dialog.indexBox->window)) << Text(*dialog.indexBox);

    SetFocus(dialog.indexBox->window);
    SetFocus(dialog.okButton->window); // leaving the box shows the spinner's plain number
    EXPECT_EQ(Text(*dialog.indexBox), "65535");
    Type(*dialog.okButton, "\r");
    EXPECT_EQ(dialog.result, EntryDialog::kConfirmed);
    EXPECT_EQ(dialog.indexValue, 65535);
    EXPECT_EQ(dialog.position, 4);
}

// OK takes the boxes' indices only within the vertex list; a stored index a modify dialog
// shows is kept while the user leaves it alone.
TEST_F(EntryDialogTest, IndexBoxesRefuseAnIndexPastTheVertexList) {
    const struct {
        int vertices;
        int stored;                     // a modify dialog of one box; -1 adds a triangle
        std::vector<const char*> typed; // into each box after clicking it; null: left alone
        const char* warning;            // null: OK closes the dialog
        std::vector<int> values;
    } cases[] = {
        {5, -1, {"4", "0", "2"}, nullptr, {4, 0, 2}},
        {5, -1, {"4", "5", "2"}, "L'indice deve essere compreso tra 0 e 4.", {0, 0, 0}},
        {3, -1, {nullptr, nullptr, "99999"}, "L'indice deve essere compreso tra 0 e 2.", {0, 0, 0}},
        {0, -1, {nullptr, nullptr, nullptr}, "La mesh non ha vertici.", {0, 0, 0}},
        {5, 999, {nullptr}, nullptr, {999}},
        {5, 999, {"998"}, "L'indice deve essere compreso tra 0 e 4.", {999}},
    };
    for (const auto& c : cases) {
        const bool triangle = c.stored < 0;
        FormIndici dialog(owner.get(), triangle ? "Aggiungi Triangolo" : "Modifica Indice",
                          c.vertices, triangle ? FormIndici::kTriangle : 1);
        if (!triangle)
            dialog.LoadIndex(c.stored, 3);
        for (std::size_t k = 0; k < c.typed.size(); ++k) {
            if (c.typed[k] != nullptr) {
                SetFocus(dialog.indexBoxes[k]->window); // selects its text
                Type(*dialog.indexBoxes[k], c.typed[k]);
            }
        }
        host.boxes.clear();
        Click(*dialog.okButton);
        const std::string row = std::to_string(&c - cases);
        const auto boxes = c.warning
                               ? std::vector<std::string>{std::string("Attenzione / ") + c.warning}
                               : std::vector<std::string>{};
        EXPECT_EQ(host.BoxTexts(), boxes) << row;
        EXPECT_EQ(IsWindow(dialog.window) != FALSE, c.warning != nullptr) << row;
        EXPECT_EQ(dialog.result, c.warning ? EntryDialog::kNoChoice : EntryDialog::kConfirmed)
            << row;
        EXPECT_EQ(dialog.indexValues, c.values) << row;
    }
}

TEST(EntryDialogOwner, ClosingTheMainWindowClosesItsDialogFirst) {
    KelTest::ScriptedHost host; // yes, leave
    auto main = std::make_unique<FormMain>(GetModuleHandleW(nullptr), ProgramTitle());
    main->vertexDialog = std::make_unique<FormVertici>(main.get(), "Aggiungi Vertice");
    Type(*main->vertexDialog->xBox, "3");
    SendMessageW(main->window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(main->vertexDialog->window)) << "closed while its owner is whole";
    EXPECT_EQ(main->vertexDialog->result, EntryDialog::kNoChoice);
    main.reset();
}
