#include "app/main_window.h"
#include "app/program_title.h"

#include <gtest/gtest.h>

using namespace MyApp;

TEST(MainWindow, OpensWithTheProgramTitleAt90PercentOfTheScreen) {
    std::unique_ptr<KelUtility::Form> form =
        CreateMainWindow(GetModuleHandleW(nullptr), ProgramTitle());
    const HWND window = form->window;
    ASSERT_NE(window, nullptr);
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0) << "icon 1005";

    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    EXPECT_STREQ(title, L"Kel Morvane (c) 2026 - Tutti i diritti riservati");

    RECT bounds;
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.top, 0);
    EXPECT_EQ(bounds.right - bounds.left, static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * 0.9));
    EXPECT_EQ(bounds.bottom - bounds.top, static_cast<int>(GetSystemMetrics(SM_CYSCREEN) * 0.9));
    EXPECT_TRUE(IsWindowVisible(window));

    form.reset();
    EXPECT_FALSE(IsWindow(window));
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
