#include "toolkit/button.h"
#include "toolkit/cell_control.h"
#include "toolkit/dialog_host.h"
#include "toolkit/font.h"
#include "toolkit/form_about.h"
#include "toolkit/text_box.h"

#include "tests/support/win32_test_elements.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace KelUtility;
using KelTest::CountPixelsOtherThan;
using KelTest::NewHostForm;
using KelTest::PumpMessages;

namespace {

// Keeps what the shell was asked to open; any other modal window is a failure.
class ShellRecorder : public DialogHost {
public:
    ShellRecorder() : previous(SetDialogHost(this)) {}
    ~ShellRecorder() override { SetDialogHost(previous); }

    int RunMessageBox(HWND, const std::string& text, const std::string&, UINT) override {
        ADD_FAILURE() << "message box: " << text;
        return 0;
    }
    bool RunColorDialog(CHOOSECOLORW&) override { return Unexpected(); }
    bool RunOpenDialog(OPENFILENAMEW&) override { return Unexpected(); }
    bool RunSaveDialog(OPENFILENAMEW&) override { return Unexpected(); }
    HINSTANCE RunShellExecute(HWND, const wchar_t*, const wchar_t* file, const wchar_t*,
                              const wchar_t*, int) override {
        targets.push_back(file);
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
    }

    std::vector<std::wstring> targets;

private:
    static bool Unexpected() {
        ADD_FAILURE() << "a dialog was opened";
        return false;
    }

    DialogHost* previous;
};

// An owner form with its About box on screen, filled in as the program fills it.
struct OpenAbout {
    OpenAbout() : owner(NewHostForm()), about(std::make_unique<FormAbout>(owner.get())) {
        about->pictureResource = 1006;
        about->pictureWidth = 164;
        about->pictureHeight = 50;
        about->titleText = "Kel Morvane 1.0.0.0";
        about->rightsText = "(c) 2026 Kel Morvane";
        about->noticeText = "Avviso.";
        about->homePage = "http://www.kelmorvane.example";
        about->Show();
        PumpMessages();
    }

    std::unique_ptr<Form> owner;
    std::unique_ptr<FormAbout> about; // goes before its owner
};

// A key as the keyboard types it: down, the character the translation makes, up.
void Type(HWND window, int key) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(key), 0)) << 16;
    PostMessageW(window, WM_KEYDOWN, static_cast<WPARAM>(key), scan | 1);
    PostMessageW(window, WM_KEYUP, static_cast<WPARAM>(key), scan | 0xC0000001);
    PumpMessages();
}

void Click(HWND window) {
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpMessages();
}

} // namespace

TEST(FormAbout, EnterOrEscapeInAnyControlClosesTheBoxAndGivesTheOwnerBack) {
    struct Case {
        const char* control;
        int key;
        HWND (*window)(const FormAbout& about);
    };
    const Case cases[] = {
        {"notice", VK_RETURN, [](const FormAbout& a) { return a.noticeBox->window; }},
        {"button", VK_ESCAPE, [](const FormAbout& a) { return a.okButton->window; }},
        {"link", VK_RETURN, [](const FormAbout& a) { return a.mailLink->window; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        OpenAbout open;
        FormAbout& about = *open.about;
        ASSERT_TRUE(IsWindowVisible(about.window));
        RECT client;
        GetClientRect(about.window, &client);
        EXPECT_EQ(client.right, 600);
        EXPECT_EQ(client.bottom, 300);
        EXPECT_FALSE(IsWindowEnabled(open.owner->window));
        EXPECT_EQ(open.owner->companion, &about);

        // Any other character leaves the box open.
        Type(about.noticeBox->window, 'X');
        ASSERT_TRUE(IsWindow(about.window));

        Type(c.window(about), c.key);
        EXPECT_FALSE(IsWindow(about.window));
        EXPECT_TRUE(IsWindowEnabled(open.owner->window));
        EXPECT_EQ(open.owner->companion, nullptr);
    }

    // An opener that deletes a box still on screen gets its window back as well.
    OpenAbout open;
    open.about.reset();
    EXPECT_TRUE(IsWindowEnabled(open.owner->window));
    EXPECT_EQ(open.owner->companion, nullptr);
}

TEST(FormAbout, LinksOpenTheHomePageAndMailToTheLinksCurrentText) {
    ShellRecorder shell;
    OpenAbout open;
    FormAbout& about = *open.about;
    Click(about.homeLink->window);
    Click(about.mailLink->window);
    about.mailLink->SetText(std::string("supporto@kelmorvane.example"));
    Click(about.mailLink->window);
    const std::vector<std::wstring> expected = {L"http://www.kelmorvane.example",
                                                L"mailto:info@kelmorvane.example",
                                                L"mailto:supporto@kelmorvane.example"};
    EXPECT_EQ(shell.targets, expected);

    // The mail address is at the site's domain, whatever the scheme, path or port.
    const char* const addresses[][2] = {
        {"https://www.kelmorvane.example/download/", "info@kelmorvane.example"},
        {"http://kelmorvane.example:8080?lang=it", "info@kelmorvane.example"},
        {"www.kelmorvane.example", "info@kelmorvane.example"},
        {"http://", ""},
    };
    for (const auto& address : addresses)
        EXPECT_EQ(FormAbout::MailAddressFor(address[0]), address[1]) << address[0];
}

TEST(CellControl, ANewTextShowsAtOnceAndAnEmptyOneLeavesOnlyTheBackground) {
    auto host = NewHostForm();
    CellControl cell(host.get());
    cell.SetPosition(10, 10);
    cell.SetSize(200, 40);
    cell.fontName = "Arial";
    cell.fontSize = 30;
    cell.bold = true;
    cell.SetText(std::string("MMM"));
    cell.Create();
    PumpMessages();
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    EXPECT_GT(CountPixelsOtherThan(cell.window, background), 100);

    cell.SetText(std::string(""));
    PumpMessages();
    EXPECT_EQ(CountPixelsOtherThan(cell.window, background), 0);

    cell.SetText(std::wstring(L"WW"));
    PumpMessages();
    EXPECT_GT(CountPixelsOtherThan(cell.window, background), 100);
}

// Every link is wide enough for its whole address in the link font, side by side and
// within the box's client area, for the program's address and a longer one.
TEST(FormAbout, LinksAreWideEnoughForTheirWholeAddress) {
    for (const char* homePage : {"http://www.kelmorvane.example", "http://www.kelmorvane.it"}) {
        OpenAbout open;
        if (open.about->homePage != homePage) {
            open.about = std::make_unique<FormAbout>(open.owner.get());
            open.about->homePage = homePage;
            open.about->Show();
        }
        RECT client;
        GetClientRect(open.about->window, &client);
        HDC dc = GetDC(open.about->window);
        SelectObject(dc, open.about->linkFont->Handle());
        int previousRight = 0;
        for (CellControl* link : {open.about->homeLink.get(), open.about->mailLink.get()}) {
            const std::wstring text = link->GetText();
            SIZE extent = {};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            const POINT at = link->GetPosition();
            EXPECT_GE(link->GetSize().cx, extent.cx) << homePage;
            EXPECT_GE(at.x, previousRight);
            previousRight = at.x + link->GetSize().cx;
        }
        EXPECT_LE(previousRight, client.right);
        ReleaseDC(open.about->window, dc);
    }
}
