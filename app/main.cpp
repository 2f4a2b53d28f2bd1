#include "app/form_main.h"
#include "app/program_title.h"
#include "app/settings_store.h"
#include "toolkit/text_conversion.h"
#include "toolkit/window_procedure.h"

#include <memory>
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

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    auto mainWindow = std::make_unique<MyApp::FormMain>(instance, MyApp::ProgramTitle());
    mainWindow->RememberSettingsIn(MyApp::kSettingsKey);
    const std::string path = PathOnCommandLine();
    if (!path.empty())
        mainWindow->OpenOrImport(path);
    KelUtility::Run(mainWindow.get());
    mainWindow.reset();
    return 0;
}
