#include "toolkit/window_procedure.h"

#include "toolkit/button.h"
#include "toolkit/child.h"
#include "toolkit/command_element.h"
#include "toolkit/drawing.h"
#include "toolkit/element_registry.h"
#include "toolkit/form.h"
#include "toolkit/gui_control.h"
#include "toolkit/numeric_box.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/panel_children.h"
#include "toolkit/sub_menu.h"
#include "toolkit/text_conversion.h"
#include "toolkit/timer.h"

#include <algorithm>
#include <cstdlib>
#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

namespace KelUtility {
namespace {

constexpr std::size_t kTooltipLimit = 2024;
constexpr COLORREF kDisabledFrame = 0x696969;
constexpr COLORREF kDisabledText = 0x969696;
constexpr COLORREF kWhite = 0xFFFFFF;

// Holds an element found for a message and tells whether it still exists: any handler
// called on the way may delete the element whose event it handles.
class Watched {
public:
    explicit Watched(GUIElement* element)
        : m_element(element), m_serial(element != nullptr ? element->serial : 0) {}

    GUIElement* Get() const {
        return m_element != nullptr && ElementRegistry::IsAlive(m_element, m_serial) ? m_element
                                                                                     : nullptr;
    }
    template <typename Kind> Kind* As() const { return dynamic_cast<Kind*>(Get()); }

private:
    GUIElement* m_element;
    std::uint64_t m_serial;
};

struct Message {
    Message(HWND handle, UINT code, WPARAM first, LPARAM second)
        : window(handle), message(code), wParam(first), lParam(second),
          element(ElementRegistry::ElementFromWindow(handle)),
          previous(element.Get() != nullptr ? element.Get()->previousWindowProcedure : nullptr) {}

    GUIElement* Element() const { return element.Get(); }
    int X() const { return GET_X_LPARAM(lParam); }
    int Y() const { return GET_Y_LPARAM(lParam); }

