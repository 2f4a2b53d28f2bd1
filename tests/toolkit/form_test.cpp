#include "toolkit/button.h"
#include "toolkit/form.h"
#include "toolkit/form_about.h"
#include "toolkit/panel_children.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <new>

using namespace KelUtility;
using KelTest::PumpMessages;

namespace {

struct Record {
    int created = 0;
    HWND createdWindow = nullptr;
    bool createdFlagWhenRaised = true;
    int closing = 0;
    int destroyed = 0;
    bool allowClose = true;
} record;

void CountCreated(GUIElement* element, HWND window) {
    ++record.created;
    record.createdWindow = window;
    record.createdFlagWhenRaised = element->created;
}

bool AskClose(GUIElement*) {
    ++record.closing;
    return record.allowClose;
}

void CountDestroyed(GUIElement*) { ++record.destroyed; }

// The window a request asked to put the watched window behind, if any.
HWND watchedWindow = nullptr;
HWND watchedPlacedAfter = nullptr;

LRESULT CALLBACK WatchPlacement(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGING && call->hwnd == watchedWindow) {
        const WINDOWPOS* position = reinterpret_cast<WINDOWPOS*>(call->lParam);
        if (!(position->flags & SWP_NOZORDER))
            watchedPlacedAfter = position->hwndInsertAfter;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Wine answers 0 to GetGuiResources; its GDI table answers a handle given by its index
// alone, so there every live object is found by asking each index for its type.
DWORD GdiObjects() {
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0)
        return counted;
    DWORD live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++live;
    }
    return live;
}

// Whether first is in front of second among the top-level windows.
bool InFrontOf(HWND first, HWND second) {
    for (HWND w = GetWindow(second, GW_HWNDPREV); w != nullptr; w = GetWindow(w, GW_HWNDPREV)) {
        if (w == first)
            return true;
    }
    return false;
}

SIZE WindowSize(HWND window) {
    RECT bounds;
    GetWindowRect(window, &bounds);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

LONG StyleOf(const Form& form) { return GetWindowLongW(form.window, GWL_STYLE); }
LONG ExStyleOf(const Form& form) { return GetWindowLongW(form.window, GWL_EXSTYLE); }

} // namespace

TEST(Form, TheCreationMessageReachesTheFormOnce) {
    record = {};
    Form form(GetModuleHandleW(nullptr));
    form.OnCreated = &CountCreated;
    form.Create();
    form.Create();
    EXPECT_EQ(record.created, 1);
    EXPECT_EQ(record.createdWindow, form.window);
    // Raised by the creation message, while CreateWindowExW was still running.
    EXPECT_FALSE(record.createdFlagWhenRaised);
    EXPECT_TRUE(form.created);
    EXPECT_TRUE(IsWindowVisible(form.window));
}

TEST(Form, AClosingHandlerCanKeepTheWindow) {
    record = {};
    Form* form = new Form(GetModuleHandleW(nullptr));
    form->OnClosing = &AskClose;
    form->OnDestroyed = &CountDestroyed;
    form->Create();
    const HWND window = form->window;

    record.allowClose = false;
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(record.closing, 1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(record.destroyed, 0);

    record.allowClose = true;
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(record.destroyed, 1);
    EXPECT_TRUE(form->destroyed);
    delete form;
    EXPECT_EQ(record.destroyed, 1);
}

TEST(Form, WindowStylesFollowTheFlags) {
    Form plain(GetModuleHandleW(nullptr));
    plain.Create();
    EXPECT_EQ(StyleOf(plain) & (WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    EXPECT_EQ(ExStyleOf(plain) & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST), 0);

    Form fixed(GetModuleHandleW(nullptr));
    fixed.resizable = false;
    fixed.minimizeBox = false;
    fixed.Create();
    EXPECT_EQ(StyleOf(fixed) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);

    Form dialog(GetModuleHandleW(nullptr), Form::Kind::ToolDialog);
    dialog.Create();
    EXPECT_EQ(ExStyleOf(dialog) & 0x89, 0x89);

    Form popup(GetModuleHandleW(nullptr));
    popup.captioned = false;
    popup.Create();
    EXPECT_TRUE(StyleOf(popup) & WS_POPUP);
    EXPECT_FALSE(StyleOf(popup) & WS_CAPTION);
}

TEST(Form, ClientSizeAndCentring) {
    Form form(GetModuleHandleW(nullptr));
    form.SetClientSize(300, 200);
    EXPECT_EQ(form.width, 300);
    EXPECT_EQ(form.height, 200);
    form.Create();
    form.SetClientSize(320, 240);
    RECT client;
    GetClientRect(form.window, &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);

    form.CenterOnScreen();
    RECT bounds;
    GetWindowRect(form.window, &bounds);
    EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - (bounds.right - bounds.left)) / 2);
    EXPECT_EQ(bounds.top, (GetSystemMetrics(SM_CYSCREEN) - (bounds.bottom - bounds.top)) / 2);
}

