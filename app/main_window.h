#pragma once

// The program's top-level window in plain Win32, until the toolkit's forms take over.

#include <string>
#include <windows.h>

namespace MyApp {

// Opens the main window at the top-left corner of the screen with 90 % of its width and
// height, titled with the given narrow text. Null when the window cannot be made.
HWND CreateMainWindow(HINSTANCE instance, const std::string& title);

// Pumps messages until the main window is destroyed; returns the quit code.
int RunMessageLoop();

} // namespace MyApp
