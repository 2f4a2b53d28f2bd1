#include "app/form_main.h"
#include "app/program_title.h"
#include "app/recovery_folder.h"
#include "app/settings_store.h"
#include "toolkit/text_conversion.h"
#include "toolkit/window_procedure.h"

#include <memory>
#include <objbase.h>
#include <shellapi.h>

namespace {

// The file the program was handed, "" for none: the first argument of the wide command
// line, so that quotes, blanks and any script in the name survive.
std::string PathOnCommandLine() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string path;
    if (arguments != nullptr && count > 1)
        path = KelUtility::ToNarrow(arguments[1]);
    LocalFree(arguments);
    return path;
}

// How a shortcut asks the window to show, when it asks for more than a plain window.
bool AsksForAState(int show) {
    return show == SW_SHOWMAXIMIZED || show == SW_SHOWMINIMIZED || show == SW_MINIMIZE ||
           show == SW_SHOWMINNOACTIVE;
}

} // namespace

// The shell's services (opening the manual, the file dialogs) want COM on this thread.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    auto mainWindow = std::make_unique<MyApp::FormMain>(instance, MyApp::ProgramTitle());
    mainWindow->RememberSettingsIn(MyApp::kSettingsKey);
    if (AsksForAState(show))
        ShowWindow(mainWindow->window, show);
    // The work an editor left unsaved is offered before anything is opened.
    mainWindow->KeepRecoveryCopies(MyApp::RecoveryFolder::UserFolder());
    // Work brought back is not given up for the file without the save question.
    const std::string path = PathOnCommandLine();
    if (!path.empty() && mainWindow->SaveProject(false))
        mainWindow->OpenOrImport(path);
    KelUtility::Run(mainWindow.get());
    mainWindow.reset();
    CoUninitialize();
    return 0;
}
