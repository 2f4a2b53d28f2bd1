// The first form of the test process is the main window, as in the program: it is made
// before any test and closed after them all, which must end the message loop.

#include "toolkit/form.h"
#include "toolkit/panel_children.h"
#include "toolkit/window_procedure.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>

using namespace KelUtility;

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Ends a loop that would otherwise wait for ever, and says so.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
    ADD_FAILURE() << "the message loop did not end when the first form was destroyed";
    PostQuitMessage(1);
}

class FirstFormEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_first = new Form(GetModuleHandleW(nullptr));
        m_first->SetText(std::string("Prima"));
        m_first->Create();
        m_panel = new PanelChildren(m_first);
        m_panel->Create();

        EXPECT_EQ(ClassOf(m_first->window), L"Window0");
        EXPECT_EQ(m_first->id, 1);
        EXPECT_EQ(ClassOf(m_panel->window), L"PanelChildren1");
        EXPECT_EQ(m_panel->id, 2);
        EXPECT_EQ(Dispatch().mainWindow, m_first->window);
    }

    void TearDown() override {
        Form* other = new Form(GetModuleHandleW(nullptr));
        other->Create();
        delete other;
        MSG quit;
        EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
            << "destroying a form other than the first ended the program";

        const HWND firstWindow = m_first->window;
        const UINT_PTR guard = SetTimer(nullptr, 0, 10000, &GiveUp);
        PostMessageW(firstWindow, WM_CLOSE, 0, 0);
        Run(m_first);
        KillTimer(nullptr, guard);
        EXPECT_FALSE(IsWindow(firstWindow));
        EXPECT_TRUE(m_first->destroyed);
        delete m_panel;
        delete m_first;
    }

private:
    Form* m_first = nullptr;
    PanelChildren* m_panel = nullptr;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new FirstFormEnvironment);

} // namespace
