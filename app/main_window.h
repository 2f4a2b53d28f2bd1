#pragma once

// The program's main window: a toolkit form with the program's title and icon, at the
// top-left corner of the screen with 90 % of its width and height.

#include "toolkit/form.h"

#include <memory>
#include <string>

namespace MyApp {

std::unique_ptr<KelUtility::Form> CreateMainWindow(HINSTANCE instance, const std::string& title);

} // namespace MyApp
