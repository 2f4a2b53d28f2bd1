#pragma once

// The program's names and addresses: the main window's title (the product name, one blank
// and the legal notice line), and what the About box and the help menu show.

#include "resources/version.h"
#include "toolkit/system_dialogs.h"

#include <string>

namespace MyApp {

inline const char* const kProductName = "Kel Morvane";
inline const char* const kVersion = KEL_VERSION_TEXT;
inline const char* const kLegalNotice = "(c) 2026 - Tutti i diritti riservati";
inline const char* const kRightsLine = "(c) 2026 Kel Morvane - Tutti i diritti riservati";
inline const char* const kLicenceNotice =
    "Kel Morvane e' concesso in licenza d'uso gratuita. Il programma viene fornito cosi' "
    "com'e', senza garanzie di alcun tipo: chi lo usa se ne assume ogni rischio.";
inline const char* const kHomePage = "http://www.kelmorvane.example";
// The manual, an HTML page beside the program.
inline const char* const kGuideName = "guida.html";

inline std::string ProgramTitle() {
    return std::string(kProductName) + " " + kLegalNotice;
}

inline std::string GuidePath() {
    return KelUtility::ProgramFolder() + "\\" + kGuideName;
}

} // namespace MyApp