TEST(Form, SizeChangesKeepThePosition) {
    Form form(GetModuleHandleW(nullptr));
    form.SetPosition(40, 30);
    form.Create();
    form.SetSize(250, 150);
    RECT bounds;
    GetWindowRect(form.window, &bounds);
    EXPECT_EQ(bounds.left, 40);
    EXPECT_EQ(bounds.top, 30);
    EXPECT_EQ(bounds.right - bounds.left, 250);
    EXPECT_EQ(form.GetSize().cy, 150);
}

TEST(Form, AnElementMadeWhereADeletedCompanionWasIsNotTakenForIt) {
    // The successor is built in the very storage of the deleted companion, as the heap
    // may do: only its serial tells the two apart.
    alignas(Form) unsigned char storage[sizeof(Form)];
    Form* companion = new (storage) Form(GetModuleHandleW(nullptr));
    companion->Create();
    Form form(GetModuleHandleW(nullptr));
    form.SetCompanion(companion);
    companion->~Form();
    Form* successor = new (storage) Form(GetModuleHandleW(nullptr));
    successor->Create();

    watchedWindow = successor->window;
    watchedPlacedAfter = nullptr;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchPlacement, nullptr, GetCurrentThreadId());
    form.Create(); // activates the form
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(GetForegroundWindow(), form.window);
    EXPECT_NE(watchedPlacedAfter, form.window);
    successor->~Form();
}

// Opening and closing dialogs costs no GDI object and no new window class: the classes are
// shared, and a background colour is painted without a brush.
TEST(Form, OpeningAndClosingFormsLeaksNoClassOrBrush) {
    const auto openAndClose = [](int round, std::wstring* classes) {
        FormAbout about(nullptr);
        about.backColor = RGB(round % 256, 40, 90);
        about.Show();
        PanelChildren panel(&about);
        panel.backColor = RGB(200, round % 256, 0);
        panel.SetSize(40, 40);
        panel.Create();
        RedrawWindow(panel.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_EQ(KelTest::PixelOf(panel.window, 5, 5), panel.backColor);
        classes[0] = ClassOf(about.window);
        classes[1] = ClassOf(panel.window);
    };
    std::wstring first[2];
    std::wstring last[2];
    openAndClose(0, first); // system objects made once per process are made here
    const DWORD before = GdiObjects();
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_EQ(GdiObjects(), before + 1) << "the GDI objects cannot be counted";
    DeleteObject(probe);

    for (int round = 1; round <= 200; ++round)
        openAndClose(round, last);
    EXPECT_LE(GdiObjects(), before);
    EXPECT_EQ(last[0], first[0]);
    EXPECT_EQ(last[1], first[1]);
}

// A dialog made with an owner is owned by the owner's window: it stays in front of it, also
// when the owner is activated with the dialog as its companion.
TEST(Form, AFormMadeWithAnOwnerStaysInFrontOfIt) {
    Form owner(GetModuleHandleW(nullptr));
    owner.Create();
    Form dialog(GetModuleHandleW(nullptr), Form::Kind::ToolDialog, &owner);
    dialog.topmost = false;
    dialog.Create();
    FormAbout about(&owner);
    about.Show();
    EXPECT_EQ(GetWindow(dialog.window, GW_OWNER), owner.window);
    EXPECT_EQ(GetWindow(about.window, GW_OWNER), owner.window);

    about.ChildClick(about.okButton.get());

    // Raised, or activated with the dialog as its companion, the owner keeps the dialog in
    // front of itself.
    SetWindowPos(owner.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(InFrontOf(dialog.window, owner.window));
    owner.SetCompanion(&dialog);
    SetForegroundWindow(owner.window);
    EXPECT_TRUE(InFrontOf(dialog.window, owner.window));
}

// The user cannot drag a form smaller than its minimum tracking size; without one the
// platform's own minimum holds.
TEST(Form, AMinimumTrackSizeClampsTinySizes) {
    Form limited(GetModuleHandleW(nullptr));
    limited.minimumTrackWidth = 640;
    limited.minimumTrackHeight = 480;
    limited.Create();
    Form free(GetModuleHandleW(nullptr));
    free.Create();
    for (Form* form : {&limited, &free})
        SetWindowPos(form->window, nullptr, 0, 0, 112, 27, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowSize(limited.window).cx, 640);
    EXPECT_EQ(WindowSize(limited.window).cy, 480);
    EXPECT_LT(WindowSize(free.window).cx, 640);
}
