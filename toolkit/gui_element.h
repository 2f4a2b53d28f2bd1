#pragma once

// The root of every window-backed object of the toolkit. An element keeps its properties
// in plain fields, so it can be configured completely before its window exists; Create
// turns the fields into a platform window, and setters called afterwards also update the
// live window. Platform messages reach the virtual event operations through the toolkit's
// one window procedure; each default operation does the toolkit's own work and then calls
// the matching handler field, when the application has set one.

#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

namespace KelUtility {

class Font;
class GUIElement;

using CreatedHandler = void (*)(GUIElement* element, HWND window);
using MouseHandler = void (*)(GUIElement* element, HWND window, int x, int y);
using KeyHandler = void (*)(GUIElement* element, int key);
using KeyPressHandler = bool (*)(GUIElement* element, int character);
using EventHandler = void (*)(GUIElement* element);
using ClosingHandler = bool (*)(GUIElement* element);
using PointHandler = void (*)(GUIElement* element, int x, int y);
// notches: wheel notches turned, away from the user positive, in fractions from a fine
// wheel or a touchpad; x, y in the element's client area.
using WheelHandler = void (*)(GUIElement* element, double notches, int x, int y);
// paths: the files dropped on the element, in UTF-8, in the order the shell gives them.
using FilesHandler = void (*)(GUIElement* element, const std::vector<std::string>& paths);
// dpi: the window's new DPI; suggested: where the system proposes the window goes, in
// screen coordinates, at that DPI.
using DpiHandler = void (*)(GUIElement* element, int dpi, const RECT& suggested);

class GUIElement {
public:
    explicit GUIElement(HINSTANCE instance);
    virtual ~GUIElement();
    GUIElement(const GUIElement&) = delete;
    GUIElement& operator=(const GUIElement&) = delete;

    // Virtual operations, in this order for every class.
    virtual void SetSize(int newWidth, int newHeight);                    // 0
    virtual void SetBackColor(COLORREF color);                            // 1
    virtual void SetEnabled(bool value);                                  // 2
    virtual void SetText(const std::wstring& value);                      // 3
    virtual void SetText(const std::string& value);                       // 4
    virtual void MouseUp(int mouseX, int mouseY);                         // 5
    virtual void MouseDown(int mouseX, int mouseY);                       // 6
    virtual void DoubleClick(int mouseX, int mouseY);                     // 7
    virtual void RightMouseUp(int mouseX, int mouseY);                    // 8
    virtual void RightMouseDown(int mouseX, int mouseY);                  // 9
    virtual void RightDoubleClick(int mouseX, int mouseY);                // 10
    virtual void KeyUp(int key);                                          // 11
    virtual void KeyDown(int key);                                        // 12
    virtual bool KeyPress(int character);                                 // 13
    virtual void MouseMove(int mouseX, int mouseY);                       // 14
    virtual void MouseHover();                                            // 15
    virtual void MouseLeave();                                            // 16
    virtual void Focus();                                                 // 17
    virtual void Moved();                                                 // 18
    virtual void Resized();                                               // 19
    virtual void Paint();                                                 // 20
    virtual HBRUSH ControlColor(HDC deviceContext);                       // 21
    virtual bool Closing();                                               // 22
    virtual void Destroyed();                                             // 23
    virtual void GotFocus();                                              // 24
    virtual void LostFocus();                                             // 25
    virtual void Activated();                                             // 26
    virtual void Deactivated();                                           // 27
    virtual void Created(HWND createdWindow);                             // 28
    virtual void Refresh();                                               // 29
    virtual bool IsWaitCursor();                                          // 30
    virtual bool IsHandCursor();                                          // 31
    virtual void SetWaitCursor(bool value);                               // 32
    virtual void SetHandCursor(bool value);                               // 33
    virtual void Shown();                                                 // 34
    virtual void Notify(int kind, std::vector<int> numbers,
                        std::vector<std::string> texts);                  // 35
    virtual void Create() = 0;                                            // 36

