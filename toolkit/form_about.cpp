#include "toolkit/form_about.h"

#include "toolkit/button.h"
#include "toolkit/cell_control.h"
#include "toolkit/dpi.h"
#include "toolkit/drawing.h"
#include "toolkit/font.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/panel_children.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_box.h"
#include "toolkit/text_conversion.h"

#include <algorithm>

namespace KelUtility {
namespace {

constexpr int kClientWidth = 600;
constexpr int kClientHeight = 300;
constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr COLORREF kLinkColour = 0x00FF0000; // blue
constexpr int kLinkWidth = 150;
constexpr int kLinkHeight = 22;
constexpr int kLinkGap = 10;
constexpr int kLinkMargin = 2; // a pixel or two to spare after the text
constexpr int kLineHeight = 25;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
const char* const kFontFace = "Arial";
const char* const kMailbox = "info";
const char* const kMailScheme = "mailto:";

// The About box that holds the element, or the element itself when it is one.
FormAbout* AboutOf(GUIElement* element) {
    for (GUIElement* e = element; e != nullptr; e = e->parent) {
        if (auto* about = dynamic_cast<FormAbout*>(e))
            return about;
    }
    return nullptr;
}

void RouteCreated(GUIElement* element, HWND) {
    if (FormAbout* about = AboutOf(element))
        about->CreateControls();
}

bool RouteClosing(GUIElement* element) {
    FormAbout* about = AboutOf(element);
    return about == nullptr || about->FormClosing();
}

void RouteResize(GUIElement* element) {
    if (FormAbout* about = AboutOf(element))
        about->FormResized();
}

bool RouteKeyPress(GUIElement* element, int character) {
    FormAbout* about = AboutOf(element);
    return about == nullptr || about->FormKeyPress(character);
}

void RouteKeyDown(GUIElement* element, int key) {
    if (FormAbout* about = AboutOf(element))
        about->FormKeyDown(key);
}

void RouteKeyUp(GUIElement* element, int key) {
    if (FormAbout* about = AboutOf(element))
        about->FormKeyUp(key);
}

void RouteLinkDown(GUIElement* link, HWND, int x, int y) {
    if (FormAbout* about = AboutOf(link))
        about->LinkClicked(link, x, y);
}

void RouteClick(GUIElement* element) {
    if (FormAbout* about = AboutOf(element))
        about->ChildClick(element);
}

// Every control of the box sends its typed characters to the box.
void Place(GUIElement& element, int left, int top, int boxWidth, int boxHeight) {
    element.SetPosition(left, top);
    element.SetSize(boxWidth, boxHeight);
    element.OnKeyPress = &RouteKeyPress;
}

// A multi-line edit box breaks lines only at CR LF; a lone LF would show as nothing.
std::string WithWindowsLineBreaks(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            result += '\r';
        result += text[i];
    }
    return result;
}

HINSTANCE InstanceOf(const Form* form) {
    return form != nullptr ? form->instance : GetModuleHandleW(nullptr);
}

} // namespace

// The box is laid out for the DPI of the window that opens it.
FormAbout::FormAbout(Form* opener)
    : Form(InstanceOf(opener), Kind::ToolDialog, opener),
      m_dpi(WindowDpi(opener != nullptr ? opener->window : nullptr)) {
    formFont = std::make_unique<Font>(kFontFace, Px(14));
    titleFont = std::make_unique<Font>(kFontFace, Px(16));
    linkFont = std::make_unique<Font>(kFontFace, Px(16));
    titleFont->bold = true;
    linkFont->underline = true;
    topmost = false;
    minimizeBox = false;
    resizable = false;
    modalFrame = true;
    font = formFont.get();
    SetSize(Px(kClientWidth), Px(kClientHeight));
    CenterOnScreen();
    SetText(std::string("Info..."));
    OnCreated = &RouteCreated;
    OnClosing = &RouteClosing;
    OnResize = &RouteResize;
    OnKeyPress = &RouteKeyPress;
    OnKeyDown = &RouteKeyDown;
    OnKeyUp = &RouteKeyUp;
    if (owner != nullptr) {
        owner->SetEnabled(false);
        owner->SetCompanion(this);
    }
}

FormAbout::~FormAbout() {
    // Closed here, while this is still an About box, so that FormClosing gives the owner
    // back; the form's own destructor would close a plain form.
    if (window != nullptr && IsWindow(window)) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        created = false;
    }
    ReleaseOwner();
}