    // Default processing, by the procedure of the element found when the message arrived.
    LRESULT PassOn() const {
        return previous != nullptr ? CallWindowProcW(previous, window, message, wParam, lParam)
                                   : DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Watched element;
    WNDPROC previous;
};

void LoadCursors() {
    DispatchState& state = Dispatch();
    if (state.waitCursor == nullptr)
        state.waitCursor = LoadCursorW(nullptr, IDC_WAIT);
    if (state.handCursor == nullptr)
        state.handCursor = LoadCursorW(nullptr, IDC_HAND);
}

void CreateWindowMessage(const Message& m) {
    if (Form* form = m.element.As<Form>())
        form->Created(m.window);
}

void DestroyWindowMessage(const Message& m) {
    if (Form* form = m.element.As<Form>())
        form->UnregisterHotKeys();
    if (GUIElement* e = m.Element())
        e->Destroyed();
    if (m.window == Dispatch().mainWindow)
        PostQuitMessage(0);
}

bool CloseRefused(const Message& m) {
    GUIElement* e = m.Element();
    return e != nullptr && !e->Closing();
}

void ShowWindowMessage(const Message& m) {
    if (GUIElement* e = m.Element())
        e->Shown();
    if (GUIElement* e = m.Element())
        e->Resized();
}

// Puts the form's companion directly behind it. The companion may have been deleted
// while still set: it is checked against the serial stored with it before it is read.
// A companion that the form owns comes forward instead: an owned window never goes behind
// its owner.
void PlaceCompanion(Form& form) {
    GUIElement* companion = form.companion;
    if (companion == nullptr || !ElementRegistry::IsAlive(companion, form.companionSerial) ||
        !companion->created || form.window == nullptr)
        return;
    const bool owned = GetWindow(companion->window, GW_OWNER) == form.window;
    SetWindowPos(companion->window, owned ? HWND_TOP : form.window, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | (owned ? SWP_NOACTIVATE : 0));
}

void DeactivatePreviousOwners() {
    DispatchState& state = Dispatch();
    if (Form* previous = state.activeForm) {
        previous->UnregisterHotKeys();
        previous->Deactivated();
    }
    if (PanelChildren* panel = state.activePanel) {
        state.activePanel = nullptr;
        panel->Deactivated();
    }
}

// A window that is no longer active keeps no hold on the mouse: a button held down in it
// when the user switches away would otherwise stay held.
void ReleaseCaptureWithin(HWND form) {
    HWND holder = GetCapture();
    if (holder != nullptr && (holder == form || IsChild(form, holder)))
        ReleaseCapture();
}

// The control of a form that gets the focus is the one to have it back when the form is
// activated again: a dialog or a message box may have taken the focus away before the
// form was told it lost the activation.
void NoteFocus(HWND control) {
    HWND root = GetAncestor(control, GA_ROOT);
    if (root == control)
        return;
    if (Form* form = dynamic_cast<Form*>(ElementRegistry::ElementFromWindow(root)))
        form->focusToRestore = control;
}

// A minimised form keeps no focus; a control gone or disabled meanwhile gets none.
bool RestoreFocus(Form& form) {
    HWND control = form.focusToRestore;
    if (control == nullptr || IsIconic(form.window) || !IsChild(form.window, control) ||
        !IsWindowVisible(control) || !IsWindowEnabled(control))
        return false;
    SetFocus(control);
    return true;
}

// True when the form's focus went back to the control that had it.
bool ActivateForm(const Message& m, bool activated) {
    Dispatch().lastPanel = nullptr;
    Form* form = m.element.As<Form>();
    if (!activated) {
        form->UnregisterHotKeys();
        form->Deactivated();
        return false;
    }
    DeactivatePreviousOwners();
    if ((form = m.element.As<Form>()) == nullptr)
        return false;
    form->RegisterHotKeys();
    form->Activated();
    if ((form = m.element.As<Form>()) == nullptr)
        return false;
    Dispatch().activeForm = form;
    PlaceCompanion(*form);
    return RestoreFocus(*form);
}

void ActivatePanel(PanelChildren& panel, bool activated) {
    if (!activated) {
        panel.Deactivated();
        return;
    }
    Watched watched(&panel);
    if (PanelChildren* previous = Dispatch().activePanel)
        previous->Deactivated();
    if (watched.Get() == nullptr)
        return;
    panel.Activated();
    if (watched.Get() != nullptr)
        Dispatch().activePanel = &panel;
}

// Whether the window is being activated is read from the foreground window, not wParam;
// a form that is losing activation, whatever the foreground says, lets go of the mouse.
// True when the focus was restored, which the platform's default would take to the form.
bool ActivateMessage(const Message& m) {
    if (LOWORD(m.wParam) == WA_INACTIVE && m.element.As<Form>() != nullptr)
        ReleaseCaptureWithin(m.window);
    const bool activated = GetForegroundWindow() == m.window;
    if (m.element.As<Form>() != nullptr)
        return ActivateForm(m, activated);
    if (PanelChildren* panel = m.element.As<PanelChildren>())
        ActivatePanel(*panel, activated);
    return false;
}

// A hot key runs the entry of the form in front: the receiving form's own entry, or the
// first entry with the same keys of the form that is in front instead.
void HotKeyMessage(const Message& m) {
    Form* form = m.element.As<Form>();
    if (form == nullptr || m.wParam < 1 || m.wParam > form->hotKeys.size())
        return;
    const Form::HotKey entry = form->hotKeys[m.wParam - 1];
    HWND front = GetForegroundWindow();
    if (front == form->window) {
        if (entry.handler != nullptr)
            entry.handler(form, entry.modifiers, entry.key);
        return;
    }
    Form* other = dynamic_cast<Form*>(ElementRegistry::ElementFromWindow(front));
    if (other == nullptr)
        return;
    for (const Form::HotKey& candidate : other->hotKeys) {
        if (candidate.modifiers == entry.modifiers && candidate.key == entry.key) {
            if (candidate.handler != nullptr)
                candidate.handler(other, candidate.modifiers, candidate.key);
            return;
        }
    }
}

bool SetElementCursor(const Message& m) {
    if (LOWORD(m.lParam) != HTCLIENT)
        return false;
    const DispatchState& state = Dispatch();
    GUIElement* e = m.Element();
    HCURSOR cursor = nullptr;
    if (state.busy)
        cursor = state.waitCursor;
    else if (e != nullptr && e->IsHandCursor())
        cursor = state.handCursor;
    else if (e != nullptr && e->IsWaitCursor())
        cursor = state.waitCursor;
    if (cursor == nullptr)
        return false;
    SetCursor(cursor);
    return true;
}

// Tab walks the whole window the control sits in, through the panels that group controls,
// so that it reaches every control of the window in the order they are made.
void TabNavigation(const Message& m) {
    GUIElement* e = m.Element();
    HWND container = m.window;
    if (dynamic_cast<Child*>(e) != nullptr && e->parent != nullptr)
        container = GetAncestor(e->parent->window, GA_ROOT);
    const bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    HWND next = GetNextDlgTabItem(container, m.window, backwards);
    if (next == nullptr)
        return;
    if (GUIElement* target = ElementRegistry::ElementFromWindow(next))
        target->Focus();
}

void KeyDownMessage(const Message& m) {
    if (m.wParam == VK_TAB)
        TabNavigation(m);
    if (GUIElement* e = m.Element())
        e->KeyDown(static_cast<int>(m.wParam));
}

void KeyUpMessage(const Message& m) {
    if (GUIElement* e = m.Element())
        e->KeyUp(static_cast<int>(m.wParam));
}

// False when the character must not reach the control. A parent that forwards key
// presses sees every character, the swallowed ones too.
bool CharacterAccepted(const Message& m) {
    GUIElement* e = m.Element();
    if (e == nullptr)
        return true;
    const Watched parent(dynamic_cast<Child*>(e) != nullptr ? e->parent : nullptr);
    const int character = static_cast<int>(m.wParam);
    const bool accepted = e->KeyPress(character);
    GUIElement* forwardTo = parent.Get();
    if (forwardTo != nullptr && forwardTo->forwardKeyPress)
        forwardTo->KeyPress(character);
    return accepted;
}

void RaiseClick(GUIElement* element) {
    CommandElement* command = dynamic_cast<CommandElement*>(element);
    if (command != nullptr && command->OnClick != nullptr)
        command->OnClick(element);
}

// A checkable entry turns its check mark over before its click is raised.
void MenuCommand(int id) {
    SubMenu* entry = ElementRegistry::SubMenuFromId(id);
    if (entry == nullptr)
        return;
    if (entry->checkable) {
        entry->checked = !entry->IsChecked();
        if (entry->created)
            entry->ApplyCheck();
    }
    RaiseClick(entry);
}

void CommandMessage(const Message& m) {
    const int code = HIWORD(m.wParam);
    const int id = LOWORD(m.wParam);
    HWND source = reinterpret_cast<HWND>(m.lParam);
    if (source == nullptr) {
        // A menu entry or the accelerator key that stands for it.
        if (code == 0 || code == 1)
            MenuCommand(id);
        return;
    }
    GUIElement* sender = ElementRegistry::ElementFromWindow(source);
    if (sender == nullptr)
        return;
    if (dynamic_cast<CommandElement*>(sender) != nullptr) {
        // A list box reports every kind of notification; only a new selection is a click.
        if (sender->typeName != "listbox" || code == LBN_SELCHANGE)
            RaiseClick(sender);
        return;
    }
    if (sender->typeName == "toolbar")
        RaiseClick(ElementRegistry::ElementFromId(id));
}

// The position an arrow asks for, reported before the control moves. Widened, so that a
// step past the end of the 32-bit range cannot overflow.
void ArrowStep(const NMUPDOWN& change) {
    GUIElement* source = ElementRegistry::ElementFromWindow(change.hdr.hwndFrom);
    if (auto* box = dynamic_cast<NumericBox*>(source))
        box->ArrowStep(static_cast<long long>(change.iPos) + change.iDelta);
}

void NotifyElement(HWND from, int kind, std::vector<int> numbers) {
    if (GUIElement* target = ElementRegistry::ElementFromWindow(from))
        target->Notify(kind, std::move(numbers), {});
}

// The text must stay valid after the procedure returns: the tool tip reads it later.
void ToolTipText(NMTTDISPINFOW& info) {
    static std::wstring storage;
    GUIElement* item = ElementRegistry::ElementFromId(static_cast<int>(info.hdr.idFrom));
    if (item == nullptr || item->typeName != "toolbaritem" || item->tooltip.empty())
        return;
    storage = ToWide(item->tooltip.substr(0, kTooltipLimit));
    info.lpszText = &storage[0];
}

void NotifyMessage(const Message& m) {
    NMHDR* header = reinterpret_cast<NMHDR*>(m.lParam);
    if (header == nullptr)
        return;
    switch (header->code) {
    case HDN_ITEMCHANGEDW: {
        const NMHEADERW* change = reinterpret_cast<NMHEADERW*>(header);
        const int newWidth = change->pitem != nullptr ? change->pitem->cxy : 0;
        NotifyElement(header->hwndFrom, 1, {change->iItem, newWidth});
        break;
    }
    case HDN_ITEMCLICKW:
        NotifyElement(header->hwndFrom, 2, {reinterpret_cast<NMHEADERW*>(header)->iItem});
        break;
    case NM_RCLICK:
        NotifyElement(header->hwndFrom, 3, {});
        break;
    case UDN_DELTAPOS:
        ArrowStep(*reinterpret_cast<NMUPDOWN*>(header));
        break;
    case TTN_GETDISPINFOW:
        ToolTipText(*reinterpret_cast<NMTTDISPINFOW*>(header));
        break;
    }
}

// The caption of an owner-drawn button, centred vertically on the font the platform
// selected, after the button's picture.
void DrawButtonCaption(Button& button, Drawing& drawing, const DRAWITEMSTRUCT& item,
                       int pictureWidth, COLORREF textColor) {
    const RECT& r = item.rcItem;
    LOGFONTW selectedFont = {};
    GetObjectW(GetCurrentObject(item.hDC, OBJ_FONT), sizeof selectedFont, &selectedFont);
    // A negative height is the character height of the font: its size all the same.
    const int fontHeight = static_cast<int>(std::abs(selectedFont.lfHeight));
    const int offset = std::max(0, static_cast<int>(r.bottom - r.top - fontHeight) / 2);
    drawing.DrawText(r.left + pictureWidth, r.top + offset, r.right - r.left - pictureWidth,
                     r.bottom - r.top, button.GetNarrowText(), textColor, nullptr,
                     pictureWidth <= 0 ? Drawing::AlignCenter : Drawing::AlignLeft);
}

// A row of a list that draws its own, sent to the list's parent.
bool DrawOwnerRow(const Message& m) {
    auto* list = dynamic_cast<OnDemandListBox*>(ElementRegistry::ElementFromId(static_cast<int>(m.wParam)));
    const DRAWITEMSTRUCT* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam);
    if (list == nullptr || item == nullptr || item->CtlType != ODT_LISTBOX)
        return false;
    list->DrawRow(*item);
    return true;
}

bool DrawOwnerButton(const Message& m) {
    auto* button =
        dynamic_cast<Button*>(ElementRegistry::ElementFromId(static_cast<int>(m.wParam)));
    const DRAWITEMSTRUCT* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam);
    if (button == nullptr || item == nullptr || item->CtlType != ODT_BUTTON)
        return false;
    Drawing drawing(button, item->hDC);
    COLORREF textColor = GetTextColor(item->hDC);
    const RECT& r = item->rcItem;
    drawing.FillRect(r.left, r.top, r.right - r.left, r.bottom - r.top, GetBkColor(item->hDC));
    COLORREF frameColor = textColor;
    if (item->itemState & ODS_DISABLED) {
        frameColor = kDisabledFrame;
        textColor = kDisabledText;
    } else if (item->itemState & ODS_SELECTED) {
        frameColor = kWhite - textColor;
    }
    drawing.FrameRect(r.left, r.top, r.right - r.left, r.bottom - r.top, frameColor);
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const int pictureWidth = button->DrawPicture(drawing, r, selected);
    DrawButtonCaption(*button, drawing, *item, pictureWidth, textColor);
    if (item->itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(item->hDC, &focus);
    }
    drawing.End();
    return true;
}

SCROLLINFO ReadScrollInfo(HWND window, int bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(window, bar, &info);
    return info;
}

int RequestedPosition(const SCROLLINFO& info, int request, int bar) {
    const int page = static_cast<int>(info.nPage);
    switch (request) {
    case SB_LINEUP:
        return info.nPos - 1;
    case SB_LINEDOWN:
        return info.nPos + 1;
    case SB_PAGEUP:
        return info.nPos - page;
    case SB_PAGEDOWN:
        return info.nPos + page;
    case SB_THUMBTRACK:
        return info.nTrackPos;
    case SB_TOP:
        return bar == SB_VERT ? info.nMin : info.nPos;
    case SB_BOTTOM:
        return bar == SB_VERT ? info.nMax : info.nPos;
    default:
        return info.nPos;
    }
}

// Moves the bar, scrolls the window by what the platform allowed, and reports the change
// that was asked for, also when the platform clamped it.
void ApplyScroll(PanelChildren& panel, HWND window, int bar, int old, int requested) {
    SCROLLINFO position = {};
    position.cbSize = sizeof position;
    position.fMask = SIF_POS;
    position.nPos = requested;
    SetScrollInfo(window, bar, &position, TRUE);
    const int actual = ReadScrollInfo(window, bar).nPos;
    if (actual != old) {
        if (bar == SB_HORZ)
            ScrollWindow(window, old - actual, 0, nullptr, nullptr);
        else
            ScrollWindow(window, 0, old - actual, nullptr, nullptr);
        UpdateWindow(window);
    }
    PanelChildren::ScrollHandler handler = bar == SB_HORZ ? panel.OnHScroll : panel.OnVScroll;
    if (requested != old && handler != nullptr)
        handler(&panel, old - requested);
}

bool ScrollMessage(const Message& m, int bar) {
    const int request = LOWORD(m.wParam);
    GUIElement* target = m.Element();
    if (m.lParam != 0 && request == SB_ENDSCROLL)
        target = ElementRegistry::ElementFromWindow(reinterpret_cast<HWND>(m.lParam));
    PanelChildren* panel = dynamic_cast<PanelChildren*>(target);
    if (panel == nullptr || !(bar == SB_VERT ? panel->vScroll : panel->hScroll))
        return false;
    if (bar == SB_VERT)
        Dispatch().lastPanel = panel;
    const SCROLLINFO info = ReadScrollInfo(m.window, bar);
    ApplyScroll(*panel, m.window, bar, info.nPos, RequestedPosition(info, request, bar));
    return true;
}

// One page per message, whatever the wheel distance; no distance counts as downwards.
// The element the wheel turns: the one the message was sent to when it takes the wheel,
// else the one under the pointer that does; none when neither does.
GUIElement* WheelTarget(const Message& m, POINT& client) {
    const POINT screen = {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    GUIElement* e = m.Element();
    if (e == nullptr || e->OnMouseWheel == nullptr) {
        HWND under = WindowFromPoint(screen);
        e = under != nullptr ? ElementRegistry::ElementFromWindow(under) : nullptr;
    }
    if (e == nullptr || e->OnMouseWheel == nullptr)
        return nullptr;
    // Not while a dialog keeps the element's window disabled.
    if (!IsWindowEnabled(GetAncestor(e->window, GA_ROOT)))
        return nullptr;
    client = screen;
    ScreenToClient(e->window, &client);
    return e;
}

// The shell's drop handle is released here, whatever the element does with the paths.
void DropFilesMessage(const Message& m) {
    auto drop = reinterpret_cast<HDROP>(m.wParam);
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(ToNarrow(path));
    }
    DragFinish(drop);
    GUIElement* e = m.Element();
    if (e != nullptr && e->OnDropFiles != nullptr && !paths.empty())
        e->OnDropFiles(e, paths);
}

bool DpiChangedMessage(const Message& m) {
    GUIElement* e = m.Element();
    if (e == nullptr || e->OnDpiChanged == nullptr || m.lParam == 0)
        return false;
    e->OnDpiChanged(e, LOWORD(m.wParam), *reinterpret_cast<const RECT*>(m.lParam));
    return true;
}

bool WheelMessage(const Message& m) {
    POINT client = {};
    if (GUIElement* target = WheelTarget(m, client)) {
        target->OnMouseWheel(target,
                             static_cast<double>(GET_WHEEL_DELTA_WPARAM(m.wParam)) / WHEEL_DELTA,
                             client.x, client.y);
        return true;
    }
    GUIElement* e = m.Element();
    if (e == nullptr)
        return false;
    PanelChildren* panel = dynamic_cast<PanelChildren*>(e);
    if (panel == nullptr)
        panel = Dispatch().lastPanel;
    if (panel == nullptr || !panel->vScroll)
        return false;
    const SCROLLINFO info = ReadScrollInfo(panel->window, SB_VERT);
    const int page = static_cast<int>(info.nPage);
    const int requested =
        GET_WHEEL_DELTA_WPARAM(m.wParam) > 0 ? info.nPos - page : info.nPos + page;
    ApplyScroll(*panel, panel->window, SB_VERT, info.nPos, requested);
    return true;
}

HBRUSH ControlColorMessage(const Message& m) {
    GUIElement* e = m.Element();
    return e != nullptr ? e->ControlColor(reinterpret_cast<HDC>(m.wParam)) : nullptr;
}

// The platform tracks one window of the thread at a time, and the common controls arm it
// for themselves too; so the window under the pointer asks the platform which one it
// tracks, rather than trusting a mark of its own that a control, or a tracked window
// destroyed before its leave notice, would leave stale.
void MouseMoveMessage(const Message& m) {
    GUIElement* e = m.Element();
    if (e == nullptr)
        return;
    e->MouseMove(m.X(), m.Y());
    if ((e = m.Element()) == nullptr)
        return;
    TRACKMOUSEEVENT current = {};
    current.cbSize = sizeof current;
    current.dwFlags = TME_QUERY;
    if (TrackMouseEvent(&current) && current.hwndTrack == e->window &&
        (current.dwFlags & TME_LEAVE) != 0)
        return;
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = e->window;
    track.dwHoverTime = HOVER_DEFAULT;
    TrackMouseEvent(&track);
}

void MouseDownMessage(const Message& m) {
    if (GUIElement* e = m.Element())
        e->MouseDown(m.X(), m.Y());
    Dispatch().lastPanel = m.element.As<PanelChildren>();
}

void MouseLeaveMessage(const Message& m) {
    if (GUIElement* e = m.Element())
        e->MouseLeave();
}

// The background colour of a toolkit window, painted without a brush: the window classes
// are shared, so the colour cannot be the class's.
bool EraseWithBackColor(const Message& m) {
    GUIElement* e = m.Element();
    if (e == nullptr || e->backColor == static_cast<COLORREF>(-1) ||
        e->previousWindowProcedure != nullptr ||
        (m.element.As<Form>() == nullptr && m.element.As<PanelChildren>() == nullptr))
        return false;
    HDC dc = reinterpret_cast<HDC>(m.wParam);
    RECT client;
    GetClientRect(m.window, &client);
    const COLORREF previous = SetBkColor(dc, e->backColor);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, L"", 0, nullptr);
    SetBkColor(dc, previous);
    return true;
}

