#pragma once

// Elements over real platform controls for the toolkit's tests, before the toolkit has
// controls of its own, and helpers that run the messages a test has caused.

#include "toolkit/child.h"
#include "toolkit/command_element.h"
#include "toolkit/form.h"

#include <memory>
#include <string>

namespace KelTest {

// Dispatches every message waiting in this thread's queue.
void PumpMessages();

// The characters sent to an element one by one, as typed keys arrive.
void Type(KelUtility::GUIElement& element, const std::string& characters);

// A child over a real platform control of the given class, subclassed to the toolkit.
class TestControl : public KelUtility::Child {
public:
    TestControl(KelUtility::GUIElement* owner, const wchar_t* platformClass, DWORD style);
    void Create() override;

private:
    const wchar_t* m_platformClass;
    DWORD m_style;
};

// A control that reports clicks, tagged like the toolkit's list box or button.
class TestCommandControl : public TestControl, public KelUtility::CommandElement {
public:
    TestCommandControl(KelUtility::GUIElement* owner, const wchar_t* platformClass, DWORD style,
                       const char* tag);
};

// The colour of one pixel of a window as it shows on screen.
COLORREF PixelOf(HWND window, int x, int y);

// Whether an edit box shows all of its text, in its font, within the room its margins leave.
bool ShowsWholeText(HWND box);
// How many pixels of the window's client area, as it shows on screen, differ from the
// colour; -1 when the screen cannot be read.
int CountPixelsOtherThan(HWND window, COLORREF color);

// A created 400 x 300 form for a test's elements.
std::unique_ptr<KelUtility::Form> NewHostForm();

// An edit control that takes the focus in tab order.
TestControl* NewEdit(KelUtility::GUIElement* owner, int left, int top);

} // namespace KelTest
