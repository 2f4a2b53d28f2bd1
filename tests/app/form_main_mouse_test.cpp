// The preview under real mouse messages: drags turn and move the mesh, the wheel moves the
// eye, and every gesture shows in the boxes and undoes as one step.

#include "app/form_main.h"
#include "app/form_vertici.h"
#include "app/program_title.h"
#include "toolkit/currency_box.h"
#include "toolkit/gui_control.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/numeric_box.h"
#include "toolkit/status_bar.h"
#include "toolkit/sub_menu.h"
#include "viewport/d3d_panel.h"

#include "tests/support/scripted_host.h"
#include "tests/support/win32_test_elements.h"

#include <cmath>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>

using namespace MyApp;

namespace {

class FormMainMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<FormMain>(GetModuleHandleW(nullptr), ProgramTitle());
        ShowWindow(form->window, SW_SHOW);
        preview = form->viewport->window;
    }

    // The pointer is put where the message says, as the platform's own moves report it.
    void Send(UINT message, WPARAM keys, int x, int y) {
        POINT at = {x, y};
        ClientToScreen(preview, &at);
        SetCursorPos(at.x, at.y);
        PostMessageW(preview, message, keys, MAKELPARAM(x, y));
        KelTest::PumpMessages();
    }

    // A drag with the left or right button from one point to another, in three moves.
    void Drag(UINT down, UINT up, WPARAM held, POINT from, POINT to) {
        Send(down, held, from.x, from.y);
        for (int step = 1; step <= 3; ++step)
            Send(WM_MOUSEMOVE, held, from.x + (to.x - from.x) * step / 3,
                 from.y + (to.y - from.y) * step / 3);
        Send(up, 0, to.x, to.y);
    }

    // Wheel notches over the preview, sent where the platform sends them: to the focus,
    // here the main window.
    void Wheel(int notches) {
        POINT centre = {200, 200};
        ClientToScreen(preview, &centre);
        SetCursorPos(centre.x, centre.y);
        PostMessageW(form->window, WM_MOUSEWHEEL,
                     MAKEWPARAM(0, static_cast<WORD>(notches * WHEEL_DELTA)),
                     MAKELPARAM(centre.x, centre.y));
        KelTest::PumpMessages();
    }

    double EyeDistance() {
        return std::hypot(form->document.EyeX, form->document.EyeY, form->document.EyeZ);
    }

    KelTest::ScriptedHost host;
    std::unique_ptr<FormMain> form;
    HWND preview = nullptr;
};

} // namespace

TEST_F(FormMainMouseTest, DragsAndTheWheelMoveTheViewAsOneStepEach) {
    const int rotX = form->document.RotX;
    const int rotY = form->document.RotY;
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, {300, 200}, {330, 190});
    EXPECT_EQ(form->document.RotY, (rotY - 30 + 360) % 360) << "a degree a pixel";
    EXPECT_EQ(form->document.RotX, (rotX + 10) % 360);
    EXPECT_EQ(form->rotationYSpin->GetValue(), form->document.RotY) << "shown at once";
    EXPECT_NEAR(form->viewport->Yaw, form->document.RotY * FormMain::kRadiansPerDegree, 1e-9);

    const double distance = EyeDistance();
    Wheel(1);
    Wheel(1);
    Wheel(1);
    EXPECT_NEAR(EyeDistance() / distance, 0.9 * 0.9 * 0.9, 1e-5) << "as the boxes hold it";
    EXPECT_DOUBLE_EQ(form->eyeZBox->GetValue(), form->document.EyeZ);
    // Sent to the preview itself, the wheel turns it wherever the pointer is.
    PostMessageW(preview, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)),
                 MAKELPARAM(0, 0));
    KelTest::PumpMessages();
    EXPECT_NEAR(EyeDistance() / distance, 1, 1e-5);
    Wheel(200);
    EXPECT_GE(EyeDistance(), 1.0) << "never through the near plane";

    form->Undo(); // the wheel's run
    EXPECT_EQ(EyeDistance(), distance);
    form->Undo(); // the drag
    EXPECT_EQ(std::make_pair(form->document.RotX, form->document.RotY), std::make_pair(rotX, rotY));
    EXPECT_EQ(form->rotationXSpin->GetValue(), rotX);

    // A right drag to the right moves the mesh along X, towards the right of the screen.
    const double moveY = form->document.MoveY;
    Drag(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, {300, 200}, {360, 200});
    EXPECT_GT(form->document.MoveX, 0.1);
    EXPECT_NEAR(form->document.MoveY, moveY, 1e-6);
    EXPECT_EQ(form->viewport->MoveX, form->document.MoveX);
    const double moveX = form->document.MoveX;
    Drag(WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, {300, 200}, {300, 160});
    EXPECT_NEAR(form->document.MoveX, moveX, 0.1) << "the middle button moves the mesh too";
    EXPECT_GT(form->document.MoveY, moveY + 0.1);

    // A right click that does not drag offers "Ripristina vista"; the middle button nothing.
    Send(WM_MBUTTONDOWN, MK_MBUTTON, 300, 200);
    Send(WM_MBUTTONUP, 0, 300, 200);
    EXPECT_TRUE(host.contextMenus.empty());
    host.contextChoice = 1;
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 300, 200);
    Send(WM_RBUTTONUP, 0, 300, 200);
    ASSERT_EQ(host.contextMenus.size(), 1u);
    EXPECT_EQ(host.contextMenus[0], std::vector<std::wstring>{L"Ripristina &vista"});
    EXPECT_EQ(form->document.MoveX, 0);
    EXPECT_EQ(form->document.RotX + form->document.RotY + form->document.RotZ, 0);
}

