#include "app/main_window.h"

namespace MyApp {
namespace {

constexpr double kScreenShare = 0.9;
constexpr int kProgramIcon = 1005;

} // namespace

std::unique_ptr<KelUtility::Form> CreateMainWindow(HINSTANCE instance, const std::string& title) {
    auto form = std::make_unique<KelUtility::Form>(instance);
    form->SetPosition(0, 0);
    form->SetSize(static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * kScreenShare),
                  static_cast<int>(GetSystemMetrics(SM_CYSCREEN) * kScreenShare));
    form->SetText(title);
    form->minimizeBox = true;
    form->resizable = true;
    form->Create();
    form->SetIcon(kProgramIcon);
    return form;
}

} // namespace MyApp