bool MinimumTrackSize(const Message& m) {
    Form* form = m.element.As<Form>();
    auto* info = reinterpret_cast<MINMAXINFO*>(m.lParam);
    if (form == nullptr || info == nullptr ||
        (form->minimumTrackWidth <= 0 && form->minimumTrackHeight <= 0))
        return false;
    m.PassOn();
    if (form->minimumTrackWidth > 0)
        info->ptMinTrackSize.x = form->minimumTrackWidth;
    if (form->minimumTrackHeight > 0)
        info->ptMinTrackSize.y = form->minimumTrackHeight;
    return true;
}

// An arrow of a direction pad that loses the mouse is let go without a move.
void CaptureLost(const Message& m) {
    GUIElement* e = m.Element();
    if (e == nullptr || reinterpret_cast<HWND>(m.lParam) == m.window)
        return;
    if (auto* pad = dynamic_cast<GUIControl*>(e->parent))
        pad->CaptureLost(e);
}

template <typename Operation> void WithElement(const Message& m, Operation operation) {
    if (GUIElement* e = m.Element())
        operation(*e);
}

void FocusMessage(const Message& m) {
    NoteFocus(m.window);
    WithElement(m, [](GUIElement& e) { e.GotFocus(); });
}

void TimerMessage(const Message& m) {
    auto* timer = dynamic_cast<Timer*>(ElementRegistry::ElementFromId(static_cast<int>(m.wParam)));
    if (timer != nullptr && timer->OnTick != nullptr)
        timer->OnTick(timer);
}

