#pragma once

// The main window's title: the product name, one blank and the legal notice line.

#include <string>

namespace MyApp {

inline const char* const kProductName = "Kel Morvane";
inline const char* const kLegalNotice = "(c) 2026 - Tutti i diritti riservati";

inline std::string ProgramTitle() { return std::string(kProductName) + " " + kLegalNotice; }

} // namespace MyApp
