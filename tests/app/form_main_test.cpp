// The real main window under the platform: what it shows at start, its file name, and how
// its panels follow the window. The number-format case runs once more under an Italian and
// an English user locale, named in KEL_EXPECT_LOCALE.

#include "app/form_main.h"
#include "app/form_vertici.h"

#include "app/program_title.h"
#include "document/mesh_simplifier.h"
#include "toolkit/button.h"
#include "toolkit/currency_box.h"
#include "toolkit/gui_control.h"
#include "toolkit/label.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/numeric_box.h"
#include "toolkit/panel_children.h"
#include "toolkit/status_bar.h"
#include "toolkit/text_box.h"
#include "toolkit/timer.h"
#include "toolkit/tool_bar.h"
#include "toolkit/tool_bar_item.h"
#include "viewport/d3d_panel.h"

#include "tests/support/frame_pixels.h"
#include "tests/support/scripted_host.h"
#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace MyApp;
using KelTest::FramePixels;

namespace {

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

bool MenuItemGreyed(HMENU menu, int position) {
    return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) != 0;
}

std::wstring ListRow(const KelUtility::OnDemandListBox& list, int row) {
    wchar_t text[128] = {};
    SendMessageW(list.window, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    return text;
}

bool HasStyle(const KelUtility::GUIElement& element, LONG style) {
    return (GetWindowLongW(element.window, GWL_STYLE) & style) != 0;
}

std::wstring ExpectedLocale() {
    wchar_t value[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"KEL_EXPECT_LOCALE", value, 16);
    return length > 0 && length < 16 ? value : L"";
}

class FormMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<FormMain>(GetModuleHandleW(nullptr), ProgramTitle());
    }

    void Tick() { SendMessageW(form->window, WM_TIMER, form->timer->id, 0); }

    void Resize(int newWidth, int newHeight) {
        SetWindowPos(form->window, nullptr, 0, 0, newWidth, newHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    RECT ClientRectOf(const KelUtility::GUIElement& element) {
        RECT bounds;
        GetWindowRect(element.window, &bounds);
        MapWindowPoints(nullptr, form->window, reinterpret_cast<POINT*>(&bounds), 2);
        return bounds;
    }

    KelTest::ScriptedHost host;
    std::unique_ptr<FormMain> form;
};

} // namespace

