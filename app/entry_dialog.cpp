#include "app/entry_dialog.h"

#include "toolkit/button.h"
#include "toolkit/check_button.h"
#include "toolkit/currency_box.h"
#include "toolkit/dpi.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_box.h"

#include <algorithm>
#include <cwchar>

using namespace KelUtility;

namespace MyApp {
namespace {

constexpr int kProgramIcon = 1005;
constexpr int kClientWidth = 400;
constexpr int kClientHeight = 150;
constexpr int kOwnerOffset = 50;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 25;
constexpr int kRowHeight = 22;
constexpr int kFontHeight = 16;

EntryDialog* DialogOf(GUIElement* element) {
    for (GUIElement* e = element; e != nullptr; e = e->parent) {
        if (auto* dialog = dynamic_cast<EntryDialog*>(e))
            return dialog;
    }
    return nullptr;
}

void RouteCreated(GUIElement* form, HWND) {
    if (EntryDialog* dialog = DialogOf(form))
        dialog->CreateControls();
}

bool RouteClosing(GUIElement* form) {
    EntryDialog* dialog = DialogOf(form);
    return dialog == nullptr || dialog->FormClosing();
}

void RouteResized(GUIElement* form) {
    if (EntryDialog* dialog = DialogOf(form))
        dialog->FormResized();
}

void RouteKeyDown(GUIElement* form, int key) {
    if (EntryDialog* dialog = DialogOf(form))
        dialog->FormKeyDown(key);
}

void RouteKeyUp(GUIElement* form, int key) {
    if (EntryDialog* dialog = DialogOf(form))
        dialog->FormKeyUp(key);
}

void RouteMouseUp(GUIElement* form, HWND, int x, int y) {
    if (EntryDialog* dialog = DialogOf(form))
        dialog->FormMouseUp(x, y);
}

void RouteMouseDown(GUIElement* form, HWND, int x, int y) {
    if (EntryDialog* dialog = DialogOf(form))
        dialog->FormMouseDown(x, y);
}

} // namespace

// A box's characters go to the dialog's box filter; the form's own to its key handling.
bool EntryDialog::KeyPressed(GUIElement* element, int character) {
    EntryDialog* dialog = DialogOf(element);
    if (dialog == nullptr)
        return true;
    if (dynamic_cast<TextBox*>(element) != nullptr)
        return dialog->ChildKeyPress(element, character);
    return dialog->FormKeyPress(character);
}

void EntryDialog::ButtonClicked(GUIElement* button) {
    if (EntryDialog* dialog = DialogOf(button))
        dialog->ChildClick(button);
}

void EntryDialog::BoxGotFocus(GUIElement* box) {
    if (EntryDialog* dialog = DialogOf(box))
        dialog->ChildGotFocus(box);
}

void EntryDialog::BoxLostFocus(GUIElement* box) {
    if (EntryDialog* dialog = DialogOf(box))
        dialog->ChildLostFocus(box);
}

EntryDialog::EntryDialog(Form* ownerForm, const std::string& title, int firstPosition)
    : Form(ownerForm->instance, Kind::ToolDialog, ownerForm), position(firstPosition),
      m_font("Lucida Console", kFontHeight), m_dpi(WindowDpi(ownerForm->window)),
      m_clientWidth(Px(kClientWidth)), m_clientHeight(Px(kClientHeight)) {
    m_font.height = Px(kFontHeight);
    topmost = false;
    minimizeBox = true;
    resizable = false;
    forwardKeyPress = true;
    m_font.bold = true;
    font = &m_font;
    SetSize(m_clientWidth, Px(kClientHeight));
    const POINT corner = ownerForm->GetPosition();
    SetPosition(corner.x + Px(kOwnerOffset), corner.y + Px(kOwnerOffset));
    SetText(title);
    OnCreated = RouteCreated;
    OnClosing = RouteClosing;
    OnResize = RouteResized;
    OnKeyPress = KeyPressed;
    OnKeyDown = RouteKeyDown;
    OnKeyUp = RouteKeyUp;
    OnMouseUp = RouteMouseUp;
    OnMouseDown = RouteMouseDown;
}

// The window goes before the controls and the font it uses. A dialog still open when it
// is deleted gives its owner back as any close does.
EntryDialog::~EntryDialog() {
    if (created && !destroyed)
        SendMessageW(window, WM_CLOSE, 0, 0);
    created = false;
}

void EntryDialog::Open() {
    Create();
    SetIcon(kProgramIcon);
    SetClientSize(m_clientWidth, m_clientHeight);
    owner->SetEnabled(false);
    owner->SetCompanion(this);
}

int EntryDialog::TextWidth(const wchar_t* text) {
    return m_font.TextWidth(text);
}

int EntryDialog::Px(int length) const {
    return Scaled(length, m_dpi);
}

int EntryDialog::ScrollBarWidth() const {
    return SystemMetric(SM_CXVSCROLL, m_dpi);
}

void EntryDialog::SetClientWidth(int clientWidth) {
    m_clientWidth = std::max(clientWidth, Px(kClientWidth));
    SetSize(m_clientWidth, m_clientHeight);
}

void EntryDialog::SetClientHeight(int clientHeight) {
    m_clientHeight = std::max(clientHeight, Px(kClientHeight));
    SetSize(m_clientWidth, m_clientHeight);
}

void EntryDialog::MakeButtons() {
    const auto make = [&](const char* caption, int right) {
        auto button = std::make_unique<Button>(this, caption);
        button->font = font;
        button->SetSize(Px(kButtonWidth), Px(kButtonHeight));
        button->SetPosition(width - Px(right), height - Px(35));
        button->OnClick = ButtonClicked;
        button->Create();
        return button;
    };
    // Made left to right, so that Tab reaches OK before Annulla, as they stand.
    okButton = make("OK", 220);
    cancelButton = make("Annulla", 110);
}

std::unique_ptr<CheckButton> EntryDialog::MakeOption(const char* caption, int left, int top,
                                                     int optionWidth, bool firstOfGroup) {
    auto option = std::make_unique<CheckButton>(this, caption, CheckButton::Kind::Option);
    option->font = font;
    option->firstOfGroup = firstOfGroup;
    option->SetPosition(left, top);
    option->SetSize(optionWidth, Px(kRowHeight));
    option->OnClick = ButtonClicked;
    option->Create();
    return option;
}

std::unique_ptr<CurrencyBox> EntryDialog::MakeNumberBox(int left, int top, int boxWidth,
                                                        double value, bool negatives) {
    auto box = std::make_unique<CurrencyBox>(this, value);
    box->font = font;
    box->SetPosition(left, top);
    box->SetSize(boxWidth, Px(kRowHeight));
    box->allowNegative = negatives;
    box->Create();
    return box;
}

bool EntryDialog::WarnIfEmpty(CurrencyBox& box, const std::string& name) {
    const std::string text = box.GetNarrowText();
    if (std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return true;
    ShowWarning(this, "Manca il valore di " + name + ": scrivere un numero.", "Attenzione");
    box.Focus();
    return false;
}

void EntryDialog::Close() {
    SendMessageW(window, WM_CLOSE, 0, 0);
    created = false;
}

bool EntryDialog::FormClosing() {
    owner->SetCompanion(nullptr);
    owner->SetEnabled(true);
    return true;
}

void EntryDialog::FormResized() {}

bool EntryDialog::FormKeyPress(int character) {
    if (character == VK_ESCAPE)
        Close();
    else if (character == VK_RETURN)
        ChildClick(okButton.get());
    return true;
}

bool EntryDialog::ChildKeyPress(GUIElement*, int character) {
    return character != VK_TAB;
}

void EntryDialog::FormKeyDown(int) {}

void EntryDialog::FormKeyUp(int) {}

void EntryDialog::FormMouseUp(int, int) {}

void EntryDialog::FormMouseDown(int, int) {}

void EntryDialog::ChildLostFocus(GUIElement*) {}

void EntryDialog::ChildGotFocus(GUIElement* element) {
    if (dynamic_cast<TextBox*>(element) != nullptr && element->created)
        SendMessageW(element->window, EM_SETSEL, 0, -1);
}

void EntryDialog::ChildClick(GUIElement* element) {
    if (element == cancelButton.get()) {
        result = kCancelled;
        Close();
    } else if (element == okButton.get()) {
        if (!TakeValues())
            return;
        result = kConfirmed;
        Close();
    }
}

} // namespace MyApp
