#include "app/form_main.h"

namespace MyApp {

// The window's commands arrive with the dialogs and the exports; until then every command
// leaves the document as it is.

bool FormMain::ConfirmClose() {
    return true;
} // the exit question arrives with the commands

void FormMain::OnDialogDone(KelUtility::GUIElement*) {} // arrives with the dialogs

bool FormMain::FilterTextBoxChar(KelUtility::GUIElement*, int character) {
    return character != '\t' && character != '\r';
}

void FormMain::OnCommand(KelUtility::GUIElement*) {} // arrives with the commands

void FormMain::OnListDoubleClick(KelUtility::GUIElement*) {} // arrives with the dialogs

void FormMain::OnNumericLostFocus(KelUtility::GUIElement*) {} // arrives with the commands

void FormMain::OnNumericGotFocus(KelUtility::GUIElement*) {} // arrives with the commands

void FormMain::OnControlClick(KelUtility::GUIElement*) {} // arrives with the commands

void FormMain::ApplyMove(int) {} // arrives with the commands

} // namespace MyApp
