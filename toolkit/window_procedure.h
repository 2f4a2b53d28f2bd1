#pragma once

// The one window procedure of the toolkit and the message loop. The procedure is the class
// procedure of the toolkit's own windows and the subclass procedure of every platform
// control an element creates; it turns each message into a call of the element's virtual
// event operations.

#include <windows.h>

namespace KelUtility {

class Form;
class PanelChildren;

// Process-wide state of the dispatch. busy and blockScreenSaver are switches the program
// may turn on; the others follow activation, clicks and scrolling.
struct DispatchState {
    HCURSOR waitCursor = nullptr;
    HCURSOR handCursor = nullptr;
    HWND mainWindow = nullptr; // the first form's window: its destruction ends the loop
    Form* activeForm = nullptr;
    PanelChildren* activePanel = nullptr;
    PanelChildren* lastPanel = nullptr; // mouse-wheel target when the focus is no panel
    bool busy = false;
    bool blockScreenSaver = false;
};

DispatchState& Dispatch();

// Forgets an element that is going away wherever the dispatch state refers to it.
void ForgetElement(const void* element);

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the message loop until the first form's window is destroyed. Keyboard navigation
// of a tool-dialog form goes through the dialog manager, and the form's accelerator keys
// become its commands (TranslateFormKey).
void Run(Form* form);

// True when the message was a key of the form's accelerator table, pressed in the form or
// one of its controls while the form is enabled, and was sent to it as a command.
bool TranslateFormKey(Form& form, MSG& message);

} // namespace KelUtility
