#include "toolkit/form.h"
#include "toolkit/window_procedure.h"

#include "tests/support/win32_test_elements.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>

using namespace KelUtility;
using KelTest::NewEdit;

namespace {

std::string events;

void Note(GUIElement* element, const char* what) {
    events += element->typeName + ":" + what + " ";
}

void GotFocusEvent(GUIElement* e) { Note(e, "got"); }
void LostFocusEvent(GUIElement* e) { Note(e, "lost"); }
void ChangeEvent(GUIElement* e) { Note(e, "change"); }
void ActivateEvent(GUIElement* e) { Note(e, "on"); }
void DeactivateEvent(GUIElement* e) { Note(e, "off"); }

void HotKeyEvent(GUIElement* form, int modifiers, int key) {
    events += form->typeName + ":hot" + std::to_string(modifiers) + "/" +
              std::to_string(key) + " ";
}

std::unique_ptr<Form> NewForm(const char* tag) {
    auto form = std::make_unique<Form>(GetModuleHandleW(nullptr));
    form->typeName = tag;
    form->OnActivate = &ActivateEvent;
    form->OnDeactivate = &DeactivateEvent;
    form->SetSize(200, 150);
    return form;
}

// Where the companion was asked to go in the z-order. Read from the request itself: the
// order of top-level windows under Wine without a window manager also follows the X server.
HWND companionWindow = nullptr;
HWND companionPlacedAfter = nullptr;

LRESULT CALLBACK WatchPlacement(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGING &&
        call->hwnd == companionWindow) {
        const WINDOWPOS* position = reinterpret_cast<WINDOWPOS*>(call->lParam);
        if (!(position->flags & SWP_NOZORDER))
            companionPlacedAfter = position->hwndInsertAfter;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int ToolCount(const GUIElement& element) {
    return static_cast<int>(SendMessageW(element.tooltipWindow, TTM_GETTOOLCOUNT, 0, 0));
}

} // namespace

TEST(GUIElement, ChangeIsRaisedOnlyWhenTheTextDiffersAtFocusLoss) {
    Form form(GetModuleHandleW(nullptr));
    form.Create();
    std::unique_ptr<GUIElement> edit(NewEdit(&form, 10, 10));
    std::unique_ptr<GUIElement> other(NewEdit(&form, 10, 40));
    edit->typeName = "edit";
    edit->OnGotFocus = &GotFocusEvent;
    edit->OnLostFocus = &LostFocusEvent;
    edit->OnChange = &ChangeEvent;
    SetForegroundWindow(form.window);

    events.clear();
    edit->Focus();
    SendMessageW(edit->window, WM_CHAR, 'a', 0);
    SendMessageW(edit->window, WM_CHAR, VK_BACK, 0);
    other->Focus();
    EXPECT_EQ(events, "edit:got edit:lost ");

    events.clear();
    edit->Focus();
    SendMessageW(edit->window, WM_CHAR, 'b', 0);
    other->Focus();
    EXPECT_EQ(events, "edit:got edit:lost edit:change ");
    EXPECT_EQ(edit->textAtFocus, L"");
}

TEST(GUIElement, ActivationMovesHotKeysAndTheCompanion) {
    auto first = NewForm("first");
    auto second = NewForm("second");
    auto companion = NewForm("companion");
    first->AddHotKey(MOD_CONTROL, 'K', &HotKeyEvent);
    second->AddHotKey(MOD_ALT, 'Q', &HotKeyEvent);
    second->AddHotKey(MOD_CONTROL, 'K', &HotKeyEvent);
    companion->Create();
    first->SetCompanion(companion.get());
    second->Create();
    companionWindow = companion->window;
    companionPlacedAfter = nullptr;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchPlacement, nullptr,
                                   GetCurrentThreadId());

    // Showing a new form brings it to the front.
    events.clear();
    first->Create();
    ASSERT_EQ(GetForegroundWindow(), first->window);
    EXPECT_NE(events.find("second:off"), std::string::npos) << events;
    EXPECT_NE(events.find("first:on"), std::string::npos) << events;
    EXPECT_EQ(Dispatch().activeForm, first.get());
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(companionPlacedAfter, first->window);

    // The form in front runs its own entry; a key registered by a form behind runs the
    // entry with the same keys of the form in front.
    events.clear();
    SendMessageW(first->window, WM_HOTKEY, 1, 0);
    SendMessageW(second->window, WM_HOTKEY, 2, 0);
    SendMessageW(second->window, WM_HOTKEY, 1, 0);
    SendMessageW(first->window, WM_HOTKEY, 2, 0);
    SendMessageW(first->window, WM_HOTKEY, 0, 0);
    EXPECT_EQ(events, "first:hot2/75 first:hot2/75 ");
}

TEST(GUIElement, TooltipsExistOnlyWithText) {
    Form form(GetModuleHandleW(nullptr));
    form.Create();
    std::unique_ptr<GUIElement> plain(NewEdit(&form, 10, 10));
    EXPECT_EQ(plain->tooltipWindow, nullptr);

    plain->SetToolTip("Coordinata X");
    ASSERT_NE(plain->tooltipWindow, nullptr);
    EXPECT_EQ(ToolCount(*plain), 1);
    plain->SetSize(120, 30);
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = plain->window;
    tool.uId = reinterpret_cast<UINT_PTR>(plain->window);
    wchar_t text[80] = {};
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(plain->tooltipWindow, TTM_GETTOOLINFOW, 0,
                             reinterpret_cast<LPARAM>(&tool)));
    RECT client;
    GetClientRect(plain->window, &client);
    EXPECT_EQ(tool.rect.right, client.right);
    EXPECT_EQ(tool.rect.bottom, client.bottom);
    SendMessageW(plain->tooltipWindow, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"Coordinata X");
}