// A click within a few pixels of a vertex selects its row and marks it on screen; a click on
// nothing keeps the selection; hovering names the vertex; a double click opens it.
TEST_F(FormMainMouseTest, AClickPicksTheVertexUnderThePointerAndMarksIt) {
    KelUtility::D3DPanel& panel = *form->viewport;
    D3DVIEWPORT9 viewport = {
        0, 0, static_cast<DWORD>(panel.width), static_cast<DWORD>(panel.height), 0, 1};
    const D3DXMATRIX world = panel.WorldMatrix();
    const D3DXMATRIX view = panel.ViewMatrix();
    const D3DXMATRIX projection = panel.ProjectionMatrix();
    const MeshVertex& apex = form->document.Vertices[2]; // the first of the apex's corners
    const D3DXVECTOR3 place(static_cast<float>(apex.X), static_cast<float>(apex.Y),
                            static_cast<float>(apex.Z));
    D3DXVECTOR3 screen;
    D3DXVec3Project(&screen, &place, &viewport, &projection, &view, &world);
    const int x = static_cast<int>(std::lround(screen.x));
    const int y = static_cast<int>(std::lround(screen.y));

    Send(WM_LBUTTONDOWN, MK_LBUTTON, x + 4, y + 3);
    Send(WM_LBUTTONUP, 0, x + 4, y + 3);
    EXPECT_EQ(form->vertexList->GetSelectedIndex(), 2);
    EXPECT_EQ(KelTest::PixelOf(preview, x, y), RGB(255, 255, 0)) << "the marker";
    EXPECT_EQ(KelTest::PixelOf(preview, x + 5, y), RGB(0, 0, 0)) << "its frame";

    Send(WM_LBUTTONDOWN, MK_LBUTTON, 3, 3);
    Send(WM_LBUTTONUP, 0, 3, 3);
    EXPECT_EQ(form->vertexList->GetSelectedIndex(), 2) << "nothing there";

    Send(WM_MOUSEMOVE, 0, x - 2, y + 2);
    wchar_t readout[64] = {};
    SendMessageW(form->statusBar->window, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(readout));
    EXPECT_EQ(std::wstring(readout).substr(0, 11), L"Vertice 3: ");

    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, x, y);
    Send(WM_LBUTTONUP, 0, x, y);
    ASSERT_TRUE(form->vertexDialog);
    EXPECT_EQ(form->vertexDialog->GetNarrowText(), "Modifica Vertice");
}

// The readout names the vertex under the pointer only while the pointer is over the
// preview: moving out, here onto the move pad below it, clears it as the platform's own
// leave notice comes. A window closed while the pointer was on it, as the window of a
// document closed before, never had that notice: the next window hears its own.
TEST_F(FormMainMouseTest, TheReadoutGoesWhenThePointerLeavesThePreview) {
    const auto readout = [&] {
        wchar_t text[64] = {};
        SendMessageW(form->statusBar->window, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    // The platform notices a leave on its own timer: up to two seconds for the readout.
    const auto pointAt = [&](HWND window, int x, int y, bool named) {
        POINT at = {x, y};
        ClientToScreen(window, &at);
        SetCursorPos(at.x, at.y);
        for (int wait = 0; wait < 80 && (readout().rfind(L"Vertice ", 0) == 0) != named; ++wait) {
            KelTest::PumpMessages();
            Sleep(25);
        }
        KelTest::PumpMessages();
    };
    pointAt(preview, 300, 200, true);
    form = std::make_unique<FormMain>(GetModuleHandleW(nullptr), ProgramTitle());
    ShowWindow(form->window, SW_SHOW);
    preview = form->viewport->window;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        pointAt(preview, 300 + round, 200, true);
        pointAt(preview, 310, 205, true);
        EXPECT_EQ(readout().substr(0, 8), L"Vertice ");
        pointAt(form->movePad->window, 50, 50, false);
        EXPECT_EQ(readout(), L"");
    }
    // A move the preview hears while the pointer rests elsewhere names nothing.
    PostMessageW(preview, WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
    KelTest::PumpMessages();
    EXPECT_EQ(readout(), L"");
}
