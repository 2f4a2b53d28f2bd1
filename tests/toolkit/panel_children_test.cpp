#include "toolkit/form.h"
#include "toolkit/panel_children.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace KelUtility;
using KelTest::NewEdit;

namespace {

std::vector<int> verticalDeltas;

void RecordVertical(GUIElement*, int delta) { verticalDeltas.push_back(delta); }

SCROLLINFO VerticalBar(const PanelChildren& panel) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(panel.window, SB_VERT, &info);
    return info;
}

COLORREF BrushColor(HBRUSH brush) {
    LOGBRUSH description = {};
    GetObjectW(brush, sizeof description, &description);
    return description.lbColor;
}

class PanelChildrenTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = KelTest::NewHostForm();
        panel = std::make_unique<PanelChildren>(form.get());
        panel->SetPosition(0, 0);
        panel->SetSize(300, 200);
        panel->vScroll = true;
        panel->OnVScroll = &RecordVertical;
        panel->Create();
        panel->SetVScrollMax(100);
        verticalDeltas.clear();
    }

    void Scroll(int request) { SendMessageW(panel->window, WM_VSCROLL, request, 0); }

    std::unique_ptr<Form> form;
    std::unique_ptr<PanelChildren> panel;
};

} // namespace

TEST_F(PanelChildrenTest, ScrollRangesAndPages) {
    SCROLLINFO info = VerticalBar(*panel);
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 110);
    EXPECT_EQ(info.nPage, 10u);
    panel->SetScrollRange(0, 100);
    info = VerticalBar(*panel);
    EXPECT_EQ(info.nMax, 100);
    EXPECT_EQ(info.nPage, 10u);
}

TEST_F(PanelChildrenTest, ScrollRequestsReportTheRequestedChange) {
    Scroll(SB_LINEUP);
    EXPECT_EQ(VerticalBar(*panel).nPos, 0);
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(VerticalBar(*panel).nPos, 1);
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(VerticalBar(*panel).nPos, 11);
    Scroll(SB_TOP);
    EXPECT_EQ(VerticalBar(*panel).nPos, 0);
    Scroll(SB_ENDSCROLL);
    EXPECT_EQ(verticalDeltas, (std::vector<int>{1, -1, -10, 11}));

    Scroll(SB_BOTTOM);
    EXPECT_EQ(VerticalBar(*panel).nPos, 101); // the platform keeps a page inside the range
    panel->ScrollHomeV();
    EXPECT_EQ(VerticalBar(*panel).nPos, 0);
    EXPECT_EQ(verticalDeltas.size(), 5u);
}

TEST_F(PanelChildrenTest, TheWheelScrollsTheLastClickedPanelOnePage) {
    std::unique_ptr<GUIElement> edit(NewEdit(panel.get(), 10, 10));
    SendMessageW(panel->window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(250, 150));
    SendMessageW(panel->window, WM_LBUTTONUP, 0, MAKELPARAM(250, 150));
    SendMessageW(edit->window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);
    EXPECT_EQ(VerticalBar(*panel).nPos, 10);
    SendMessageW(edit->window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(VerticalBar(*panel).nPos, 0);
    EXPECT_EQ(verticalDeltas, (std::vector<int>{-10, 10}));
}

TEST_F(PanelChildrenTest, ChildrenGetThePanelsColours) {
    std::unique_ptr<GUIElement> edit(NewEdit(panel.get(), 10, 10));
    HDC dc = GetDC(edit->window);
    const auto ask = [&] {
        return reinterpret_cast<HBRUSH>(SendMessageW(panel->window, WM_CTLCOLOREDIT,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(edit->window)));
    };
    SetTextColor(dc, RGB(9, 9, 9));
    EXPECT_EQ(ask(), GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetTextColor(dc), RGB(9, 9, 9));

    panel->backColor = RGB(10, 20, 30);
    EXPECT_EQ(BrushColor(ask()), RGB(10, 20, 30));
    EXPECT_EQ(GetBkColor(dc), RGB(10, 20, 30));

    panel->childBackColor = RGB(200, 100, 50);
    panel->childTextColor = RGB(1, 2, 3);
    EXPECT_EQ(BrushColor(ask()), RGB(200, 100, 50));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));

    panel->colorChildren = false;
    EXPECT_NE(ask(), panel->controlBrush);
    ReleaseDC(edit->window, dc);
}