void MiddleButtonMessage(const Message& m, MouseHandler GUIElement::*handler) {
    GUIElement* e = m.Element();
    if (e != nullptr && e->*handler != nullptr)
        (e->*handler)(e, m.window, m.X(), m.Y());
}

bool ScreenSaverBlocked(const Message& m) {
    const WPARAM command = m.wParam & 0xFFF0;
    return Dispatch().blockScreenSaver &&
           (command == SC_SCREENSAVE || command == SC_MONITORPOWER);
}

} // namespace

DispatchState& Dispatch() {
    static DispatchState state;
    return state;
}

void ForgetElement(const void* element) {
    DispatchState& state = Dispatch();
    if (state.activeForm == element)
        state.activeForm = nullptr;
    if (state.activePanel == element)
        state.activePanel = nullptr;
    if (state.lastPanel == element)
        state.lastPanel = nullptr;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Message m(window, message, wParam, lParam);
    LoadCursors();
    const int x = m.X();
    const int y = m.Y();
    switch (message) {
    case WM_CREATE: CreateWindowMessage(m); break;
    case WM_DESTROY: DestroyWindowMessage(m); break;
    case WM_MOVE: WithElement(m, [](GUIElement& e) { e.Moved(); }); break;
    case WM_SIZE: WithElement(m, [](GUIElement& e) { e.Resized(); }); break;
    case WM_ACTIVATE: if (ActivateMessage(m)) return 0; break;
    case WM_SETFOCUS: FocusMessage(m); break;
    case WM_KILLFOCUS: WithElement(m, [](GUIElement& e) { e.LostFocus(); }); break;
    case WM_PAINT: WithElement(m, [](GUIElement& e) { e.Paint(); }); break;
    case WM_CLOSE: if (CloseRefused(m)) return 1; break;
    case WM_SHOWWINDOW: ShowWindowMessage(m); break;
    case WM_SETCURSOR: if (SetElementCursor(m)) return 1; break;
    case WM_DRAWITEM: if (DrawOwnerButton(m) || DrawOwnerRow(m)) return 1; break;
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
        if (auto* list = m.element.As<OnDemandListBox>()) return list->AnswerTextMessage(message, wParam, lParam);
        break;
    case WM_NOTIFY: NotifyMessage(m); break;
    case WM_KEYDOWN: KeyDownMessage(m); break;
    case WM_KEYUP: KeyUpMessage(m); break;
    case WM_CHAR: if (!CharacterAccepted(m)) return 1; break;
    case WM_COMMAND: CommandMessage(m); break;
    case WM_SYSCOMMAND: if (ScreenSaverBlocked(m)) return -1; break;
    case WM_TIMER: TimerMessage(m); break;
    case WM_HSCROLL: if (ScrollMessage(m, SB_HORZ)) return 0; break;
    case WM_VSCROLL: if (ScrollMessage(m, SB_VERT)) return 0; break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = ControlColorMessage(m)) return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_MOUSEMOVE: MouseMoveMessage(m); break;
    case WM_LBUTTONDOWN: MouseDownMessage(m); break;
    case WM_LBUTTONUP: WithElement(m, [=](GUIElement& e) { e.MouseUp(x, y); }); break;
    case WM_LBUTTONDBLCLK: WithElement(m, [=](GUIElement& e) { e.DoubleClick(x, y); }); break;
    case WM_RBUTTONDOWN: WithElement(m, [=](GUIElement& e) { e.RightMouseDown(x, y); }); break;
    case WM_RBUTTONUP: WithElement(m, [=](GUIElement& e) { e.RightMouseUp(x, y); }); break;
    case WM_MBUTTONDOWN: MiddleButtonMessage(m, &GUIElement::OnMiddleMouseDown); break;
    case WM_MBUTTONUP: MiddleButtonMessage(m, &GUIElement::OnMiddleMouseUp); break;
    case WM_RBUTTONDBLCLK: WithElement(m, [=](GUIElement& e) { e.RightDoubleClick(x, y); }); break;
    case WM_MOUSEWHEEL: if (WheelMessage(m)) return 0; break;
    case WM_DROPFILES: DropFilesMessage(m); return 0;
    case WM_DPICHANGED: if (DpiChangedMessage(m)) return 0; break;
    case WM_MOUSEHOVER: WithElement(m, [](GUIElement& e) { e.MouseHover(); }); break;
    case WM_MOUSELEAVE: MouseLeaveMessage(m); break;
    case WM_HOTKEY: HotKeyMessage(m); break;
    case WM_ERASEBKGND: if (EraseWithBackColor(m)) return 1; break;
    case WM_GETMINMAXINFO: if (MinimumTrackSize(m)) return 0; break;
    case WM_CAPTURECHANGED: CaptureLost(m); break;
    }
    return m.PassOn();
}

void Run(Form* form) {
    const Watched watched(form);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) != 0) {
        Form* dialog = watched.As<Form>();
        if (dialog != nullptr && dialog->toolDialog && IsDialogMessageW(dialog->window, &message))
            continue;
        if (dialog != nullptr && TranslateFormKey(*dialog, message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool TranslateFormKey(Form& form, MSG& message) {
    return form.accelerators != nullptr && form.created && IsWindowEnabled(form.window) &&
           (message.hwnd == form.window || IsChild(form.window, message.hwnd)) &&
           TranslateAcceleratorW(form.window, form.accelerators, &message) != 0;
}

} // namespace KelUtility
