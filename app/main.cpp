#include "app/main_window.h"
#include "app/program_title.h"
#include "toolkit/window_procedure.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::unique_ptr<KelUtility::Form> mainWindow =
        MyApp::CreateMainWindow(instance, MyApp::ProgramTitle());
    KelUtility::Run(mainWindow.get());
    return 0;
}
