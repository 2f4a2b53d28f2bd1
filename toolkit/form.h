#pragma once

// A top-level window: the main window and every dialog derive from it. Forms share window
// classes whose procedure is the toolkit's. A form given an owner is owned by the owner's
// window, so it stays in front of it.

#include "toolkit/gui_element.h"

#include <cstdint>
#include <vector>

namespace KelUtility {

class Form : public GUIElement {
public:
    using HotKeyHandler = void (*)(GUIElement* form, int modifiers, int key);

    struct HotKey {
        int modifiers; // the modifier bits RegisterHotKey takes
        int key;       // virtual-key code
        HotKeyHandler handler;
    };

    enum class Kind { Plain, ToolDialog };

    explicit Form(HINSTANCE instance, Kind kind = Kind::Plain, Form* ownerForm = nullptr);
    ~Form() override;

    void Create() override;
    // No behaviour of its own; a place for forms to hook into.
    virtual void FormExtension();

    // Sizes the window so that its client area gets the size given.
    void SetClientSize(int clientWidth, int clientHeight);
    void CenterOnScreen();
    void SetIcon(int resourceId);
    // The entry's position (from 1) is its hot-key id; keys are registered while the
    // form is active.
    void AddHotKey(int modifiers, int key, HotKeyHandler handler);
    void RegisterHotKeys();
    void UnregisterHotKeys();
    // Stores the element with its serial, so that a companion deleted while still set is
    // recognised as gone without being read; null clears both.
    void SetCompanion(GUIElement* element);

    GUIElement* companion = nullptr; // placed right behind the form when it is activated
    std::uint64_t companionSerial = 0;
    bool topmost = true; // a tool dialog is also always on top
    bool minimizeBox = true;
    bool resizable = true;
    bool captioned = true;
    bool toolDialog = false;
    bool modalFrame = false;
    std::vector<HotKey> hotKeys;
    HICON iconHandle = nullptr; // owned
    int iconId = 0;             // 0: the platform's application icon
    // Not owned. Its window, when it exists at Create, owns this form's window.
    Form* owner = nullptr;
    // Owned. Keys the message loop turns into commands of this form's menu wherever its
    // focus is, while the form is enabled (no dialog of its own is open).
    HACCEL accelerators = nullptr;
    // The smallest size the user can drag the window to; 0 leaves the platform's.
    int minimumTrackWidth = 0;
    int minimumTrackHeight = 0;
    // The control of the form that last had the focus; it gets the focus back when the form
    // is activated again, as in a dialog, instead of the form itself.
    HWND focusToRestore = nullptr;

private:
    // The window that owns this form's: the owner's, once it exists.
    HWND OwnerWindow() const;
    DWORD Style() const;
    DWORD ExtendedStyle() const;
};

} // namespace KelUtility