TEST_F(FormMainTest, StartsWithTheSampleAndNothingToSave) {
    const HWND window = form->window;
    EXPECT_EQ(WindowText(window), L"Kel Morvane (c) 2026 - Tutti i diritti riservati");
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0) << "icon 1005";
    RECT bounds;
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.top, 0);
    EXPECT_EQ(bounds.right, static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * 0.9));
    EXPECT_EQ(bounds.bottom, static_cast<int>(GetSystemMetrics(SM_CYSCREEN) * 0.9));

    const HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(MenuText(bar, 0), L"&File");
    EXPECT_EQ(MenuText(bar, 1), L"&Modifica");
    EXPECT_EQ(MenuText(bar, 2), L"&Visualizza");
    EXPECT_EQ(MenuText(bar, 3), L"&Strumenti");
    EXPECT_EQ(MenuText(bar, 4), L"&?");
    const HMENU file = GetSubMenu(bar, 0);
    const wchar_t* const fileItems[] = {L"&Nuovo\tCtrl+N",
                                        L"&Apri\tCtrl+O",
                                        L"&Importa...\tCtrl+I",
                                        L"&Salva\tCtrl+S",
                                        L"Sa&lva come...\tCtrl+Maiusc+S",
                                        L"Esporta...",
                                        L"",
                                        L"&Esci"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(MenuText(file, i), fileItems[i]) << i;
    const HMENU edit = GetSubMenu(bar, 1);
    const wchar_t* const editItems[] = {L"&Annulla\tCtrl+Z", L"&Ripeti\tCtrl+Y, Ctrl+Maiusc+Z", L"",
                                        L"Ripristina &vista", L"Aggiungi &Triangolo...\tCtrl+T"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(MenuText(edit, i), editItems[i]) << i;
    EXPECT_TRUE(MenuItemGreyed(edit, 0) && MenuItemGreyed(edit, 1)) << "nothing to undo or redo";
    const HMENU exports = GetSubMenu(file, 5);
    const wchar_t* const exportItems[] = {
        L"Esporta come immagine...", L"Esporta come File DIrectX (.X)...",
        L"Esporta come OBJ...",      L"Esporta come PLY...",
        L"Esporta come STL...",      L"Esporta come glTF (.glb)..."};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(MenuText(exports, i), exportItems[i]) << i;
    const HMENU view = GetSubMenu(bar, 2);
    const wchar_t* const viewItems[] = {
        L"&Ombreggiato",       L"&Spigoli",          L"",
        L"&Inquadra",          L"",                  L"Vista &frontale",
        L"Vista &posteriore",  L"Vista da si&nistra", L"Vista da &destra",
        L"Vista dall'&alto",   L"Vista dal &basso"};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(MenuText(view, i), viewItems[i]) << i;
    const HMENU tools = GetSubMenu(bar, 3);
    const wchar_t* const toolItems[] = {L"&Pulisci", L"&Inverti facce", L"&Trasforma...",
                                        L"&Ottimizza per la GPU", L"&Semplifica..."};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(MenuText(tools, i), toolItems[i]) << i;
    const HMENU help = GetSubMenu(bar, 4);
    EXPECT_EQ(MenuText(help, 0), L"&Guida\tF1");
    EXPECT_EQ(MenuText(help, 2), L"&Info...");
    EXPECT_FALSE(MenuItemGreyed(file, 1));
    EXPECT_TRUE(MenuItemGreyed(file, 3)) << "&Salva";
    EXPECT_TRUE(MenuItemGreyed(file, 4)) << "Sa&lva come...";
    for (const auto* button :
         {form->saveButton.get(), form->undoButton.get(), form->redoButton.get()})
        EXPECT_FALSE(SendMessageW(form->mainToolBar->window, TB_ISBUTTONENABLED, button->id, 0));
    EXPECT_TRUE(
        SendMessageW(form->mainToolBar->window, TB_ISBUTTONENABLED, form->newButton->id, 0));

    const wchar_t* const captions[] = {L"Colore Sfondo:",  L"Larghezza:", L"Altezza:", L"Sposta:",
                                       L"Punto di Vista:", L"X",          L"Y",        L"Z",
                                       L"Rotazione:",      L"X",          L"Y",        L"Z",
                                       L"Texture:",        L"Poligoni:",  L"Vertici:", L"Indici:"};
    ASSERT_EQ(form->labels.size(), std::size(captions));
    for (std::size_t i = 0; i < form->labels.size(); ++i)
        EXPECT_EQ(WindowText(form->labels[i]->window), captions[i]) << i;
    EXPECT_EQ(WindowText(form->widthBox->window), L"640");
    EXPECT_EQ(WindowText(form->rotationYBox->window), L"33");

    EXPECT_EQ(SendMessageW(form->vertexList->window, LB_GETCOUNT, 0, 0), 12);
    EXPECT_EQ(ListRow(*form->vertexList, 0), L"1) 1 0 0");
    EXPECT_EQ(SendMessageW(form->vertexList->window, LB_GETCURSEL, 0, 0), 11) << "the last row";
    EXPECT_EQ(SendMessageW(form->indexList->window, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(FormMainTest, TheVertexListWritesNumbersAsTheUserDoes) {
    const std::wstring locale = ExpectedLocale();
    if (locale.empty())
        GTEST_SKIP() << "runs under a named user locale";
    EXPECT_EQ(ListRow(*form->vertexList, 2), locale == L"it" ? L"3) 0 2 0,5" : L"3) 0 2 0.5");
    // The messages and reports write theirs as the list does.
    SimplifyReport report;
    report.trianglesBefore = 131072;
    report.trianglesAfter = 1800;
    report.relativeError = 0.0125f;
    EXPECT_EQ(Described(report), locale == L"it"
                                     ? "Triangoli: prima 131.072, dopo 1.800.\nVertici rimossi: "
                                       "0.\nErrore relativo: 1,25 %."
                                     : "Triangoli: prima 131,072, dopo 1,800.\nVertici rimossi: "
                                       "0.\nErrore relativo: 1.25 %.");
}

TEST_F(FormMainTest, TheLargestListsGiveEveryRowFromTheDocument) {
    MeshDocument& document = form->document;
    document.Vertices.clear();
    document.Indices.clear();
    for (int i = 0; i < 65535; ++i) {
        document.Vertices.push_back({static_cast<double>(i % 100), 2, static_cast<double>(-(i % 7)), 0, 0, 0});
        document.Indices.push_back(static_cast<std::uint16_t>(i * 7 % 65535));
    }
    form->LoadControls();
    for (const auto* list : {form->vertexList.get(), form->indexList.get()}) {
        EXPECT_EQ(SendMessageW(list->window, LB_GETCOUNT, 0, 0), 65535);
        EXPECT_EQ(SendMessageW(list->window, LB_GETCURSEL, 0, 0), 65534) << "the last row";
    }
    const struct {
        int row;
        const wchar_t* vertex;
        const wchar_t* index;
    } rows[] = {{0, L"1) 0 2 0", L"1) 0"},
                {1, L"2) 1 2 -1", L"2) 7"},
                {32767, L"32768) 67 2 0", L"32768) 32764"},
                {65534, L"65535) 34 2 0", L"65535) 65528"}};
    for (const auto& row : rows) {
        EXPECT_EQ(ListRow(*form->vertexList, row.row), row.vertex);
        EXPECT_EQ(ListRow(*form->indexList, row.row), row.index);
        EXPECT_EQ(SendMessageW(form->vertexList->window, LB_GETTEXTLEN, row.row, 0),
                  static_cast<LRESULT>(wcslen(row.vertex)));
    }
    EXPECT_EQ(SendMessageW(form->vertexList->window, LB_GETTEXTLEN, 65535, 0), LB_ERR);
}

TEST_F(FormMainTest, TheFileNameEndsInKv3AndShowsInTheStatusBar) {
    const HMENU file = GetSubMenu(GetMenu(form->window), 0);
    const struct {
        const char* given;
        const char* stored;
    } names[] = {{"C:\\lavori\\Piramide.KV3", "C:\\lavori\\Piramide.KV3"},
                 {"note.txt", "note.txt.kv3"},
                 {"a", "a.kv3"},
                 {".kv3", ".kv3.kv3"}};
    for (const auto& name : names) {
        form->SetFileName(name.given);
        EXPECT_EQ(form->ProjectPath, name.stored);
        EXPECT_EQ(form->statusBar->GetNarrowText(), name.stored);
        EXPECT_FALSE(MenuItemGreyed(file, 4)) << name.given;
    }
    form->SetFileName("");
    EXPECT_EQ(form->statusBar->GetNarrowText(), "");
    EXPECT_TRUE(MenuItemGreyed(file, 4));
}

TEST_F(FormMainTest, PanelsAndScrollBarsFollowTheWindow) {
    Resize(600, 700);
    RECT client;
    GetClientRect(form->window, &client);
    const RECT status = ClientRectOf(*form->statusBar);
    EXPECT_EQ(status.left, 0);
    EXPECT_EQ(status.right, client.right);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_LE(ClientRectOf(*form->controlsPanel).bottom, status.top);

    Tick();
    EXPECT_TRUE(HasStyle(*form->viewportContainer, WS_HSCROLL)) << "narrower than the preview";
    EXPECT_TRUE(HasStyle(*form->controlsPanel, WS_HSCROLL)) << "below 1000 pixels";

    Resize(1200, 900);
    EXPECT_TRUE(HasStyle(*form->viewportContainer, WS_HSCROLL)) << "kept until the next tick";
    Tick();
    EXPECT_FALSE(HasStyle(*form->viewportContainer, WS_HSCROLL));
    EXPECT_FALSE(HasStyle(*form->viewportContainer, WS_VSCROLL));
    EXPECT_FALSE(HasStyle(*form->controlsPanel, WS_HSCROLL));

    // Five pixels more than the preview's height, until a wider preview brings the
    // horizontal bar, which takes more than that: the vertical bar must follow.
    RECT inside, outside;
    GetClientRect(form->viewportContainer->window, &inside);
    GetWindowRect(form->window, &outside);
    Resize(outside.right - outside.left, outside.bottom - outside.top + 485 - inside.bottom);
    form->widthSpin->SetValue(1300);
    Tick();
    Tick();
    EXPECT_TRUE(HasStyle(*form->viewportContainer, WS_HSCROLL));
    EXPECT_TRUE(HasStyle(*form->viewportContainer, WS_VSCROLL)) << "the bottom can be reached";

    Resize(112, 27); // the window keeps a size where every part is usable
    GetWindowRect(form->window, &outside);
    EXPECT_EQ(outside.right - outside.left, 480);
    EXPECT_EQ(outside.bottom - outside.top, 420);
    EXPECT_GT(ClientRectOf(*form->controlsPanel).top, ClientRectOf(*form->mainToolBar).bottom);
}

// A move to a monitor of 150 % and back: every control is made anew at its size (as large
// as this 1,280-pixel screen lets the whole layout be), with what the boxes and the lists
// held, and the window goes where the system proposes.
TEST_F(FormMainTest, TheLayoutFollowsTheWindowsDpi) {
    const RECT box = ClientRectOf(*form->widthBox);
    const RECT pad = ClientRectOf(*form->movePad);
    form->widthBox->SetText("777");
    form->vertexList->SetSelectedIndex(2);
    form->eyeYBox->SetValue(-8.88888e+288);
    EXPECT_TRUE(KelTest::ShowsWholeText(form->eyeYBox->window));
    const RECT suggested = {20, 30, 1020, 830};
    SendMessageW(form->window, WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT outside;
    GetWindowRect(form->window, &outside);
    EXPECT_EQ(outside.left, 20);
    EXPECT_EQ(outside.bottom, 830);
    const RECT scaledBox = ClientRectOf(*form->widthBox);
    EXPECT_GT(scaledBox.bottom - scaledBox.top, box.bottom - box.top);
    const RECT scaledPad = ClientRectOf(*form->movePad);
    EXPECT_GT(scaledPad.right - scaledPad.left, pad.right - pad.left);
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->widthBox->window, WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_GT(font.lfHeight, 14) << "the designed 14 pixels, scaled";
    EXPECT_EQ(form->document.ViewWidth, 777) << "the typed width was taken first";
    EXPECT_EQ(form->widthBox->GetNarrowText(), "777");
    EXPECT_EQ(form->vertexList->GetSelectedIndex(), 2);
    EXPECT_TRUE(KelTest::ShowsWholeText(form->eyeYBox->window));
    EXPECT_TRUE(form->saveButton->enabled) << "the document is still modified";

    SendMessageW(form->window, WM_DPICHANGED, MAKEWPARAM(96, 96),
                 reinterpret_cast<LPARAM>(&suggested));
    const RECT back = ClientRectOf(*form->widthBox);
    EXPECT_EQ(back.bottom - back.top, box.bottom - box.top);
}

TEST_F(FormMainTest, ThePreviewShowsThePyramidOnScreen) {
    const FramePixels frame = KelTest::DrawFrame(*form->viewport);
    ASSERT_EQ(frame.width, 640);
    int orange = 0;
    for (std::uint32_t pixel : frame.pixels)
        orange += (pixel >> 16) == 0xFF && ((pixel >> 8) & 0xFF) >= 0x70 &&
                  ((pixel >> 8) & 0xFF) <= 0x90 && (pixel & 0xFF) < 0x50;
    EXPECT_GT(orange, 1000);
    EXPECT_EQ(frame.At(0, 0), 0u) << "the sample's black background";
    EXPECT_EQ(KelTest::ScreenDifference(frame, form->viewport->window), 0);
}

TEST_F(FormMainTest, ClosingStopsTheTickWhileTheWindowExists) {
    const HWND window = form->window;
    EXPECT_TRUE(form->timer->running);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(form->timer->running);
    form.reset(); // after the window: asks nothing, touches no window
}

// Tab walks each window in the order its controls stand: the main window from the preview
// through every control of the panel and back, a dialog's buttons left to right.
TEST_F(FormMainTest, TabFollowsTheOrderTheControlsStandIn) {
    const auto tab = [](HWND from) {
        SendMessageW(from, WM_KEYDOWN, VK_TAB, 0);
        return GetFocus();
    };
    const FormMain& f = *form;
    const std::vector<const KelUtility::GUIElement*> order = {
        f.viewportContainer.get(), f.colorButton.get(),  f.widthBox.get(),     f.heightBox.get(),
        f.movePad.get(),           f.eyeXBox.get(),      f.eyeYBox.get(),      f.eyeZBox.get(),
        f.rotationXBox.get(),      f.rotationYBox.get(), f.rotationZBox.get(), f.textureBox.get(),
        f.textureButton.get(),     f.facesBox.get(),     f.vertexList.get(),   f.indexList.get(),
        f.viewportContainer.get()};
    SetFocus(form->window);
    HWND at = form->window;
    for (std::size_t step = 0; step < order.size(); ++step) {
        at = tab(at);
        EXPECT_EQ(at, order[step]->window) << "Tab number " << step + 1;
    }

    FormVertici dialog(form.get(), "Aggiungi Vertice");
    EXPECT_EQ(tab(dialog.tvBox->window), dialog.okButton->window);
    EXPECT_EQ(tab(dialog.okButton->window), dialog.cancelButton->window);
}
