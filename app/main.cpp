#include "app/main_window.h"
#include "app/program_title.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (MyApp::CreateMainWindow(instance, MyApp::ProgramTitle()) == nullptr)
        return 1;
    MyApp::RunMessageLoop();
    return 0;
}
