#pragma once

// Raises OnTick at a fixed interval. The platform timer belongs to the parent's window;
// the timer's own hidden window only reserves its id.

#include "toolkit/child.h"

namespace KelUtility {

class Timer : public Child {
public:
    using TickHandler = void (*)(GUIElement* timer);

    Timer(GUIElement* owner, int milliseconds);
    ~Timer() override;

    void Create() override;
    void Start();
    void Stop();

    int interval;
    bool running = false;
    TickHandler OnTick = nullptr;
};

} // namespace KelUtility
