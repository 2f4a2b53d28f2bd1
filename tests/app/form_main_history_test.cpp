// Undo, redo and the keys of the main window, driven through its real controls, dialogs and
// accelerator table; the document, every control and the lists checked at each step.

#include "app/form_indici.h"
#include "app/form_main.h"
#include "app/form_vertici.h"
#include "app/program_title.h"
#include "document/text_file.h"
#include "toolkit/button.h"
#include "toolkit/currency_box.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/numeric_box.h"
#include "toolkit/panel_children.h"
#include "toolkit/sub_menu.h"
#include "toolkit/text_box.h"
#include "toolkit/timer.h"
#include "toolkit/tool_bar.h"
#include "toolkit/tool_bar_item.h"
#include "toolkit/window_procedure.h"
#include "viewport/d3d_panel.h"

#include "tests/support/scripted_host.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <sstream>

using namespace MyApp;
using KelUtility::GUIElement;

namespace {

using KelTest::Type;

void SetText(GUIElement& box, const wchar_t* text) {
    SendMessageW(box.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

class FormMainHistoryTest : public ::testing::Test {
public:
    void SetUp() override {
        form = std::make_unique<FormMain>(GetModuleHandleW(nullptr), ProgramTitle());
    }

    void Tick() { SendMessageW(form->window, WM_TIMER, form->timer->id, 0); }

    // A key pressed in `target` with `held` down, offered to the accelerators first, as the
    // message loop does; true when it became a command.
    bool Press(GUIElement& target, WORD key, std::initializer_list<int> held = {}) {
        BYTE keys[256] = {};
        for (int modifier : held)
            keys[modifier] = 0x80;
        SetKeyboardState(keys);
        MSG message = {target.window, WM_KEYDOWN, key, 1, 0, {}};
        const bool command = KelUtility::TranslateFormKey(*form, message);
        if (!command)
            DispatchMessageW(&message);
        const BYTE released[256] = {};
        SetKeyboardState(const_cast<BYTE*>(released));
        KelTest::PumpMessages();
        return command;
    }

    // What the user sees of the document: its file text, every control's value, both
    // lists and the preview's view.
    std::string Shown() {
        std::ostringstream shown;
        shown << form->document.ToText() << form->widthSpin->GetValue() << ' '
              << form->heightSpin->GetValue() << ' ' << form->eyeXBox->GetValue() << ' '
              << form->eyeZBox->GetValue() << ' ' << form->rotationYSpin->GetValue() << ' '
              << form->facesSpin->GetValue() << ' ' << form->textureBox->GetNarrowText() << ' '
              << form->colorSwatch->backColor << ' ' << form->viewport->EyeZ << ' '
              << form->viewport->Yaw << ' ' << form->viewport->MoveX;
        for (KelUtility::OnDemandListBox* list : {form->vertexList.get(), form->indexList.get()}) {
            const int count = static_cast<int>(SendMessageW(list->window, LB_GETCOUNT, 0, 0));
            for (int row = 0; row < count; ++row) {
                wchar_t text[128] = {};
                SendMessageW(list->window, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
                shown << '\n' << std::string(text, text + wcslen(text));
            }
        }
        return shown.str();
    }

    KelTest::ScriptedHost host;
    TemporaryFolder folder;
    std::unique_ptr<FormMain> form;
};

// Each row is one step of a session, made as a user makes it (one saves, which is no step);
// undo walks back through every state seen, redo forward again, and the modified mark
// follows the state saved.
TEST_F(FormMainHistoryTest, EveryStepUndoesAndRedoesExactly) {
    using Step = void (*)(FormMainHistoryTest&);
    const Step steps[] = {
        [](FormMainHistoryTest& t) { SetText(*t.form->widthBox, L"800"); },
        [](FormMainHistoryTest& t) { SetText(*t.form->eyeZBox, L"-12"); },
        [](FormMainHistoryTest& t) { SetText(*t.form->rotationYSpin->buddy, L"45"); },
        [](FormMainHistoryTest& t) {
            SendMessageW(t.form->vertexList->window, LB_SETCURSEL, 1, 0);
            t.Press(*t.form->vertexList, VK_F2);
            ASSERT_TRUE(t.form->vertexDialog);
            SetText(*t.form->vertexDialog->yBox, L"");
            Type(*t.form->vertexDialog->yBox, "7\r");
        },
        [](FormMainHistoryTest& t) {
            t.host.paths = {t.folder.File("salvato.kv3")};
            t.Press(*t.form->vertexList, 'S', {VK_CONTROL});
        },
        [](FormMainHistoryTest& t) {
            t.Press(*t.form->indexList, 'T', {VK_CONTROL});
            for (std::size_t box = 0; box < 3; ++box)
                SetText(*t.form->indexDialog->indexBoxes[box], box == 0 ? L"0" : L"6");
            Type(*t.form->indexDialog->indexBoxes[2], "\r");
        },
        [](FormMainHistoryTest& t) {
            SendMessageW(t.form->vertexList->window, LB_SETCURSEL, 2, 0);
            t.Press(*t.form->vertexList, VK_DELETE);
        },
        [](FormMainHistoryTest& t) { t.form->ApplyMove(2); },
        [](FormMainHistoryTest& t) {
            t.host.colour = 0x123456;
            SendMessageW(t.form->colorButton->window, BM_CLICK, 0, 0);
        },
    };
    std::vector<std::string> states = {Shown()};
    std::size_t saved = 0;
    for (const Step step : steps) {
        const std::size_t before = form->history.Steps();
        step(*this);
        Tick();
        if (form->history.Steps() == before)
            saved = before;
        else
            states.push_back(Shown());
    }
    ASSERT_EQ(form->history.Steps(), states.size() - 1);
    EXPECT_EQ(saved, 4u);
    // The sample's four faces got the indices that draw them, then the triangle joined
    // them; deleting vertex 2 took the first face and moved the indices above it down.
    const std::vector<std::uint16_t> indices = {2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 5, 5};
    EXPECT_EQ(form->document.Indices, indices);
    EXPECT_EQ(form->document.FaceCount, 4);
    for (std::size_t step = states.size() - 1; step > 0; --step) {
        ASSERT_TRUE(Press(*form->eyeXBox, 'Z', {VK_CONTROL})) << step;
        EXPECT_EQ(Shown(), states[step - 1]) << "undo of step " << step;
        EXPECT_EQ(form->Modified, step - 1 != saved) << step;
        if (step == 4) {
            EXPECT_EQ(SendMessageW(form->vertexList->window, LB_GETCURSEL, 0, 0), 1)
                << "the vertex that changed";
        }
    }
    EXPECT_FALSE(form->history.CanUndo());
    for (std::size_t step = 1; step < states.size(); ++step) {
        if (step % 2)
            Press(*form->vertexList, 'Y', {VK_CONTROL});
        else
            Press(*form->vertexList, 'Z', {VK_CONTROL, VK_SHIFT});
        EXPECT_EQ(Shown(), states[step]) << "redo of step " << step;
        EXPECT_EQ(form->Modified, step != saved) << step;
    }
}

// The keys of a Windows editor, from whichever control has the focus, and none while a
// dialog of the window is open.
TEST_F(FormMainHistoryTest, KeysWorkFromEveryControlButNotUnderADialog) {
    EXPECT_TRUE(Press(*form->widthBox, VK_F1));
    EXPECT_EQ(host.opened.size(), 1u) << "the manual";

    SendMessageW(form->vertexList->window, LB_SETCURSEL, 0, 0);
    form->vertexList->Focus();
    Press(*form->vertexList, VK_RETURN);
    ASSERT_TRUE(form->vertexDialog);
    EXPECT_EQ(form->vertexDialog->GetNarrowText(), "Modifica Vertice");
    EXPECT_FALSE(Press(*form->vertexDialog->xBox, 'N', {VK_CONTROL}));
    EXPECT_FALSE(Press(*form->vertexList, 'N', {VK_CONTROL})) << "the window is disabled";
    Type(*form->vertexDialog->xBox, "\x1b");
    EXPECT_EQ(GetFocus(), form->vertexList->window) << "the list's keys go on working";

    Press(*form->indexList, VK_INSERT);
    ASSERT_TRUE(form->indexDialog);
    EXPECT_EQ(form->indexDialog->GetNarrowText(), "Aggiungi Indice");
    Type(*form->indexDialog->indexBox, "\x1b");

    // Enter takes a typed size at once and leaves the focus where it is.
    form->heightBox->Focus();
    SetText(*form->heightBox, L"300");
    Press(*form->heightBox, VK_RETURN);
    EXPECT_EQ(form->document.ViewHeight, 300);
    EXPECT_EQ(GetFocus(), form->heightBox->window);
    EXPECT_TRUE(form->Modified);

    host.paths = {folder.File("tasti.kv3"), folder.File("altro.kv3")};
    EXPECT_TRUE(Press(*form->heightBox, 'S', {VK_CONTROL}));
    EXPECT_FALSE(form->Modified);
    EXPECT_TRUE(Press(*form->heightBox, 'S', {VK_CONTROL, VK_SHIFT}));
    EXPECT_EQ(form->ProjectPath, folder.File("altro.kv3")) << "saved as";
    EXPECT_TRUE(Press(*form->heightBox, 'N', {VK_CONTROL}));
    EXPECT_EQ(form->ProjectPath, "");
    EXPECT_FALSE(form->history.CanUndo()) << "a new document starts a new history";
}

// A file's eye value with more digits than its box shows is no change at the tick: the
// document opens unmodified, and an undo back to it stays there with its redo.
TEST_F(FormMainHistoryTest, ValuesTheBoxesRoundAreNoChange) {
    MeshDocument stored;
    stored.ResetToSample();
    stored.EyeY = 3.123456789;
    stored.EyeZ = -1234567.891;
    TextFile(folder.File("cifre.kv3")).WriteText(stored.ToText());
    host.paths = {folder.File("cifre.kv3")};
    Press(*form->vertexList, 'O', {VK_CONTROL});
    const MeshDocument opened = form->document;
    ASSERT_NE(opened.EyeY, form->eyeYBox->GetValue()) << "the box shows fewer digits";
    Tick();
    EXPECT_EQ(form->document.EyeY, opened.EyeY);
    EXPECT_FALSE(form->Modified);
    EXPECT_FALSE(form->history.CanUndo());

    form->ApplyMove(1);
    Tick();
    Press(*form->vertexList, 'Z', {VK_CONTROL});
    Tick();
    EXPECT_EQ(form->document.EyeZ, opened.EyeZ);
    EXPECT_FALSE(form->Modified);
    EXPECT_TRUE(form->history.CanRedo());
}

} // namespace
