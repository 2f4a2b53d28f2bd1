#include "app/main_window.h"

#include "toolkit/text_conversion.h"

namespace MyApp {
namespace {

const wchar_t* const kClassName = L"KelMorvaneMain";
constexpr double kScreenShare = 0.9;

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

HWND CreateMainWindow(HINSTANCE instance, const std::string& title) {
    if (!RegisterMainClass(instance))
        return nullptr;
    const int width = static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * kScreenShare);
    const int height = static_cast<int>(GetSystemMetrics(SM_CYSCREEN) * kScreenShare);
    const std::wstring wideTitle = KelUtility::ToWide(title);
    HWND window = CreateWindowExW(0, kClassName, wideTitle.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                                  width, height, nullptr, nullptr, instance, nullptr);
    if (window != nullptr)
        ShowWindow(window, SW_SHOW);
    return window;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace MyApp