void FormAbout::Shown() {
    Form::Shown();
    if (created || window == nullptr) {
        SetClientSize(Px(kClientWidth), Px(kClientHeight));
        return;
    }
    // The window shows itself while it is being made, before the form counts as created,
    // when SetClientSize would only store the size: the frame is measured here instead.
    RECT bounds = {0, 0, Px(kClientWidth), Px(kClientHeight)};
    AdjustWindowRectEx(&bounds, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    width = bounds.right - bounds.left;
    height = bounds.bottom - bounds.top;
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormAbout::CreateControls() {
    int formWidth = width;
    int formHeight = height;
    RECT client;
    if (created && GetClientRect(window, &client)) {
        formWidth = client.right;
        formHeight = client.bottom;
    }
    const int left = Px(pictureWidth + 45);
    const int columnWidth = formWidth - left - Px(10);

    picturePanel = std::make_unique<PanelChildren>(this);
    Place(*picturePanel, Px(10), Px(10), Px(pictureWidth + 20), formHeight - Px(20));
    picturePanel->border = true;
    picturePanel->Create();

    picture = std::make_unique<Image>(picturePanel.get(), pictureResource);
    Place(*picture, Px(5), Px(5), Px(pictureWidth), Px(pictureHeight));
    picture->fitToSize = m_dpi != kDesignDpi;
    picture->Create();

    titleLabel = std::make_unique<Label>(this, titleText);
    Place(*titleLabel, left, Px(10), columnWidth, Px(kLineHeight));
    titleLabel->font = titleFont.get();
    titleLabel->Create();

    rightsLabel = std::make_unique<Label>(this, rightsText);
    Place(*rightsLabel, left, Px(35), columnWidth, Px(kLineHeight));
    rightsLabel->font = formFont.get();
    rightsLabel->Create();

    // Each link is as wide as its address in the link font, and never narrower than the
    // usual 150 pixels; the space between them narrows before the second would pass the
    // column's edge, where it ends at most.
    homeLink = std::make_unique<CellControl>(this);
    mailLink = std::make_unique<CellControl>(this);
    const std::string linkTexts[] = {homePage, MailAddressFor(homePage)};
    CellControl* links[] = {homeLink.get(), mailLink.get()};
    int wanted[2];
    for (int i = 0; i < 2; ++i)
        wanted[i] = std::max(Px(kLinkWidth),
                             linkFont->TextWidth(ToWide(linkTexts[i]).c_str()) + Px(kLinkMargin));
    const int gap = std::max(0, std::min(Px(kLinkGap), columnWidth - wanted[0] - wanted[1]));
    int linkLeft = left;
    for (int i = 0; i < 2; ++i) {
        CellControl& link = *links[i];
        const int linkWidth = std::max(0, std::min(wanted[i], left + columnWidth - linkLeft));
        Place(link, linkLeft, Px(55), linkWidth, Px(kLinkHeight));
        linkLeft += linkWidth + gap;
        link.textColour = kLinkColour;
        link.alignment = Drawing::AlignLeft;
        link.SetText(linkTexts[i]);
        link.SetHandCursor(true);
        link.font = linkFont.get();
        link.OnMouseDown = &RouteLinkDown;
        link.Create();
    }

    noticeBox = std::make_unique<TextBox>(this, WithWindowsLineBreaks(noticeText));
    Place(*noticeBox, left, Px(85), columnWidth, formHeight - Px(145));
    noticeBox->multiline = true;
    noticeBox->wordWrap = true; // a paragraph, not one long scrolling line
    noticeBox->readOnly = true;
    noticeBox->verticalScroll = true;
    noticeBox->font = formFont.get();
    noticeBox->Create();

    okButton = std::make_unique<Button>(this, "OK");
    Place(*okButton, left + columnWidth / 2 - Px(kButtonWidth) / 2, formHeight - Px(50),
          Px(kButtonWidth), Px(kButtonHeight));
    okButton->OnClick = &RouteClick;
    okButton->font = formFont.get();
    okButton->Create();
    okButton->Focus();
}

bool FormAbout::FormClosing() {
    UnregisterHotKeys();
    ReleaseOwner();
    return true;
}

void FormAbout::FormResized() {}

bool FormAbout::FormKeyPress(int character) {
    if (character != kEnter && character != kEscape)
        return true;
    ChildClick(okButton.get());
    return false;
}

void FormAbout::FormKeyDown(int) {}

void FormAbout::FormKeyUp(int) {}

void FormAbout::ChildClick(GUIElement* element) {
    if (element == nullptr || element != okButton.get())
        return;
    SendMessageW(window, WM_CLOSE, 0, 0);
    created = false;
}

void FormAbout::LinkClicked(GUIElement* link, int, int) {
    if (link == nullptr)
        return;
    if (link == homeLink.get() && !homePage.empty())
        ShellOpen(homePage);
    else if (link == mailLink.get() && !link->GetText().empty())
        ShellOpen(kMailScheme + link->GetNarrowText());
}

std::string FormAbout::MailAddressFor(const std::string& homePage) {
    std::string host = homePage;
    const std::size_t scheme = host.find("://");
    if (scheme != std::string::npos)
        host.erase(0, scheme + 3);
    host = host.substr(0, host.find_first_of("/?#:"));
    if (host.empty())
        return "";
    // Only a host below the site's domain loses its first label: www.example.it, not
    // example.it.
    if (std::count(host.begin(), host.end(), '.') >= 2)
        host.erase(0, host.find('.') + 1);
    return kMailbox + ("@" + host);
}

int FormAbout::Px(int length) const {
    return Scaled(length, m_dpi);
}

void FormAbout::ReleaseOwner() {
    if (ownerReleased || owner == nullptr)
        return;
    ownerReleased = true;
    if (owner->companion == this)
        owner->SetCompanion(nullptr);
    owner->SetEnabled(true);
}

} // namespace KelUtility
