#include "toolkit/status_bar.h"
#include "toolkit/timer.h"
#include "toolkit/tool_bar.h"
#include "toolkit/tool_bar_item.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace KelUtility;

namespace {

constexpr int kListImages = 1008;
constexpr int kStandardSmallImages = 15;

int clicks = 0;
int ticks = 0;
void CountClick(GUIElement*) { ++clicks; }
void CountTick(GUIElement*) { ++ticks; }

TBBUTTON ButtonAt(const ToolBar& bar, int index) {
    TBBUTTON button = {};
    SendMessageW(bar.window, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
    return button;
}

LRESULT StateOf(const ToolBar& bar, const ToolBarItem& item) {
    return SendMessageW(bar.window, TB_GETSTATE, item.id, 0);
}

// The tool bar of a vertex list: three images of the program's strip and a separator.
class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int k = 0; k < 3; ++k) {
            auto item = std::make_unique<ToolBarItem>(&bar);
            item->bitmapResource = kListImages;
            item->imageCount = 8;
            item->imageOffset = k;
            item->OnClick = &CountClick;
            bar.AddItem(item.get());
            items.push_back(std::move(item));
        }
        items.push_back(std::make_unique<ToolBarItem>(&bar));
        items.back()->buttonStyle = TBSTYLE_SEP;
        bar.AddItem(items.back().get());
        items[1]->SetToolTip("Aggiungi");
    }

    std::unique_ptr<Form> form = KelTest::NewHostForm();
    ToolBar bar{form.get()};
    std::vector<std::unique_ptr<ToolBarItem>> items;
};

} // namespace

TEST_F(ToolBarTest, StylesFollowAlignmentAndResizing) {
    EXPECT_EQ(bar.Style(), 0x50000141u);
    ToolBar placed(form.get());
    placed.autoResize = false;
    placed.alignTop = false;
    placed.Create();
    const LONG style = GetWindowLongW(placed.window, GWL_STYLE);
    EXPECT_EQ(style & (CCS_NORESIZE | CCS_NOPARENTALIGN), CCS_NORESIZE | CCS_NOPARENTALIGN);
}

TEST_F(ToolBarTest, ItemsOfAStripShowItsImagesAfterTheStandardOnes) {
    bar.Create();
    ASSERT_EQ(SendMessageW(bar.window, TB_BUTTONCOUNT, 0, 0), 4);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(ButtonAt(bar, k).iBitmap, kStandardSmallImages + k);
        EXPECT_EQ(ButtonAt(bar, k).idCommand, items[k]->id);
    }
    EXPECT_EQ(ButtonAt(bar, 3).fsStyle, TBSTYLE_SEP);
    EXPECT_GT(items[3]->id, items[2]->id);

    // Around the glyph the strip's grey is transparent; the glyph itself is not.
    HIMAGELIST images =
        reinterpret_cast<HIMAGELIST>(SendMessageW(bar.window, TB_GETIMAGELIST, 0, 0));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, canvas);
    const RECT all = {0, 0, 16, 16};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    ImageList_Draw(images, kStandardSmallImages + 1, dc, 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(dc, 8, 8), RGB(255, 0, 0));
    SelectObject(dc, previous);
    DeleteObject(red);
    DeleteObject(canvas);
    DeleteDC(dc);

    bar.RefreshButtons(); // resolved images are kept
    EXPECT_EQ(SendMessageW(bar.window, TB_BUTTONCOUNT, 0, 0), 4);
    EXPECT_EQ(ButtonAt(bar, 2).iBitmap, kStandardSmallImages + 2);
}

TEST_F(ToolBarTest, AStripWithANegativeCountAddsNoImages) {
    ToolBar other(form.get());
    ToolBarItem item(&other);
    item.bitmapResource = kListImages;
    item.imageCount = -1;
    item.imageOffset = 2;
    other.AddItem(&item);
    other.Create();
    EXPECT_EQ(ButtonAt(other, 0).iBitmap, 0);
    HIMAGELIST images =
        reinterpret_cast<HIMAGELIST>(SendMessageW(other.window, TB_GETIMAGELIST, 0, 0));
    EXPECT_EQ(ImageList_GetImageCount(images), kStandardSmallImages);
}

TEST_F(ToolBarTest, DisablingShowsAfterARefresh) {
    bar.Create();
    items[0]->SetEnabled(false);
    EXPECT_TRUE(StateOf(bar, *items[0]) & TBSTATE_ENABLED);
    bar.RefreshButtons();
    EXPECT_FALSE(StateOf(bar, *items[0]) & TBSTATE_ENABLED);
    EXPECT_TRUE(StateOf(bar, *items[1]) & TBSTATE_ENABLED);
}

TEST_F(ToolBarTest, ClicksAndTooltipsReachTheItems) {
    bar.Create();
    clicks = 0;
    RECT button;
    SendMessageW(bar.window, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&button));
    const LPARAM middle = MAKELPARAM((button.left + button.right) / 2,
                                     (button.top + button.bottom) / 2);
    SendMessageW(bar.window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(bar.window, WM_LBUTTONUP, 0, middle);
    EXPECT_EQ(clicks, 1);

    NMTTDISPINFOW request = {};
    request.hdr.hwndFrom = bar.window;
    request.hdr.idFrom = static_cast<UINT_PTR>(items[1]->id);
    request.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(form->window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    ASSERT_NE(request.lpszText, nullptr);
    EXPECT_STREQ(request.lpszText, L"Aggiungi");
}

TEST(StatusBar, ShowsTheElementsText) {
    auto form = KelTest::NewHostForm();
    StatusBar status(form.get(), "C:\\progetti\\piramide.kv3");
    status.Create();
    wchar_t shown[128] = {};
    SendMessageW(status.window, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(shown));
    EXPECT_STREQ(shown, L"C:\\progetti\\piramide.kv3");
    status.SetText(std::string());
    shown[0] = L'?'; // an empty part leaves the buffer as it was
    SendMessageW(status.window, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(shown));
    EXPECT_TRUE(shown[0] == L'\0' || shown[0] == L'?');
    EXPECT_EQ(SendMessageW(status.window, SB_GETTEXTLENGTHW, 0, 0) & 0xFFFF, 0);
}

TEST(Timer, TicksArriveThroughTheParentUntilStopped) {
    auto form = KelTest::NewHostForm();
    Timer timer(form.get(), 40);
    timer.OnTick = &CountTick;
    timer.Start();
    const int id = timer.id;
    timer.Start();
    EXPECT_EQ(timer.id, id);
    EXPECT_FALSE(IsWindowVisible(timer.window));
    ticks = 0;
    const DWORD until = GetTickCount() + 400;
    while (GetTickCount() < until) {
        KelTest::PumpMessages();
        Sleep(5);
    }
    EXPECT_GE(ticks, 2);
    EXPECT_LE(ticks, 11); // one timer, not two
    timer.Stop();
    timer.Stop();
    KelTest::PumpMessages();
    ticks = 0;
    Sleep(120);
    KelTest::PumpMessages();
    EXPECT_EQ(ticks, 0);
}
