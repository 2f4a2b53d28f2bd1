#include "app/form_main.h"
#include "app/program_title.h"
#include "toolkit/window_procedure.h"

#include <memory>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    auto mainWindow = std::make_unique<MyApp::FormMain>(instance, MyApp::ProgramTitle());
    KelUtility::Run(mainWindow.get());
    mainWindow.reset();
    return 0;
}