    // If not created, creates the window; then shows it without activating it.
    void Show();
    // The text, read back from the window when it exists.
    std::wstring GetText();
    std::string GetNarrowText();
    // The position, read back from the window when it exists: screen coordinates for a
    // top-level window, the parent's client coordinates for a child.
    POINT GetPosition();
    SIZE GetSize();
    void SetToolTip(const std::string& value);
    void AttachToolTip(HWND owner);
    void UpdateToolTip();
    // Before creation: where the window will be placed.
    void SetPosition(int left, int top);

    // Set on construction; identifies the element while it exists (see the registry).
    const std::uint64_t serial;

    bool visible = true;
    bool forwardKeyPress = false;
    bool destroyed = false;
    bool waitCursor = false;
    bool handCursor = false;
    HWND tooltipWindow = nullptr;
    HWND window = nullptr;
    HINSTANCE instance = nullptr;
    WNDCLASSW windowClass = {};
    Font* font = nullptr; // not owned; null: the platform's default font
    int width = 100;
    int height = 50;
    int x = 100;
    int y = 100;
    bool created = false;
    COLORREF backColor = static_cast<COLORREF>(-1); // -1: no colour of its own
    std::wstring text;
    std::wstring textAtFocus;
    bool hasBackColor = false;
    bool enabled = true;
    int id = 0;
    std::string typeName;
    std::string tooltip;
    GUIElement* parent = nullptr; // not owned
    WNDPROC previousWindowProcedure = nullptr;
    CreatedHandler OnCreated = nullptr;
    bool createdNotified = false;
    MouseHandler OnMouseUp = nullptr;
    MouseHandler OnMouseDown = nullptr;
    MouseHandler OnDoubleClick = nullptr;
    MouseHandler OnRightMouseUp = nullptr;
    MouseHandler OnRightMouseDown = nullptr;
    MouseHandler OnRightDoubleClick = nullptr;
    KeyHandler OnKeyUp = nullptr;
    KeyHandler OnKeyDown = nullptr;
    KeyPressHandler OnKeyPress = nullptr;
    EventHandler OnMove = nullptr;
    EventHandler OnResize = nullptr;
    EventHandler OnPaint = nullptr;
    ClosingHandler OnClosing = nullptr;
    EventHandler OnDestroyed = nullptr;
    EventHandler OnGotFocus = nullptr;
    EventHandler OnLostFocus = nullptr;
    EventHandler OnActivate = nullptr;
    EventHandler OnDeactivate = nullptr;
    EventHandler OnChange = nullptr;
    PointHandler OnMouseMove = nullptr;
    EventHandler OnMouseHover = nullptr;
    EventHandler OnMouseLeave = nullptr;
    // An element with a wheel handler takes the wheel while the pointer is over it, wherever
    // the focus is, as the wheel scrolls the window under the pointer on Windows 10 and later.
    WheelHandler OnMouseWheel = nullptr;
    // The middle button has no operation of its own; an element that wants it says so here.
    MouseHandler OnMiddleMouseDown = nullptr;
    MouseHandler OnMiddleMouseUp = nullptr;
    // An element with a files handler when it is created takes files dropped on its window.
    FilesHandler OnDropFiles = nullptr;
    // A top-level window moved to a monitor of another DPI, or the DPI changed under it.
    DpiHandler OnDpiChanged = nullptr;

protected:
    // The last steps of every Create: mark the element created, attach its tooltip and
    // hand the window its font.
    void FinishCreate();
    // Routes a platform control's messages through the toolkit's window procedure.
    void Subclass();
    // Takes the element's id from the counter and the window class for the prefix, style,
    // instance and icon, registering it the first time one is asked for.
    void RegisterOwnClass(const wchar_t* prefix, UINT style, HINSTANCE classInstance, HICON icon);

    std::wstring className;
};

} // namespace KelUtility
