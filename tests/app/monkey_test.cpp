// A seeded random user: clicks on every menu item, tool bar item, button and list of the
// real main window, keys in its boxes and in the dialogs it opens, answers to every box and
// file dialog, and ticks. After each step the window must still be there and answering,
// and the lists shown must agree with the document. KEL_MONKEY_STEPS and KEL_MONKEY_SEED
// choose the length and the seed of a run (scripts/monkey runs a long one).

#include "app/form_indici.h"
#include "app/form_main.h"
#include "app/form_vertici.h"
#include "app/program_title.h"
#include "document/text_file.h"

#include "toolkit/button.h"
#include "toolkit/currency_box.h"
#include "toolkit/dialog_host.h"
#include "toolkit/form_about.h"
#include "toolkit/gui_control.h"
#include "toolkit/image_frame.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/numeric_box.h"
#include "toolkit/sub_menu.h"
#include "toolkit/text_box.h"
#include "toolkit/text_conversion.h"
#include "toolkit/timer.h"
#include "toolkit/tool_bar.h"
#include "toolkit/tool_bar_item.h"

#include "tests/support/temporary_folder.h"
#include "tests/support/win32_test_elements.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>

using namespace MyApp;
using KelUtility::GUIElement;

namespace {

int FromEnvironment(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

// Answers every question, colour and file dialog at random, from a few sensible paths.
class RandomHost : public KelUtility::DialogHost {
public:
    RandomHost(std::mt19937& random, std::vector<std::string> paths)
        : m_random(random), m_paths(std::move(paths)), m_previous(KelUtility::SetDialogHost(this)) {
    }
    ~RandomHost() override { KelUtility::SetDialogHost(m_previous); }

    int RunMessageBox(HWND, const std::string&, const std::string&, UINT flags) override {
        ++boxes;
        const UINT buttons = flags & MB_TYPEMASK;
        if (buttons != MB_YESNO && buttons != MB_YESNOCANCEL)
            return IDOK;
        const int answer[] = {IDYES, IDNO, IDCANCEL};
        return answer[m_random() % (buttons == MB_YESNO ? 2 : 3)];
    }
    bool RunColorDialog(CHOOSECOLORW& dialog) override {
        dialog.rgbResult = m_random() & 0xFFFFFF;
        return m_random() % 2 == 0;
    }
    bool RunOpenDialog(OPENFILENAMEW& dialog) override { return Pick(dialog); }
    bool RunSaveDialog(OPENFILENAMEW& dialog) override { return Pick(dialog); }
    HINSTANCE RunShellExecute(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                              int) override {
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
    }

    int boxes = 0;

private:
    bool Pick(OPENFILENAMEW& dialog) {
        const std::size_t choice = m_random() % (m_paths.size() + 1);
        if (choice == m_paths.size())
            return false; // cancelled
        const std::wstring path = KelUtility::ToWide(m_paths[choice]);
        if (path.size() >= dialog.nMaxFile)
            return false;
        path.copy(dialog.lpstrFile, path.size());
        dialog.lpstrFile[path.size()] = L'\0';
        return true;
    }

    std::mt19937& m_random;
    std::vector<std::string> m_paths;
    KelUtility::DialogHost* m_previous;
};

class Monkey {
public:
    Monkey(std::mt19937& random, const TemporaryFolder& folder)
        : m_random(random), m_folder(folder) {}

    void Open() { m_form = std::make_unique<FormMain>(GetModuleHandleW(nullptr), ProgramTitle()); }
    FormMain& Form() { return *m_form; }

    void Step() {
        if (!IsWindow(m_form->window)) { // the user left: start the program again
            m_form.reset();
            Open();
        }
        if (DialogOpen())
            return UseDialog();
        const std::function<void()> actions[] = {
            [&] { ChooseMenuItem(); }, [&] { ClickToolBar(); }, [&] { ClickButton(); },
            [&] { TypeInABox(); },     [&] { UseList(); },      [&] { PressThePad(); },
            [&] { Tick(); },           [&] { Tick(); },         [&] { MoveFocus(); },
        };
        actions[m_random() % std::size(actions)]();
        KelTest::PumpMessages();
    }

    // Whatever the steps did, the window answers and shows the document's lists.
    void Check(int step) {
        if (!IsWindow(m_form->window))
            return;
        DWORD_PTR answer = 0;
        ASSERT_NE(SendMessageTimeoutW(m_form->window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer), 0)
            << "step " << step;
        ASSERT_EQ(SendMessageW(m_form->vertexList->window, LB_GETCOUNT, 0, 0),
                  static_cast<LRESULT>(m_form->document.Vertices.size()))
            << "step " << step;
        ASSERT_EQ(SendMessageW(m_form->indexList->window, LB_GETCOUNT, 0, 0),
                  static_cast<LRESULT>(m_form->document.Indices.size()))
            << "step " << step;
        for (std::size_t row = 0; row < m_form->document.Indices.size(); ++row) {
            wchar_t text[32] = {};
            SendMessageW(m_form->indexList->window, LB_GETTEXT, row,
                         reinterpret_cast<LPARAM>(text));
            ASSERT_EQ(KelUtility::ToNarrow(text), std::to_string(row + 1) + ") " +
                                                      std::to_string(m_form->document.Indices[row]))
                << "step " << step;
        }
    }

private:
    template <class Item> Item& Any(const std::vector<Item>& items) {
        return const_cast<Item&>(items[m_random() % items.size()]);
    }

    char AnyCharacter() {
        static const std::string keys = "0123456789-.,eE+ xQ\t\r\x1b\b";
        return keys[m_random() % keys.size()];
    }

    void Type(GUIElement& box, int count) {
        for (int i = 0; i < count && IsWindow(box.window); ++i)
            SendMessageW(box.window, WM_CHAR, static_cast<unsigned char>(AnyCharacter()), 0);
    }

    bool DialogOpen() {
        return (m_form->vertexDialog && IsWindow(m_form->vertexDialog->window)) ||
               (m_form->indexDialog && IsWindow(m_form->indexDialog->window)) ||
               (m_form->aboutForm && m_form->aboutForm->window != nullptr &&
                IsWindow(m_form->aboutForm->window));
    }

    void UseDialog() {
        if (m_form->aboutForm && m_form->aboutForm->window != nullptr &&
            IsWindow(m_form->aboutForm->window)) {
            SendMessageW(m_form->aboutForm->okButton->window, WM_CHAR,
                         m_random() % 2 == 0 ? '\r' : 'x', 0);
            return;
        }
        EntryDialog& dialog = m_form->vertexDialog && IsWindow(m_form->vertexDialog->window)
                                  ? static_cast<EntryDialog&>(*m_form->vertexDialog)
                                  : static_cast<EntryDialog&>(*m_form->indexDialog);
        std::vector<GUIElement*> parts = {dialog.okButton.get(), dialog.cancelButton.get()};
        if (auto* vertex = dynamic_cast<FormVertici*>(&dialog)) {
            parts.insert(parts.end(),
                         {vertex->xBox.get(), vertex->yBox.get(), vertex->zBox.get(),
                          vertex->tuBox.get(), vertex->tvBox.get(), vertex->colorButton.get()});
        } else if (auto* index = dynamic_cast<FormIndici*>(&dialog)) {
            for (const auto& box : index->indexBoxes)
                parts.push_back(box.get());
        }
        GUIElement& part = *Any(parts);
        if (m_random() % 4 == 0)
            SendMessageW(part.window, BM_CLICK, 0, 0);
        else
            Type(part, 1 + static_cast<int>(m_random() % 4));
        KelTest::PumpMessages();
    }

    void ChooseMenuItem() {
        const std::vector<KelUtility::SubMenu*> items = {
            m_form->newItem.get(),    m_form->openItem.get(),          m_form->saveItem.get(),
            m_form->saveAsItem.get(), m_form->exportPictureItem.get(), m_form->exportMeshItem.get(),
            m_form->exitItem.get(),   m_form->guideItem.get(),         m_form->homeItem.get(),
            m_form->infoItem.get(),   m_form->undoItem.get(),          m_form->redoItem.get(),
            m_form->undoItem.get(),   m_form->addTriangleItem.get()};
        PostMessageW(m_form->window, WM_COMMAND, MAKEWPARAM(Any(items)->id, 0), 0);
    }

    void ClickToolBar() {
        const std::vector<std::pair<KelUtility::ToolBar*, KelUtility::ToolBarItem*>> buttons = {
            {m_form->mainToolBar.get(), m_form->newButton.get()},
            {m_form->mainToolBar.get(), m_form->openButton.get()},
            {m_form->mainToolBar.get(), m_form->saveButton.get()},
            {m_form->mainToolBar.get(), m_form->undoButton.get()},
            {m_form->mainToolBar.get(), m_form->redoButton.get()},
            {m_form->vertexToolBar.get(), m_form->vertexModifyButton.get()},
            {m_form->vertexToolBar.get(), m_form->vertexAddButton.get()},
            {m_form->vertexToolBar.get(), m_form->vertexDeleteButton.get()},
            {m_form->indexToolBar.get(), m_form->indexModifyButton.get()},
            {m_form->indexToolBar.get(), m_form->indexAddButton.get()},
            {m_form->indexToolBar.get(), m_form->indexTriangleButton.get()},
            {m_form->indexToolBar.get(), m_form->indexDeleteButton.get()}};
        const auto& [bar, item] = Any(buttons);
        const LRESULT index = SendMessageW(bar->window, TB_COMMANDTOINDEX, item->id, 0);
        RECT button = {};
        SendMessageW(bar->window, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button));
        const LPARAM middle =
            MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        PostMessageW(bar->window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        PostMessageW(bar->window, WM_LBUTTONUP, 0, middle);
    }

    void ClickButton() {
        GUIElement& button = m_random() % 2 == 0 ? static_cast<GUIElement&>(*m_form->colorButton)
                                                 : *m_form->textureButton;
        SendMessageW(button.window, BM_CLICK, 0, 0);
    }

    void TypeInABox() {
        const std::vector<GUIElement*> boxes = {
            m_form->widthBox.get(),     m_form->heightBox.get(),    m_form->rotationXBox.get(),
            m_form->rotationYBox.get(), m_form->rotationZBox.get(), m_form->facesBox.get(),
            m_form->eyeXBox.get(),      m_form->eyeYBox.get(),      m_form->eyeZBox.get(),
            m_form->textureBox.get()};
        Type(*Any(boxes), 1 + static_cast<int>(m_random() % 5));
    }

    void UseList() {
        KelUtility::OnDemandListBox& list = m_random() % 2 == 0 ? *m_form->vertexList : *m_form->indexList;
        const LRESULT count = SendMessageW(list.window, LB_GETCOUNT, 0, 0);
        if (count > 0)
            SendMessageW(list.window, LB_SETCURSEL, m_random() % count, 0);
        if (m_random() % 3 == 0)
            PostMessageW(list.window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    }

    void PressThePad() {
        KelUtility::ImageFrame& arrow = *m_form->movePad->arrows[m_random() % 4];
        SendMessageW(arrow.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        Tick();
        SendMessageW(arrow.window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }

    void Tick() { SendMessageW(m_form->window, WM_TIMER, m_form->timer->id, 0); }

    void MoveFocus() {
        const std::vector<GUIElement*> places = {m_form->widthBox.get(), m_form->facesBox.get(),
                                                 m_form->eyeZBox.get(), m_form->vertexList.get(),
                                                 m_form->rotationYBox.get()};
        SetFocus(Any(places)->window);
    }

    std::mt19937& m_random;
    const TemporaryFolder& m_folder;
    std::unique_ptr<FormMain> m_form;
};

} // namespace

TEST(Monkey, RandomUseNeverBreaksTheWindowOrItsLists) {
    const int steps = FromEnvironment("KEL_MONKEY_STEPS", 500);
    const int seed = FromEnvironment("KEL_MONKEY_SEED", 20261207);
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    TemporaryFolder folder;
    MeshDocument project;
    project.ResetToSample();
    project.Indices = {0, 1, 2, 3, 4, 5};
    TextFile(folder.File("progetto.kv3")).WriteLines(project.ToLines());
    TemporaryFolder::WriteBytes(folder.File("rotto.kv3"), "KEL MORVANE\r\nBEGIN");
    RandomHost host(random, {folder.File("progetto.kv3"), folder.File("nuovo.kv3"),
                             folder.File("rotto.kv3"), folder.File("mesh.png"),
                             folder.File("mesh.x"), folder.File("manca\\mesh.x")});
    Monkey monkey(random, folder);
    monkey.Open();
    for (int step = 0; step < steps; ++step) {
        monkey.Step();
        monkey.Check(step);
        if (::testing::Test::HasFatalFailure()) {
            ADD_FAILURE() << "seed " << seed;
            return;
        }
    }
    std::printf("%d steps with seed %d: %d boxes answered\n", steps, seed, host.boxes);
}
