#include "toolkit/element_registry.h"
#include "toolkit/form.h"
#include "toolkit/panel_children.h"
#include "toolkit/window_procedure.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

using namespace KelUtility;
using KelTest::NewEdit;
using KelTest::PumpMessages;
using KelTest::TestCommandControl;

namespace {

std::string seenByControl;
std::string seenByParent;
int clicks = 0;
int keysDown = 0;
Form* formToDelete = nullptr;

bool RefuseX(GUIElement*, int character) {
    seenByControl += static_cast<char>(character);
    return character != 'x';
}

bool RecordAtParent(GUIElement*, int character) {
    seenByParent += static_cast<char>(character);
    return true;
}

void CountClick(GUIElement*) { ++clicks; }

void CountTab(GUIElement*, int key) {
    if (key == VK_TAB)
        ++keysDown;
}

void DeleteOwnForm(GUIElement*) {
    ++clicks;
    delete formToDelete;
    formToDelete = nullptr;
}

void SetShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

class WindowProcedureTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = KelTest::NewHostForm();
        panel = std::make_unique<PanelChildren>(form.get());
        panel->SetSize(300, 200);
        panel->SetPosition(0, 0);
        panel->Create();
    }

    std::unique_ptr<Form> form;
    std::unique_ptr<PanelChildren> panel;
};

} // namespace

TEST_F(WindowProcedureTest, AKeyPressHandlerSwallowsAndTheParentStillSees) {
    std::unique_ptr<GUIElement> edit(NewEdit(panel.get(), 10, 10));
    edit->OnKeyPress = &RefuseX;
    panel->forwardKeyPress = true;
    panel->OnKeyPress = &RecordAtParent;
    seenByControl.clear();
    seenByParent.clear();
    for (wchar_t c : std::wstring(L"axb"))
        SendMessageW(edit->window, WM_CHAR, c, 0);
    EXPECT_EQ(edit->GetNarrowText(), "ab");
    EXPECT_EQ(seenByControl, "axb");
    EXPECT_EQ(seenByParent, "axb");

    panel->forwardKeyPress = false;
    SendMessageW(edit->window, WM_CHAR, 'c', 0);
    EXPECT_EQ(seenByParent, "axb");
    EXPECT_EQ(edit->GetNarrowText(), "abc");
}

TEST_F(WindowProcedureTest, TabMovesTheFocusInsideAPanel) {
    std::unique_ptr<GUIElement> first(NewEdit(panel.get(), 10, 10));
    std::unique_ptr<GUIElement> second(NewEdit(panel.get(), 10, 40));
    std::unique_ptr<GUIElement> third(NewEdit(panel.get(), 10, 70));
    first->OnKeyDown = &CountTab;
    keysDown = 0;
    SetForegroundWindow(form->window);
    first->Focus();
    ASSERT_EQ(GetFocus(), first->window);

    SetShift(false);
    SendMessageW(first->window, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), second->window);
    EXPECT_EQ(keysDown, 1);
    SendMessageW(second->window, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), third->window);

    SetShift(true);
    SendMessageW(third->window, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), second->window);
    SetShift(false);
}

TEST_F(WindowProcedureTest, AListBoxClicksOnlyWhenTheSelectionChanges) {
    TestCommandControl list(panel.get(), L"LISTBOX", LBS_NOTIFY | WS_VSCROLL, "listbox");
    list.SetPosition(0, 0);
    list.SetSize(200, 150);
    list.Create();
    list.OnClick = &CountClick;
    for (const wchar_t* row : {L"uno", L"due", L"tre"})
        SendMessageW(list.window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    const int rowHeight = static_cast<int>(SendMessageW(list.window, LB_GETITEMHEIGHT, 0, 0));
    clicks = 0;

    // A real click on the second row.
    const LPARAM where = MAKELPARAM(20, rowHeight + rowHeight / 2);
    SendMessageW(list.window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageW(list.window, WM_LBUTTONUP, 0, where);
    PumpMessages();
    EXPECT_EQ(SendMessageW(list.window, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(clicks, 1);

    SendMessageW(panel->window, WM_COMMAND, MAKEWPARAM(list.id, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list.window));
    SendMessageW(panel->window, WM_COMMAND, MAKEWPARAM(list.id, LBN_SETFOCUS),
                 reinterpret_cast<LPARAM>(list.window));
    EXPECT_EQ(clicks, 1);
    SendMessageW(panel->window, WM_COMMAND, MAKEWPARAM(list.id, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list.window));
    EXPECT_EQ(clicks, 2);
}

TEST_F(WindowProcedureTest, AButtonClicksOnEveryNotification) {
    TestCommandControl button(panel.get(), L"BUTTON", BS_PUSHBUTTON, "button");
    button.SetPosition(0, 0);
    button.Create();
    button.OnClick = &CountClick;
    clicks = 0;
    SendMessageW(button.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button.window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
    SendMessageW(panel->window, WM_COMMAND, MAKEWPARAM(button.id, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(button.window));
    EXPECT_EQ(clicks, 2);
}

TEST(WindowProcedure, AHandlerMayDestroyTheFormOfItsOwnControl) {
    formToDelete = new Form(GetModuleHandleW(nullptr));
    formToDelete->Create();
    const HWND formWindow = formToDelete->window;
    auto* button = new TestCommandControl(formToDelete, L"BUTTON", BS_PUSHBUTTON, "button");
    button->SetPosition(0, 0);
    button->Create();
    button->OnClick = &DeleteOwnForm;
    const HWND buttonWindow = button->window;
    clicks = 0;
    PostMessageW(buttonWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(buttonWindow, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpMessages();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(formToDelete, nullptr);
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_TRUE(button->destroyed);
    delete button;
}

TEST(WindowProcedure, AWindowWithoutElementGetsDefaultProcessingOnly) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &WindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KelTestOrphan";
    RegisterClassW(&windowClass);
    // An element not yet created must not receive the orphan's messages.
    Form waiting(GetModuleHandleW(nullptr));
    waiting.OnCreated = [](GUIElement*, HWND) { ADD_FAILURE() << "reached the wrong element"; };
    HWND orphan = CreateWindowExW(0, L"KelTestOrphan", L"orfano", WS_OVERLAPPEDWINDOW, 0, 0, 50,
                                  50, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(orphan, nullptr);
    EXPECT_EQ(waiting.window, nullptr);
    SendMessageW(orphan, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(orphan));
}

TEST(WindowProcedure, ElementsLeaveTheRegistryWhenDestroyed) {
    auto* form = new Form(GetModuleHandleW(nullptr));
    form->Create();
    const HWND window = form->window;
    const int id = form->id;
    EXPECT_EQ(ElementRegistry::ElementFromWindow(window), form);
    EXPECT_EQ(ElementRegistry::ElementFromId(id), form);
    delete form;
    EXPECT_EQ(ElementRegistry::ElementFromWindow(window), nullptr);
    EXPECT_EQ(ElementRegistry::ElementFromId(id), nullptr);
}
