#include "toolkit/timer.h"

namespace KelUtility {

Timer::Timer(GUIElement* owner, int milliseconds) : Child(owner), interval(milliseconds) {
    typeName = "timer";
    text = L"timer";
    width = 50;
    height = 22;
}

Timer::~Timer() { Stop(); }

void Timer::Create() {
    if (created)
        return;
    CreateControlWindow(L"static", WS_CHILD | (enabled ? 0 : WS_DISABLED), 0);
    created = true;
}

void Timer::Start() {
    if (running)
        return;
    Create();
    SetTimer(parent->window, static_cast<UINT_PTR>(id), static_cast<UINT>(interval), nullptr);
    running = true;
}

void Timer::Stop() {
    if (!running)
        return;
    KillTimer(parent->window, static_cast<UINT_PTR>(id));
    running = false;
}

} // namespace KelUtility
